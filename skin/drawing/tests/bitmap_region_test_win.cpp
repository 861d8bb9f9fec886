// Window regions from bitmaps, compared pixel by pixel with the pixels
// that should be in them.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "skin/drawing/bitmap_region_win.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/tests/drawing_test_support_win.h"

namespace skin::test {
namespace {

constexpr COLORREF kOpaque = RGB(20, 120, 200);

// Every pixel of the image (and a ring around it) is in the region, moved
// by the offset, exactly when `kept` says so.
::testing::AssertionResult RegionHolds(HRGN region, const TTestImage& image, int dx, int dy,
                                       const std::function<bool(COLORREF)>& kept) {
  for (int y = -1; y <= image.Height(); ++y) {
    for (int x = -1; x <= image.Width(); ++x) {
      const bool inImage = x >= 0 && y >= 0 && x < image.Width() && y < image.Height();
      const bool expected = inImage && kept(image.Pixel(x, y));
      if (PtInRegion(region, x + dx, y + dy) != expected) {
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << (expected ? " missing" : " present");
      }
    }
  }
  return ::testing::AssertionSuccess();
}
bool NotMagenta(COLORREF c) { return c != kMagenta; }

DWORD RectangleCount(HRGN region) {
  const DWORD bytes = GetRegionData(region, 0, nullptr);
  std::vector<RECT> storage(bytes / sizeof(RECT) + 1);
  auto* data = reinterpret_cast<RGNDATA*>(storage.data());
  if (GetRegionData(region, bytes, data) == 0) return 0;
  return data->rdh.nCount;
}

class BitmapToRegionFormats : public ::testing::TestWithParam<int> {};

// Magenta touching every edge, a hole, and pure magenta rows at the top
// and bottom, which leave no trace in the region.
TEST_P(BitmapToRegionFormats, MagentaAtTheEdgesAndWholeRowsIsLeftOut) {
  TTestImage image(12, 10, kOpaque, GetParam());
  image.Fill(RECT{0, 0, 12, 2}, kMagenta);
  image.Fill(RECT{0, 9, 12, 10}, kMagenta);
  image.Fill(RECT{0, 2, 1, 9}, kMagenta);
  image.Fill(RECT{11, 2, 12, 9}, kMagenta);
  image.Fill(RECT{1, 2, 3, 3}, kMagenta);
  image.Fill(RECT{5, 5, 7, 6}, kMagenta);
  image.SetPixel(11, 5, RGB(0, 0, 0));
  gui::UniqueRegion region = BitmapToRegion(image.get(), 30, -4, 0, 0, 0, kMagenta);
  ASSERT_TRUE(region);
  EXPECT_TRUE(RegionHolds(region.get(), image, 30, -4, NotMagenta));
  RECT box{};
  EXPECT_EQ(GetRgnBox(region.get(), &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 31);
  EXPECT_EQ(box.top, 2 - 4);
  EXPECT_EQ(box.right, 42);
  EXPECT_EQ(box.bottom, 9 - 4);
}

// 5000 single-pixel runs: three batches of rectangles united.
TEST_P(BitmapToRegionFormats, CheckerboardOfMoreThanOneBatch) {
  TTestImage image(100, 100, kMagenta, GetParam());
  for (int y = 0; y < 100; ++y)
    for (int x = (y & 1); x < 100; x += 2) image.SetPixel(x, y, kOpaque);
  gui::UniqueRegion region = BitmapToRegion(image.get(), 7, 3, 0, 0, 0, kMagenta);
  ASSERT_TRUE(region);
  EXPECT_TRUE(RegionHolds(region.get(), image, 7, 3, NotMagenta));
  EXPECT_EQ(RectangleCount(region.get()), 5000u);
}

INSTANTIATE_TEST_SUITE_P(Bits, BitmapToRegionFormats, ::testing::Values(24, 32));

struct TToleranceCase {
  COLORREF Key;
  uint8_t Blue, Green, Red;
  COLORREF Pixel;
  bool Transparent;
};

class BitmapToRegionTolerance : public ::testing::TestWithParam<TToleranceCase> {};

TEST_P(BitmapToRegionTolerance, ChannelsWithinKeyPlusTolerance) {
  const TToleranceCase& c = GetParam();
  TTestImage image(3, 1, kOpaque);
  image.SetPixel(1, 0, c.Pixel);
  gui::UniqueRegion region = BitmapToRegion(image.get(), 0, 0, c.Blue, c.Green, c.Red, c.Key);
  EXPECT_EQ(PtInRegion(region.get(), 1, 0) != 0, !c.Transparent) << ColourText(c.Pixel);
  EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(region.get(), 2, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BitmapToRegionTolerance,
    ::testing::Values(TToleranceCase{kMagenta, 1, 1, 1, RGB(255, 1, 255), true},
                      TToleranceCase{kMagenta, 0, 0, 0, RGB(255, 1, 255), false},
                      TToleranceCase{kMagenta, 1, 1, 1, RGB(255, 2, 255), false},
                      // Below the key is outside the range.
                      TToleranceCase{kMagenta, 1, 1, 1, RGB(254, 0, 255), false},
                      // Each tolerance applies to its own channel.
                      TToleranceCase{RGB(100, 100, 100), 1, 2, 3, RGB(103, 102, 101), true},
                      TToleranceCase{RGB(100, 100, 100), 1, 2, 3, RGB(104, 100, 100), false},
                      TToleranceCase{RGB(100, 100, 100), 1, 2, 3, RGB(100, 103, 100), false},
                      TToleranceCase{RGB(100, 100, 100), 1, 2, 3, RGB(100, 100, 102), false},
                      // The range stops at 255.
                      TToleranceCase{RGB(250, 250, 250), 200, 200, 200, RGB(255, 255, 255), true},
                      TToleranceCase{RGB(250, 250, 250), 200, 200, 200, RGB(255, 255, 0), false}));

TEST(BitmapToRegion, NothingKeptGivesAnEmptyRegion) {
  TTestImage image(8, 8, kMagenta);
  gui::UniqueRegion all = BitmapToRegion(image.get(), 0, 0, 0, 0, 0, kMagenta);
  ASSERT_TRUE(all);
  RECT box{};
  EXPECT_EQ(GetRgnBox(all.get(), &box), NULLREGION);
  gui::UniqueRegion none = BitmapToRegion(nullptr, 0, 0, 0, 0, 0, kMagenta);
  ASSERT_TRUE(none);
  EXPECT_EQ(GetRgnBox(none.get(), &box), NULLREGION);
}

TEST(BitmapToRegion, RegionOfABitmapFromBgrRows) {
  // 3 x 2, rows padded to 10 bytes: magenta, opaque, magenta / opaque x 3.
  const uint8_t rows[] = {255, 0, 255, 1, 2, 3, 255, 0, 255, 9,  //
                          4,   5, 6,   7, 8, 9, 10,  11, 12, 9};
  gui::UniqueBitmap bitmap = DibFromBgr(3, 2, rows, 10);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(DibPixel(bitmap.get(), 1, 0), RGB(3, 2, 1));
  EXPECT_EQ(DibPixel(bitmap.get(), 2, 1), RGB(12, 11, 10));
  gui::UniqueRegion region = BitmapToRegion(bitmap.get(), 0, 0, 0, 0, 0, kMagenta);
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(region.get(), 1, 0));
  EXPECT_FALSE(PtInRegion(region.get(), 2, 0));
  for (int x = 0; x < 3; ++x) EXPECT_TRUE(PtInRegion(region.get(), x, 1));
}

}  // namespace
}  // namespace skin::test
