// Every primitive gives back each bitmap, mask, region and DC it made:
// counted by the framework's owners and by the system itself.
#include <gtest/gtest.h>

#include "skin/drawing/bitmap_region_win.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/tests/drawing_test_support_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/drawing/single_frame_win.h"
#include "skin/drawing/three_slice_win.h"
#include "skin/drawing/tile_win.h"
#include "skin/drawing/transparent_blit_win.h"

namespace skin::test {
namespace {

DWORD SystemGdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

void DrawWithEveryPrimitive(HDC dc, HBITMAP image) {
  const TSliceMargins m{.Left = 3, .Top = 2, .Right = 3, .Bottom = 2};
  for (bool flag : {false, true}) {
    gui::UniqueBitmap drawn = NineSlice(RECT{0, 0, 37, 23}, image, m, flag, !flag, 2, 2);
    DrawNineSlice(dc, RECT{2, 2, 40, 30}, image, m, flag, flag, 2, 1, flag);
    DrawNineSlice(dc, RECT{2, 2, 4, 4}, image, m, flag, !flag, 2, 1, !flag);
    DrawNineSliceFrame(dc, RECT{1, 1, 50, 40}, image, m, flag, 2, 2);
    ThreeSlice(dc, RECT{0, 0, 60, 12}, image, flag, flag, 2, 2, 4, 4);
    ThreeSlice(dc, RECT{0, 0, 60, 12}, image, flag, !flag, 2, 2, 20, 20);
    DrawFrameStretched(dc, RECT{5, 5, 30, 30}, image, flag, 2, 1);
    DrawFrameCentred(dc, RECT{5, 5, 30, 30}, image, flag, 2, 2);
    Tile(dc, RECT{0, 0, 64, 48}, image, RECT{1, 1, 7, 5});
    TransparentBlit(dc, RECT{3, 3, 20, 20}, image, kMagenta,
                    flag ? TTransparentMethod::tmMaskBlt : TTransparentMethod::tmInvertMask);
    gui::UniqueRegion region = BitmapToRegion(image, 1, 1, 0, 1, 0, kMagenta);
  }
}

TEST(GdiObjects, NoneLeftBehind) {
  TTestImage image(24, 16, RGB(0, 100, 0));
  image.Fill(RECT{0, 0, 5, 16}, kMagenta);
  image.Fill(RECT{10, 3, 14, 9}, kMagenta);
  TTestCanvas canvas(64, 48, kCanvasGrey);
  DrawWithEveryPrimitive(canvas.dc(), image.get());  // warms up what the system caches once

  const int counted = gui::LiveGdiObjects();
  const DWORD system = SystemGdiObjects();
  for (int i = 0; i < 20; ++i) DrawWithEveryPrimitive(canvas.dc(), image.get());
  EXPECT_EQ(gui::LiveGdiObjects(), counted);
  EXPECT_EQ(SystemGdiObjects(), system);
}

TEST(GdiObjects, FailuresRaiseWithoutLeaving) {
  const int counted = gui::LiveGdiObjects();
  const uint8_t row[6] = {};
  EXPECT_THROW(DibFromBgr(2, 1, row, 5), rt::Exception);
  EXPECT_THROW(DibFromBgr(2, 1, nullptr, 6), rt::Exception);
  EXPECT_FALSE(DibFromBgr(0, 1, nullptr, 0));
  EXPECT_FALSE(MakeFilledDib(3, 0, kMagenta));
  EXPECT_EQ(gui::LiveGdiObjects(), counted);
}

TEST(Dib, FilledWithItsColour) {
  gui::UniqueBitmap dib = MakeFilledDib(5, 3, RGB(1, 2, 3));
  ASSERT_TRUE(dib);
  EXPECT_TRUE(AreaHasColour(dib.get(), RECT{0, 0, 5, 3}, RGB(1, 2, 3)));
  BITMAP info{};
  ASSERT_EQ(GetObjectW(dib.get(), sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmBitsPixel, 24);
}

// Whoever writes the pixels of these bitmaps directly finds the top row
// first, as the skin images hold them.
TEST(Dib, FromBgrRowsKeepsThemTopDown) {
  const uint8_t rows[] = {1, 2, 3, 4, 5, 6, 0, 0,  //
                          7, 8, 9, 10, 11, 12, 0, 0};
  gui::UniqueBitmap dib = DibFromBgr(2, 2, rows, 8);
  ASSERT_TRUE(dib);
  EXPECT_EQ(DibPixel(dib.get(), 0, 0), RGB(3, 2, 1));
  EXPECT_EQ(DibPixel(dib.get(), 1, 1), RGB(12, 11, 10));
  GdiFlush();
  BITMAP info{};
  ASSERT_EQ(GetObjectW(dib.get(), sizeof info, &info), static_cast<int>(sizeof info));
  ASSERT_NE(info.bmBits, nullptr);
  const auto* bits = static_cast<const uint8_t*>(info.bmBits);
  EXPECT_EQ(bits[0], 1);
  EXPECT_EQ(bits[info.bmWidthBytes], 7);
}

}  // namespace
}  // namespace skin::test
