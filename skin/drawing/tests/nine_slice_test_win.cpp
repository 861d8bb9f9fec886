// Nine-part drawing checked pixel by pixel: every part of a test frame
// has its own colour, so the place each lands in tells what was copied.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "skin/drawing/tests/drawing_test_support_win.h"
#include "skin/drawing/nine_slice_win.h"

namespace skin::test {
namespace {

enum TPart { kTopLeft, kTop, kTopRight, kLeft, kCentre, kRight, kBottomLeft, kBottom, kBottomRight };
constexpr COLORREF kPartColours[9] = {
    RGB(200, 0, 0), RGB(0, 200, 0),   RGB(0, 0, 200),   RGB(200, 200, 0), RGB(0, 200, 200),
    RGB(100, 0, 200), RGB(120, 60, 0), RGB(0, 60, 120), RGB(60, 0, 120),
};
constexpr COLORREF kOtherFrame = RGB(30, 30, 30);
constexpr COLORREF kCentreMarker = RGB(250, 250, 250);

// An image of `count` frames of fw x fh; frame `frame` has the nine
// parts of the margins in their colours (its centre with a marker at its
// top-left pixel), the other frames are dark.
TTestImage PartsImage(int fw, int fh, const TSliceMargins& m, int count, bool stacked, int frame,
                      bool marker = true, int bitCount = 24) {
  TTestImage image(stacked ? fw : fw * count, stacked ? fh * count : fh, kOtherFrame, bitCount);
  const int ox = stacked ? 0 : (frame - 1) * fw, oy = stacked ? (frame - 1) * fh : 0;
  const int xs[4] = {0, m.Left, fw - m.Right, fw};
  const int ys[4] = {0, m.Top, fh - m.Bottom, fh};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      image.Fill(RECT{ox + xs[col], oy + ys[row], ox + xs[col + 1], oy + ys[row + 1]}, kPartColours[row * 3 + col]);
  if (marker) image.SetPixel(ox + m.Left, oy + m.Top, kCentreMarker);
  return image;
}

// Checks that the bitmap is cut into a 3 x 3 grid at the column and row
// boundaries given, each cell of the colour of the part named.
void ExpectGrid(HBITMAP bitmap, const std::vector<int>& xs, const std::vector<int>& ys,
                const std::vector<TPart>& parts, bool skipCentreMarker = true) {
  const size_t cols = xs.size() - 1;
  for (size_t row = 0; row + 1 < ys.size(); ++row) {
    for (size_t col = 0; col < cols; ++col) {
      RECT cell{xs[col], ys[row], xs[col + 1], ys[row + 1]};
      const TPart part = parts[row * cols + col];
      if (part == kCentre && skipCentreMarker) {
        // The marker pixel lands somewhere at the centre's top-left.
        cell.left += 3;
        cell.top += 3;
      }
      EXPECT_TRUE(AreaHasColour(bitmap, cell, kPartColours[part])) << "part " << part;
    }
  }
}

const std::vector<TPart> kAllParts = {kTopLeft, kTop,    kTopRight,  kLeft,       kCentre,
                                      kRight,   kBottomLeft, kBottom, kBottomRight};

class NineSliceFrames : public ::testing::TestWithParam<std::tuple<bool, int>> {};

// Margins differ on every side, so a left taken for a right shows.
TEST_P(NineSliceFrames, EveryPartLandsInItsPlaceFromTheFrameAsked) {
  const auto [stacked, bitCount] = GetParam();
  const TSliceMargins m{.Left = 2, .Top = 3, .Right = 4, .Bottom = 1};
  TTestImage image = PartsImage(12, 10, m, 3, stacked, 2, true, bitCount);
  gui::UniqueBitmap drawn = NineSlice(RECT{5, 7, 25, 22}, image.get(), m, stacked, false, 3, 2);
  ASSERT_TRUE(drawn);
  // 20 x 15: corners unscaled, edges and centre stretched in between.
  ExpectGrid(drawn.get(), {0, 2, 16, 20}, {0, 3, 14, 15}, kAllParts);
}

// The tile (6 x 6) does not divide the centre (14 x 11): the last column
// and row of tiles run into the right and bottom parts, which are drawn
// after the centre and cover them.
TEST_P(NineSliceFrames, TiledCentreRepeatsAndItsOverrunIsCovered) {
  const auto [stacked, bitCount] = GetParam();
  const TSliceMargins m{.Left = 2, .Top = 3, .Right = 4, .Bottom = 1};
  TTestImage image = PartsImage(12, 10, m, 2, stacked, 2, true, bitCount);
  gui::UniqueBitmap drawn = NineSlice(RECT{0, 0, 20, 15}, image.get(), m, stacked, true, 2, 2);
  ASSERT_TRUE(drawn);
  for (int y : {3, 9})
    for (int x : {2, 8, 14}) EXPECT_EQ(DibPixel(drawn.get(), x, y), kCentreMarker) << x << "," << y;
  EXPECT_EQ(DibPixel(drawn.get(), 3, 3), kPartColours[kCentre]);
  EXPECT_EQ(DibPixel(drawn.get(), 13, 13), kPartColours[kCentre]);
  EXPECT_TRUE(AreaHasColour(drawn.get(), RECT{16, 3, 20, 14}, kPartColours[kRight]));
  EXPECT_TRUE(AreaHasColour(drawn.get(), RECT{2, 14, 16, 15}, kPartColours[kBottom]));
  EXPECT_TRUE(AreaHasColour(drawn.get(), RECT{16, 14, 20, 15}, kPartColours[kBottomRight]));
  EXPECT_TRUE(AreaHasColour(drawn.get(), RECT{16, 0, 20, 3}, kPartColours[kTopRight]));
}

// Frames side by side and stacked, in 24- and 32-bit images.
INSTANTIATE_TEST_SUITE_P(Layouts, NineSliceFrames, ::testing::Combine(::testing::Bool(), ::testing::Values(24, 32)));

struct TNarrowCase {
  const char* Name;
  int Width, Height;
  std::vector<int> Xs, Ys;
  std::vector<TPart> Parts;
};

class NineSliceNarrow : public ::testing::TestWithParam<TNarrowCase> {};

// A 12 x 12 frame with 4-pixel margins: every part is 4 x 4, so halving
// it keeps each part a whole 2 x 2 block whatever pixel a stretch picks.
TEST_P(NineSliceNarrow, MarginsThatDoNotFitAreDropped) {
  const TNarrowCase& c = GetParam();
  const TSliceMargins m{.Left = 4, .Top = 4, .Right = 4, .Bottom = 4};
  TTestImage image = PartsImage(12, 12, m, 1, false, 1, false);
  gui::UniqueBitmap drawn = NineSlice(RECT{0, 0, c.Width, c.Height}, image.get(), m, false, false, 1, 1);
  ASSERT_TRUE(drawn);
  ExpectGrid(drawn.get(), c.Xs, c.Ys, c.Parts, false);
}

INSTANTIATE_TEST_SUITE_P(
    Destinations, NineSliceNarrow,
    ::testing::Values(
        // Both ways too small: the whole frame stretched.
        TNarrowCase{"both", 6, 6, {0, 2, 4, 6}, {0, 2, 4, 6}, kAllParts},
        // Too narrow only: the top and bottom strips keep their height.
        TNarrowCase{"narrow", 6, 16, {0, 2, 4, 6}, {0, 4, 12, 16}, kAllParts},
        TNarrowCase{"low", 16, 6, {0, 4, 12, 16}, {0, 2, 4, 6}, kAllParts},
        // Exactly Left + Right and Top + Bottom: margins kept, no middle.
        TNarrowCase{"exact", 8, 8, {0, 4, 8}, {0, 4, 8}, {kTopLeft, kTopRight, kBottomLeft, kBottomRight}}),
    [](const ::testing::TestParamInfo<TNarrowCase>& narrow) { return std::string(narrow.param.Name); });

TEST(NineSlice, EmptyDestinationsDrawNothing) {
  const TSliceMargins m{.Left = 2, .Top = 2, .Right = 2, .Bottom = 2};
  TTestImage image = PartsImage(8, 8, m, 1, false, 1, false);
  EXPECT_FALSE(NineSlice(RECT{10, 0, 5, 10}, image.get(), m, false, true, 1, 1));
  EXPECT_FALSE(NineSlice(RECT{0, 10, 10, 5}, image.get(), m, false, true, 1, 1));
  EXPECT_FALSE(NineSlice(RECT{3, 3, 3, 9}, image.get(), m, false, true, 1, 1));

  TTestCanvas canvas(20, 20, kCanvasGrey);
  DrawNineSlice(canvas.dc(), RECT{12, 2, 4, 18}, image.get(), m, false, false, 1, 1, false);
  DrawNineSliceFrame(canvas.dc(), RECT{2, 12, 18, 4}, image.get(), m, false, 1, 1);
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 0, 20, 20}, kCanvasGrey));
}

