#include "skin/definition/bitmap_transforms.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace skin {

void GrayscaleBitmap(TSkinBitmap& bitmap) {
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.Row(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x, p += 3) {
      const auto grey = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
      p[0] = p[1] = p[2] = grey;
    }
  }
}

void MirrorBitmap(TSkinBitmap& bitmap) {
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.Row(y);
    for (int32_t left = 0, right = bitmap.Width() - 1; left < right; ++left, --right)
      std::swap_ranges(row + left * 3, row + left * 3 + 3, row + right * 3);
  }
}

void FlipBitmap(TSkinBitmap& bitmap) {
  const size_t rowBytes = static_cast<size_t>(bitmap.Width()) * 3;
  for (int32_t top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(bitmap.Row(top), bitmap.Row(top) + rowBytes, bitmap.Row(bottom));
}

namespace {

// Builds the turned image from a mapping of old coordinates to new ones.
template <typename Map>
void Rotate(TSkinBitmap& bitmap, Map map) {
  if (bitmap.Empty()) return;
  TSkinBitmap turned(bitmap.Height(), bitmap.Width());
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* from = bitmap.Row(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x, from += 3) {
      const auto [toX, toY] = map(x, y);
      std::memcpy(turned.Row(toY) + static_cast<size_t>(toX) * 3, from, 3);
    }
  }
  bitmap = std::move(turned);
}

}  // namespace

void RotateBitmapLeft(TSkinBitmap& bitmap) {
  const int32_t width = bitmap.Width();
  Rotate(bitmap, [width](int32_t x, int32_t y) { return std::pair{y, width - 1 - x}; });
}

void RotateBitmapRight(TSkinBitmap& bitmap) {
  const int32_t height = bitmap.Height();
  Rotate(bitmap, [height](int32_t x, int32_t y) { return std::pair{height - 1 - y, x}; });
}

}  // namespace skin
