#include "skin/definition/skin_bitmap.h"

#include <algorithm>
#include <cstring>

#include "runtime/bmp.h"

namespace skin {

TSkinBitmap::TSkinBitmap(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  stride_ = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  bytes_.assign(stride_ * static_cast<size_t>(height), 0);
}

uint32_t TSkinBitmap::Pixel(int32_t x, int32_t y) const {
  const uint8_t* p = Row(y) + static_cast<size_t>(x) * 3;
  return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
}

void TSkinBitmap::SetPixel(int32_t x, int32_t y, uint32_t color) {
  uint8_t* p = Row(y) + static_cast<size_t>(x) * 3;
  p[0] = static_cast<uint8_t>(color >> 16);
  p[1] = static_cast<uint8_t>(color >> 8);
  p[2] = static_cast<uint8_t>(color);
}

TSkinBitmap DecodeSkinBitmap(std::span<const uint8_t> bmpFile) {
  rt::TBmpImage image;
  try {
    image = rt::DecodeBmp(bmpFile);
  } catch (const rt::EInvalidBitmap&) {
    return {};
  }
  // Alpha is dropped: the skin engine keys transparency on magenta.
  TSkinBitmap bitmap(image.Width, image.Height);
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    uint8_t* out = bitmap.Row(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const uint32_t argb = image.Pixel(x, y);
      *out++ = static_cast<uint8_t>(argb);
      *out++ = static_cast<uint8_t>(argb >> 8);
      *out++ = static_cast<uint8_t>(argb >> 16);
    }
  }
  return bitmap;
}

TSkinBitmap CopyBitmapRect(const TSkinBitmap& source, int32_t x, int32_t y, int32_t width,
                           int32_t height) {
  if (width <= 0 || height <= 0) return {};
  // In 64 bits: x + width may not fit in 32.
  const int64_t left = std::max<int64_t>(x, 0);
  const int64_t top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + width, source.Width());
  const int64_t bottom = std::min<int64_t>(int64_t{y} + height, source.Height());
  if (left >= right || top >= bottom) return {};
  TSkinBitmap part(static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top));
  for (int32_t row = 0; row < part.Height(); ++row)
    std::memcpy(part.Row(row), source.Row(static_cast<int32_t>(top) + row) + left * 3,
                static_cast<size_t>(part.Width()) * 3);
  return part;
}

}  // namespace skin