TEST(NineSlice, DrawnOnADcOpaqueOrLeavingMagentaOut) {
  const TSliceMargins m{.Left = 2, .Top = 2, .Right = 2, .Bottom = 2};
  TTestImage image = PartsImage(8, 8, m, 1, false, 1, false);
  image.Fill(RECT{2, 2, 6, 6}, kMagenta);
  const RECT dest{3, 4, 13, 14};
  for (bool transparent : {false, true}) {
    TTestCanvas canvas(16, 16, kCanvasGrey);
    DrawNineSlice(canvas.dc(), dest, image.get(), m, false, false, 1, 1, transparent);
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{5, 6, 11, 12}, transparent ? kCanvasGrey : kMagenta));
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{3, 4, 5, 6}, kPartColours[kTopLeft]));
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{11, 12, 13, 14}, kPartColours[kBottomRight]));
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 0, 16, 4}, kCanvasGrey));
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{13, 0, 16, 16}, kCanvasGrey));
  }
}

TEST(NineSlice, FrameOnlyLeavesTheCentreAsItWas) {
  const TSliceMargins m{.Left = 2, .Top = 3, .Right = 4, .Bottom = 1};
  TTestImage image = PartsImage(12, 10, m, 2, true, 2);
  TTestCanvas canvas(30, 30, kCanvasGrey);
  DrawNineSliceFrame(canvas.dc(), RECT{5, 5, 25, 20}, image.get(), m, true, 2, 2);
  // 20 x 15 at (5, 5).
  const int xs[4] = {5, 7, 21, 25}, ys[4] = {5, 8, 19, 20};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const RECT cell{xs[col], ys[row], xs[col + 1], ys[row + 1]};
      const COLORREF expected = row == 1 && col == 1 ? kCanvasGrey : kPartColours[row * 3 + col];
      EXPECT_TRUE(AreaHasColour(canvas.Image(), cell, expected)) << row << "," << col;
    }
  }
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 20, 30, 30}, kCanvasGrey));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{25, 0, 30, 30}, kCanvasGrey));
}

}  // namespace
}  // namespace skin::test
