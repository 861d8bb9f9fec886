// Decodes arbitrary bytes as a skin image and runs the five transforms and
// a sub-rectangle copy over it. An image is either empty or holds exactly
// its padded rows; a quarter turn swaps the sides, four restore the image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin/definition/bitmap_transforms.h"
#include "skin/definition/skin_bitmap.h"

namespace {

void CheckShape(const skin::TSkinBitmap& bitmap) {
  if (bitmap.Empty()) {
    if (bitmap.Height() != 0 || !bitmap.Bytes().empty()) std::abort();
    return;
  }
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || bitmap.Stride() % 4 != 0 ||
      bitmap.Stride() < static_cast<size_t>(bitmap.Width()) * 3 ||
      bitmap.Bytes().size() != bitmap.Stride() * static_cast<size_t>(bitmap.Height()))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const skin::TSkinBitmap decoded = skin::DecodeSkinBitmap(std::span<const uint8_t>(data, size));
  CheckShape(decoded);

  skin::TSkinBitmap turned = decoded;
  skin::RotateBitmapLeft(turned);
  CheckShape(turned);
  if (turned.Width() != decoded.Height() || turned.Height() != decoded.Width()) std::abort();
  skin::RotateBitmapRight(turned);
  if (!(turned == decoded)) std::abort();

  skin::TSkinBitmap flipped = decoded;
  skin::MirrorBitmap(flipped);
  skin::FlipBitmap(flipped);
  skin::MirrorBitmap(flipped);
  skin::FlipBitmap(flipped);
  if (!(flipped == decoded)) std::abort();

  skin::TSkinBitmap grey = decoded;
  skin::GrayscaleBitmap(grey);
  CheckShape(grey);

  // A rectangle from the first bytes of the input, anywhere.
  int32_t rect[4] = {0, 0, 0, 0};
  for (size_t i = 0; i < size && i < 16; ++i)
    rect[i / 4] = static_cast<int32_t>(static_cast<uint32_t>(rect[i / 4]) << 8 | data[i]);
  const skin::TSkinBitmap part = skin::CopyBitmapRect(decoded, rect[0], rect[1], rect[2], rect[3]);
  CheckShape(part);
  if (part.Width() > decoded.Width() || part.Height() > decoded.Height()) std::abort();
  return 0;
}
