// Skin images as the system draws them: a TSkinBitmap's rows are laid
// out as a top-down 24-bit DIB, so they become a DIB section as they are,
// and a bitmap's pixels come back the same way.
#pragma once

#include <windows.h>

#include "runtime/gui/handles.h"
#include "skin/definition/skin_bitmap.h"

namespace skin {

// A 24-bit DIB section of the image; no bitmap for the empty image.
gui::UniqueBitmap ToDib(const TSkinBitmap& image);
// The pixels of a bitmap (of any format); the empty image when there is
// no bitmap or the system cannot read it.
TSkinBitmap FromBitmap(HBITMAP bitmap);

}  // namespace skin
