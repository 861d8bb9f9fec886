// One frame of a skin image (frames side by side) drawn whole.
#pragma once

#include <windows.h>

namespace skin {

// Frame `frame` of `count` stretched over the destination; with
// transparent, magenta pixels leave the DC as it was. The image must not
// be selected into a DC of the caller.
void DrawFrameStretched(HDC dc, const RECT& dest, HBITMAP image, bool transparent, int count, int frame);

// Frame `frame` of `count` unscaled, centred on the destination: its
// top-left is the destination's plus half the free width and height,
// truncated toward zero (a frame larger than the destination overhangs
// it on both sides and is not clipped).
void DrawFrameCentred(HDC dc, const RECT& dest, HBITMAP image, bool transparent, int count, int frame);

}  // namespace skin
