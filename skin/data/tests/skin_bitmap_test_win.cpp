// Skin images handed to the system and read back: rows top down, colours
// in the system's order, rows padded to whole words for widths that are
// not, and bitmaps of other formats read as the system shows them.
#include "skin/data/skin_bitmap_win.h"

#include <gtest/gtest.h>

#include "runtime/gui/handles.h"

namespace skin {
namespace {

// Five by three (a row of 15 bytes, padded to 16), every pixel its own
// colour, red, green and blue each telling x and y apart.
TSkinBitmap Distinct() {
  TSkinBitmap image(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) image.SetPixel(x, y, RGB(10 + 40 * x, 20 + 70 * y, 200 - 30 * x - 10 * y));
  return image;
}

TEST(SkinBitmapDib, TheSystemDrawsEachPixelWhereTheImageHasIt) {
  const TSkinBitmap image = Distinct();
  const gui::UniqueBitmap dib = ToDib(image);
  ASSERT_TRUE(dib);
  BITMAP info{};
  ASSERT_TRUE(GetObjectW(dib.get(), sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 5);
  EXPECT_EQ(info.bmHeight, 3);
  EXPECT_EQ(info.bmBitsPixel, 24);
  const TBitmapDc dc(dib.get());
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(GetPixel(dc.get(), x, y), image.Pixel(x, y)) << x << "," << y;
  EXPECT_FALSE(ToDib(TSkinBitmap()));
}

TEST(SkinBitmapDib, BitmapsOfAnyFormatComeBackAsTheSystemShowsThem) {
  const TSkinBitmap image = Distinct();
  EXPECT_TRUE(FromBitmap(ToDib(image).get()) == image);

  // A bitmap of the screen's format, drawn pixel by pixel.
  const gui::TWindowDc screen(nullptr);
  const gui::UniqueBitmap device(CreateCompatibleBitmap(screen.get(), 5, 3));
  {
    const TBitmapDc dc(device.get());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) SetPixel(dc.get(), x, y, image.Pixel(x, y));
  }
  const TSkinBitmap read = FromBitmap(device.get());
  ASSERT_EQ(read.Width(), 5);
  ASSERT_EQ(read.Height(), 3);
  if (GetDeviceCaps(screen.get(), BITSPIXEL) >= 24) {
    EXPECT_TRUE(read == image);
  }

  EXPECT_TRUE(FromBitmap(nullptr).Empty());
  EXPECT_TRUE(FromBitmap(reinterpret_cast<HBITMAP>(GetStockObject(BLACK_BRUSH))).Empty()) << "not a bitmap";
}

}  // namespace
}  // namespace skin
