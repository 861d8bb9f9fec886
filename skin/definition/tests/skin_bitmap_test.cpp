#include "skin/definition/skin_bitmap.h"

#include <gtest/gtest.h>

#include "runtime/tests/test_bmp_builder.h"

namespace skin {
namespace {

using rt::testbmp::BmpLayout;
using rt::testbmp::MakeBmp;

// 0x00BBGGRR, the form Pixel returns.
constexpr uint32_t Bgr(uint8_t r, uint8_t g, uint8_t b) { return uint32_t{b} << 16 | g << 8 | r; }

TEST(SkinBitmap, RowsArePaddedLikeATopDownDib) {
  TSkinBitmap bitmap(5, 2);
  EXPECT_EQ(bitmap.Stride(), 16u);
  EXPECT_EQ(bitmap.Bytes().size(), 32u);
  bitmap.SetPixel(4, 1, Bgr(1, 2, 3));
  // Stored blue first.
  EXPECT_EQ(bitmap.Row(1)[12], 3);
  EXPECT_EQ(bitmap.Row(1)[13], 2);
  EXPECT_EQ(bitmap.Row(1)[14], 1);
  EXPECT_EQ(bitmap.Pixel(4, 1), Bgr(1, 2, 3));
  EXPECT_EQ(bitmap.Pixel(0, 0), 0u);

  EXPECT_TRUE(TSkinBitmap(0, 5).Empty());
  EXPECT_TRUE(TSkinBitmap(5, -1).Empty());
  EXPECT_EQ(TSkinBitmap(5, 0).Width(), 0);
}

TEST(SkinBitmap, Decodes24BitFilesBottomUpAndTopDown) {
  // 2 x 2, rows padded to 8 bytes: red, green over blue, white.
  const std::vector<uint8_t> top = {0, 0, 255, 0, 255, 0, 0, 0};
  const std::vector<uint8_t> bottom = {255, 0, 0, 255, 255, 255, 0, 0};
  BmpLayout bottomUp{.width = 2, .height = 2};
  bottomUp.pixels = bottom;
  bottomUp.pixels.insert(bottomUp.pixels.end(), top.begin(), top.end());
  BmpLayout topDown{.width = 2, .height = -2};
  topDown.pixels = top;
  topDown.pixels.insert(topDown.pixels.end(), bottom.begin(), bottom.end());

  for (const BmpLayout& layout : {bottomUp, topDown}) {
    const TSkinBitmap bitmap = DecodeSkinBitmap(MakeBmp(layout));
    ASSERT_EQ(bitmap.Width(), 2) << "height field " << layout.height;
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.Pixel(0, 0), Bgr(255, 0, 0));
    EXPECT_EQ(bitmap.Pixel(1, 0), Bgr(0, 255, 0));
    EXPECT_EQ(bitmap.Pixel(0, 1), Bgr(0, 0, 255));
    EXPECT_EQ(bitmap.Pixel(1, 1), Bgr(255, 255, 255));
  }
}

TEST(SkinBitmap, Decodes32BitFilesWithAndWithoutMasks) {
  BmpLayout plain{.width = 2, .height = 1, .bitCount = 32};
  plain.pixels = {0x10, 0x20, 0x30, 0x00, 0xFF, 0x00, 0xFF, 0x00};
  TSkinBitmap bitmap = DecodeSkinBitmap(MakeBmp(plain));
  ASSERT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.Pixel(0, 0), Bgr(0x30, 0x20, 0x10));
  EXPECT_EQ(bitmap.Pixel(1, 0), Bgr(255, 0, 255));

  // Red in the low byte and an alpha channel, which is dropped.
  BmpLayout masked{.headerSize = 56, .width = 1, .height = -1, .bitCount = 32, .compression = 3};
  masked.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  masked.pixels = {0x11, 0x22, 0x33, 0x80};
  bitmap = DecodeSkinBitmap(MakeBmp(masked));
  ASSERT_EQ(bitmap.Width(), 1);
  EXPECT_EQ(bitmap.Pixel(0, 0), Bgr(0x11, 0x22, 0x33));

  BmpLayout bitFields{.width = 1, .height = 1, .bitCount = 32, .compression = 3};
  bitFields.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
  bitFields.pixels = {0x9C, 0xD7, 0xF3, 0x00};
  EXPECT_EQ(DecodeSkinBitmap(MakeBmp(bitFields)).Pixel(0, 0), Bgr(0xF3, 0xD7, 0x9C));
}

TEST(SkinBitmap, MalformedFilesGiveTheEmptyImage) {
  BmpLayout good{.width = 2, .height = 2};
  good.pixels.assign(16, 0x40);
  ASSERT_FALSE(DecodeSkinBitmap(MakeBmp(good)).Empty());

  std::vector<uint8_t> truncated = MakeBmp(good);
  truncated.resize(truncated.size() - 5);
  std::vector<uint8_t> notBmp = MakeBmp(good);
  notBmp[0] = 'X';
  BmpLayout noWidth = good;
  noWidth.width = 0;
  BmpLayout badOffset = good;
  badOffset.offsetAdjust = 1000;
  BmpLayout rle = good;
  rle.compression = 1;
  for (const auto& bytes : {truncated, notBmp, MakeBmp(noWidth), MakeBmp(badOffset), MakeBmp(rle),
                            std::vector<uint8_t>{}, std::vector<uint8_t>{'B', 'M'}}) {
    const TSkinBitmap bitmap = DecodeSkinBitmap(bytes);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_TRUE(bitmap.Bytes().empty());
  }
}

TEST(CopyBitmapRect, CopiesThePartInsideTheSource) {
  TSkinBitmap source(6, 3);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 6; ++x) source.SetPixel(x, y, Bgr(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 9));

  const TSkinBitmap middle = CopyBitmapRect(source, 2, 1, 3, 2);
  ASSERT_EQ(middle.Width(), 3);
  ASSERT_EQ(middle.Height(), 2);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(middle.Pixel(x, y), source.Pixel(x + 2, y + 1));

  const TSkinBitmap clipped = CopyBitmapRect(source, -1, 2, 3, 100);
  EXPECT_EQ(clipped.Width(), 2);
  EXPECT_EQ(clipped.Height(), 1);
  EXPECT_EQ(clipped.Pixel(1, 0), source.Pixel(1, 2));

  EXPECT_TRUE(CopyBitmapRect(source, 6, 0, 1, 1).Empty());
  EXPECT_TRUE(CopyBitmapRect(source, 0, 0, 0, 3).Empty());
  EXPECT_TRUE(CopyBitmapRect(source, INT32_MAX, 0, INT32_MAX, 3).Empty());
  EXPECT_TRUE(CopyBitmapRect(TSkinBitmap(), 0, 0, 5, 5).Empty());
}

}  // namespace
}  // namespace skin
