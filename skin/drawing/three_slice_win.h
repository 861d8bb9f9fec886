// Three-part drawing of a skin frame along its width.
#pragma once

#include <windows.h>

namespace skin {

// Frame `frame` of an image of `count` frames (side by side, or stacked)
// drawn over the destination: the frame's left part (leftWidth wide) at
// the left, its right part (rightWidth wide) at the right, its middle
// repeated in between, each part keeping its width and stretched to the
// destination's height. With transparent, magenta pixels leave the
// canvas as it was. A frame whose middle has no width (leftWidth +
// rightWidth reach the frame width) has nothing to repeat: the area
// between the two parts is magenta, so it shows the canvas when drawn
// transparent. The image must not be selected into a DC of the caller.
void ThreeSlice(HDC canvas, const RECT& dest, HBITMAP image, bool stacked, bool transparent, int count, int frame,
                int leftWidth, int rightWidth);

}  // namespace skin
