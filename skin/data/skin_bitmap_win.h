// Skin images as the system draws them: a TSkinBitmap's rows are laid
// out as a top-down 24-bit DIB, so they become a DIB section as they are,
// and a bitmap's pixels come back the same way.
#pragma once

#include <windows.h>

#include "runtime/gui/handles.h"
#include "skin/definition/skin_bitmap.h"
#include "skin/definition/skin_objects.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/frame_geometry_win.h"

namespace skin {

// A 24-bit DIB section of the image; no bitmap for the empty image.
gui::UniqueBitmap ToDib(const TSkinBitmap& image);
// The pixels of a bitmap (of any format); the empty image when there is
// no bitmap or the system cannot read it.
TSkinBitmap FromBitmap(HBITMAP bitmap);

// A skin object's edges as the slicing primitives take them.
inline TSliceMargins SliceMargins(const TSkinMargins& m) { return {m.Left, m.Top, m.Right, m.Bottom}; }

}  // namespace skin
