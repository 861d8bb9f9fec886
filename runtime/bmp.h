// Windows bitmaps (BMP files and packed DIBs) decoded into 32-bit pixels:
// the pictures stored in forms and the images of skins. Uncompressed data
// of 1, 4, 8, 16, 24 and 32 bits per pixel, with bit-field masks for 16
// and 32 bits; the data is untrusted and every length is checked.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "runtime/exceptions.h"

namespace rt {

class EInvalidBitmap : public Exception {
  using Exception::Exception;
};

// Larger pictures are refused rather than allocated.
inline constexpr int32_t kBmpMaxSide = 32767;
inline constexpr int64_t kBmpMaxPixels = int64_t{1} << 25;

struct TBmpImage {
  int32_t Width = 0;
  int32_t Height = 0;
  // Rows from the top, each pixel 0xAARRGGBB. Alpha is 255 unless the
  // bitmap has an alpha mask (HasAlpha).
  std::vector<uint32_t> Pixels;
  bool HasAlpha = false;

  uint32_t Pixel(int32_t x, int32_t y) const {
    return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
  }
  // The colour without alpha, 0x00RRGGBB.
  uint32_t Rgb(int32_t x, int32_t y) const { return Pixel(x, y) & 0xFFFFFF; }
};

// A whole BMP file, starting with "BM". Raises EInvalidBitmap.
TBmpImage DecodeBmp(std::span<const uint8_t> file);
// A packed DIB: the info header, masks and palette, then the pixels.
TBmpImage DecodeDib(std::span<const uint8_t> dib);

}  // namespace rt
