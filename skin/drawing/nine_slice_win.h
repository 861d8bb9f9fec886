// Nine-part drawing of a skin frame: the corners keep their size, the
// edges stretch along one axis, the centre stretches or is tiled.
#pragma once

#include <windows.h>

#include "runtime/gui/handles.h"
#include "skin/drawing/frame_geometry_win.h"

namespace skin {

// Frame `frame` of an image of `count` frames (side by side, or stacked)
// drawn into a new 24-bit bitmap of the destination's size. A destination
// narrower than Left + Right has no side parts (the frame stretches over
// the whole width), one lower than Top + Bottom no top and bottom parts.
// An empty destination gives no bitmap. The image must not be selected
// into a DC of the caller.
gui::UniqueBitmap NineSlice(const RECT& dest, HBITMAP image, const TSliceMargins& margins, bool stacked,
                            bool tileCentre, int count, int frame);

// The same drawn at dest on a DC: opaque, or with the key colour
// (magenta) leaving the DC as it was.
void DrawNineSlice(HDC dc, const RECT& dest, HBITMAP image, const TSliceMargins& margins, bool stacked,
                   bool tileCentre, int count, int frame, bool transparent);

// Only the eight outer parts, stretched straight onto the DC; the centre
// of the destination is left as it is.
void DrawNineSliceFrame(HDC dc, const RECT& dest, HBITMAP image, const TSliceMargins& margins, bool stacked,
                        int count, int frame);

}  // namespace skin
