// The skin engine's own window messages. Their numbers are fixed: any
// window of the process may be asked, and skinned windows answer them.
#pragma once

#include <windows.h>

namespace skin {

// Posted by a frame skinner to its window: repaint the frame.
inline constexpr UINT SKINMSG_REFRESH = 0x3502;
// Posted to a window right after its frame skinner was attached (wParam 0,
// lParam 1000): the skinner lays out the window and paints.
inline constexpr UINT SKINMSG_START = 0x3503;
// Sent before a window is skinned; a window that has a skinner answers 1.
inline constexpr UINT SKINMSG_QUERY = 0x3504;
// To a painted control: wParam > 0 lets the painter paint, 0 stops it.
inline constexpr UINT SKINMSG_ENABLE = 0x3506;
// Framework level: the skin's colours are to be applied again.
inline constexpr UINT SKINMSG_RECOLOR = 0x3401;
// Posted for a caption button whose action the skinner does not know
// itself (wParam the action, lParam 0).
inline constexpr UINT SKINMSG_BUTTON = 0x3514;

}  // namespace skin
