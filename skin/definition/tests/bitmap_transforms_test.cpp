#include "skin/definition/bitmap_transforms.h"

#include <gtest/gtest.h>

#include <functional>

namespace skin {
namespace {

// Every pixel tells where it came from: red = x, green = y.
TSkinBitmap Numbered(int32_t width, int32_t height) {
  TSkinBitmap bitmap(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      bitmap.SetPixel(x, y, static_cast<uint32_t>(x) | static_cast<uint32_t>(y) << 8 | 0x550000);
  return bitmap;
}

uint32_t From(int32_t x, int32_t y) {
  return static_cast<uint32_t>(x) | static_cast<uint32_t>(y) << 8 | 0x550000;
}

TEST(BitmapTransforms, MirrorReversesEveryRow) {
  for (int32_t width : {1, 4, 5}) {
    TSkinBitmap bitmap = Numbered(width, 3);
    MirrorBitmap(bitmap);
    ASSERT_EQ(bitmap.Width(), width);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < width; ++x)
        EXPECT_EQ(bitmap.Pixel(x, y), From(width - 1 - x, y)) << width << " wide, at " << x << "," << y;
  }
}

TEST(BitmapTransforms, FlipReversesTheRows) {
  for (int32_t height : {1, 2, 5}) {
    TSkinBitmap bitmap = Numbered(3, height);
    FlipBitmap(bitmap);
    ASSERT_EQ(bitmap.Height(), height);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < 3; ++x)
        EXPECT_EQ(bitmap.Pixel(x, y), From(x, height - 1 - y)) << height << " high, at " << x << "," << y;
  }
}

TEST(BitmapTransforms, RotateLeftTurnsCounterClockwise) {
  // Old (x, y) lands at column y, row width - 1 - x.
  TSkinBitmap bitmap = Numbered(4, 3);
  RotateBitmapLeft(bitmap);
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 4);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(bitmap.Pixel(y, 4 - 1 - x), From(x, y)) << x << "," << y;
  // The top right corner goes to the top left.
  EXPECT_EQ(bitmap.Pixel(0, 0), From(3, 0));
}

TEST(BitmapTransforms, RotateRightTurnsClockwise) {
  // Old (x, y) lands at column height - 1 - y, row x.
  TSkinBitmap bitmap = Numbered(4, 3);
  RotateBitmapRight(bitmap);
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 4);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(bitmap.Pixel(3 - 1 - y, x), From(x, y)) << x << "," << y;
  // The bottom left corner goes to the top left.
  EXPECT_EQ(bitmap.Pixel(0, 0), From(0, 2));

  RotateBitmapLeft(bitmap);
  EXPECT_EQ(bitmap, Numbered(4, 3));
}

TEST(BitmapTransforms, GrayscaleAveragesTheChannelsRoundingDown) {
  TSkinBitmap bitmap(3, 1);
  bitmap.SetPixel(0, 0, 0x1F140A);  // blue 31, green 20, red 10: 61 / 3 = 20
  bitmap.SetPixel(1, 0, 0xFFFFFF);
  bitmap.SetPixel(2, 0, 0xFF00FF);  // magenta: 510 / 3 = 170
  GrayscaleBitmap(bitmap);
  EXPECT_EQ(bitmap.Pixel(0, 0), 0x141414u);
  EXPECT_EQ(bitmap.Pixel(1, 0), 0xFFFFFFu);
  EXPECT_EQ(bitmap.Pixel(2, 0), 0xAAAAAAu);
}

TEST(BitmapTransforms, LeaveTheEmptyImageEmpty) {
  const std::function<void(TSkinBitmap&)> transforms[] = {
      GrayscaleBitmap, MirrorBitmap, FlipBitmap, RotateBitmapLeft, RotateBitmapRight};
  for (const auto& transform : transforms) {
    TSkinBitmap bitmap;
    transform(bitmap);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Height(), 0);
  }
}

}  // namespace
}  // namespace skin
