// Where one state frame lies in a multi-frame skin image, and the fixed
// border widths that nine- and three-part drawing keeps unscaled.
#pragma once

#include <windows.h>

namespace skin {

// The colour skin images leave out: magenta.
inline constexpr COLORREF kSkinKeyColour = RGB(255, 0, 255);

// Widths of the left and right borders, heights of the top and bottom
// borders of a frame.
struct TSliceMargins {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// A frame's rectangle inside its image.
struct TFrameRect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

// Width and height of a bitmap (0 x 0 for no bitmap).
SIZE BitmapSize(HBITMAP bitmap);

// Frame `frame` (1-based) of an image holding `count` equal frames side by
// side or, with stacked, one above the other.
TFrameRect SkinFrame(HBITMAP image, int count, int frame, bool stacked);
TFrameRect SkinFrame(SIZE imageSize, int count, int frame, bool stacked);

inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }
// Right of left or bottom above top: nothing is drawn there.
inline bool IsEmptyDestination(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace skin
