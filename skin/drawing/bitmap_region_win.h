// A window region made of the pixels of a bitmap that are not the key
// colour.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/gui/handles.h"

namespace skin {

// A pixel is left out when each of its channels lies between the key's
// value and that value plus the channel's tolerance (at most 255). The
// region holds every other pixel, moved by (xOffset, yOffset); it is
// empty (but a region) when no pixel is kept or the bitmap is empty.
// Raises EOutOfResources when the system refuses a bitmap or region. The
// bitmap must not be selected into a DC of the caller.
gui::UniqueRegion BitmapToRegion(HBITMAP bitmap, int xOffset, int yOffset, uint8_t toleranceBlue,
                                 uint8_t toleranceGreen, uint8_t toleranceRed, COLORREF key);

}  // namespace skin
