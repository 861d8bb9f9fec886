// Decodes arbitrary bytes as a BMP file and as a packed DIB. Every
// failure must be EInvalidBitmap; a decoded picture must hold exactly its
// width times height pixels, opaque unless it has an alpha mask.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "runtime/bmp.h"

namespace {

void Check(const rt::TBmpImage& image) {
  if (image.Width <= 0 || image.Height <= 0 ||
      image.Pixels.size() != static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height))
    std::abort();
  if (!image.HasAlpha)
    for (uint32_t pixel : image.Pixels)
      if (pixel >> 24 != 0xFF) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  try {
    Check(rt::DecodeBmp(bytes));
  } catch (const rt::EInvalidBitmap&) {
  }
  try {
    Check(rt::DecodeDib(bytes));
  } catch (const rt::EInvalidBitmap&) {
  }
  return 0;
}
