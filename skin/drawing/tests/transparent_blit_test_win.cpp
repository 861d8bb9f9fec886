// Transparent drawing by both methods, on 24- and 32-bit canvases.
#include <gtest/gtest.h>

#include <tuple>

#include "skin/drawing/tests/drawing_test_support_win.h"
#include "skin/drawing/transparent_blit_win.h"

namespace skin::test {
namespace {

// A canvas whose every pixel differs, so a kept pixel is known to be the
// very one that was there.
COLORREF CanvasColour(int x, int y) { return RGB(10 + x * 7, 20 + y * 9, 30 + (x + y) * 3); }

class TransparentBlitMethods : public ::testing::TestWithParam<std::tuple<TTransparentMethod, int>> {};

TEST_P(TransparentBlitMethods, KeyPixelsKeepTheDestination) {
  const auto [method, bitCount] = GetParam();
  TTestImage bitmap(6, 4, RGB(0, 120, 240));
  bitmap.Fill(RECT{0, 0, 2, 4}, kMagenta);
  bitmap.SetPixel(3, 1, kMagenta);
  bitmap.SetPixel(4, 2, RGB(254, 0, 255));  // near the key: drawn
  bitmap.SetPixel(5, 3, RGB(255, 255, 255));
  bitmap.SetPixel(5, 0, RGB(0, 0, 0));

  TTestCanvas canvas(12, 8, 0, bitCount);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) canvas.Image().SetPixel(x, y, CanvasColour(x, y));
  SetBkColor(canvas.dc(), RGB(1, 2, 3));
  SetTextColor(canvas.dc(), RGB(4, 5, 6));

  TransparentBlit(canvas.dc(), RECT{3, 2, 9, 6}, bitmap.get(), kMagenta, method);

  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 3 && x < 9 && y >= 2 && y < 6;
      const COLORREF source = inside ? bitmap.Pixel(x - 3, y - 2) : kMagenta;
      const COLORREF expected = source == kMagenta ? CanvasColour(x, y) : source;
      EXPECT_EQ(ColourText(canvas.Pixel(x, y)), ColourText(expected)) << "at " << x << "," << y;
    }
  }
  EXPECT_EQ(GetBkColor(canvas.dc()), RGB(1, 2, 3));
  EXPECT_EQ(GetTextColor(canvas.dc()), RGB(4, 5, 6));
}

// A destination smaller than the bitmap shows its top-left part only.
TEST_P(TransparentBlitMethods, ClippedToTheDestination) {
  const auto [method, bitCount] = GetParam();
  TTestImage bitmap(6, 4, RGB(0, 120, 240));
  TTestCanvas canvas(10, 10, kCanvasGrey, bitCount);
  TransparentBlit(canvas.dc(), RECT{2, 2, 5, 4}, bitmap.get(), kMagenta, method);
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{2, 2, 5, 4}, RGB(0, 120, 240)));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{5, 0, 10, 10}, kCanvasGrey));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 4, 10, 10}, kCanvasGrey));
  TransparentBlit(canvas.dc(), RECT{8, 8, 6, 9}, bitmap.get(), kMagenta, method);
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{5, 0, 10, 10}, kCanvasGrey));
}

INSTANTIATE_TEST_SUITE_P(BothMethods, TransparentBlitMethods,
                         ::testing::Combine(::testing::Values(TTransparentMethod::tmMaskBlt,
                                                              TTransparentMethod::tmInvertMask),
                                            ::testing::Values(24, 32)));

TEST(TransparentBlit, NtFamilyUsesMaskBlt) {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExW(&version));
  EXPECT_EQ(PlatformTransparentMethod() == TTransparentMethod::tmMaskBlt,
            version.dwPlatformId == VER_PLATFORM_WIN32_NT);
}

}  // namespace
}  // namespace skin::test
