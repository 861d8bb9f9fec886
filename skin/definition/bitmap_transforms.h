// The image transforms that the painters share. Each works in place and
// leaves an empty image empty.
#pragma once

#include "skin/definition/skin_bitmap.h"

namespace skin {

// Every pixel becomes the grey of (blue + green + red) / 3.
void GrayscaleBitmap(TSkinBitmap& bitmap);
// Left-right: the pixels of every row in reverse order.
void MirrorBitmap(TSkinBitmap& bitmap);
// Upside down: the rows in reverse order.
void FlipBitmap(TSkinBitmap& bitmap);
// A quarter turn counter-clockwise: the pixel at (x, y) moves to
// (y, width - 1 - x); width and height swap.
void RotateBitmapLeft(TSkinBitmap& bitmap);
// A quarter turn clockwise: the pixel at (x, y) moves to (height - 1 - y, x).
void RotateBitmapRight(TSkinBitmap& bitmap);

}  // namespace skin
