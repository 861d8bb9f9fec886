// Repeating one piece of an image over an area.
#pragma once

#include <windows.h>

namespace skin {

// Cuts `source` out of the image once and draws it unscaled at every
// step of its size from the destination's top-left while the step starts
// left of the right and above the bottom: the last row and column run
// past the destination (whoever calls covers or clips them). An empty
// source or destination draws nothing. The image must not be selected
// into a DC of the caller.
void Tile(HDC canvas, const RECT& dest, HBITMAP image, const RECT& source);
// The same from an image already selected into a DC.
void Tile(HDC canvas, const RECT& dest, HDC imageDc, const RECT& source);

}  // namespace skin
