// The images of a skin in memory: 24-bit pixels, blue, green, red in each
// pixel, rows from the top. Each row is padded to a multiple of 4 bytes, the
// layout of a top-down 24-bit DIB, so the Windows side hands the bytes to
// the system as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace skin {

class TSkinBitmap {
 public:
  TSkinBitmap() = default;
  // A black image; a side of 0 or less makes the empty image.
  TSkinBitmap(int32_t width, int32_t height);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return width_ == 0; }
  // Bytes from one row to the next.
  size_t Stride() const { return stride_; }

  // Pixels as 0x00BBGGRR, the form of the system's colour values.
  uint32_t Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, uint32_t color);

  uint8_t* Row(int32_t y) { return bytes_.data() + static_cast<size_t>(y) * stride_; }
  const uint8_t* Row(int32_t y) const { return bytes_.data() + static_cast<size_t>(y) * stride_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  void Clear() { *this = TSkinBitmap(); }

  friend bool operator==(const TSkinBitmap&, const TSkinBitmap&) = default;

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  size_t stride_ = 0;
  std::vector<uint8_t> bytes_;
};

// The picture of a BMP file. Anything the BMP decoder refuses gives the
// empty image: a skin never fails because of one of its images.
TSkinBitmap DecodeSkinBitmap(std::span<const uint8_t> bmpFile);

// The part of the rectangle (x, y, width, height) that lies inside source,
// as an image of its own; empty when nothing of it does.
TSkinBitmap CopyBitmapRect(const TSkinBitmap& source, int32_t x, int32_t y, int32_t width,
                           int32_t height);

}  // namespace skin
