// Three-part, stretched, centred and tiled drawing, checked pixel by
// pixel on a canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "skin/drawing/tests/drawing_test_support_win.h"
#include "skin/drawing/single_frame_win.h"
#include "skin/drawing/three_slice_win.h"
#include "skin/drawing/tile_win.h"

namespace skin::test {
namespace {

constexpr COLORREF kLeftPart = RGB(200, 0, 0);
constexpr COLORREF kMiddle = RGB(0, 200, 0);
constexpr COLORREF kMiddleMarker = RGB(0, 90, 0);
constexpr COLORREF kRightPart = RGB(0, 0, 200);
constexpr COLORREF kFrameOne = RGB(40, 40, 40);

// Two stacked 10 x 4 frames; frame 2 is 3 pixels of left part, 4 of
// middle (its first column a marker) and 3 of right part.
TTestImage StripImage() {
  TTestImage image(10, 8, kFrameOne);
  image.Fill(RECT{0, 4, 3, 8}, kLeftPart);
  image.Fill(RECT{3, 4, 7, 8}, kMiddle);
  image.Fill(RECT{3, 4, 4, 8}, kMiddleMarker);
  image.Fill(RECT{7, 4, 10, 8}, kRightPart);
  return image;
}

TEST(ThreeSlice, MiddleRepeatsAndTheRightPartCoversItsOverrun) {
  TTestImage image = StripImage();
  TTestCanvas canvas(24, 12, kCanvasGrey);
  // 17 wide: middles at 3, 7 and 11, the last running under the right
  // part at 14; 4 rows stretched to 8.
  ThreeSlice(canvas.dc(), RECT{2, 1, 19, 9}, image.get(), true, false, 2, 2, 3, 3);
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{2, 1, 5, 9}, kLeftPart));
  for (int x : {5, 9, 13}) {
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{x, 1, x + 1, 9}, kMiddleMarker)) << x;
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{x + 1, 1, std::min(x + 4, 16), 9}, kMiddle)) << x;
  }
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{16, 1, 19, 9}, kRightPart));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{19, 0, 24, 12}, kCanvasGrey));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 9, 24, 12}, kCanvasGrey));
}

TEST(ThreeSlice, TransparentLeavesMagentaOut) {
  TTestImage image = StripImage();
  image.Fill(RECT{0, 4, 1, 8}, kMagenta);
  TTestCanvas canvas(20, 4, kCanvasGrey);
  ThreeSlice(canvas.dc(), RECT{0, 0, 20, 4}, image.get(), true, true, 2, 2, 3, 3);
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 0, 1, 4}, kCanvasGrey));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{1, 0, 3, 4}, kLeftPart));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{17, 0, 20, 4}, kRightPart));
}

// Left and right parts that fill the frame (middle 0) or more (middle
// -2) leave nothing to repeat: the call ends, with the two parts drawn
// and the canvas showing between them.
TEST(ThreeSlice, NoMiddleToRepeatStillEnds) {
  TTestImage image = StripImage();
  for (int side : {5, 6}) {
    TTestCanvas canvas(20, 4, kCanvasGrey);
    ThreeSlice(canvas.dc(), RECT{0, 0, 20, 4}, image.get(), true, true, 2, 2, side, side);
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 0, 3, 4}, kLeftPart)) << side;
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{side, 0, 20 - side, 4}, kCanvasGrey)) << side;
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{17, 0, 20, 4}, kRightPart)) << side;
  }
}

// An image of one row split into two stacked frames has frames of no
// height: nothing is drawn, neither the image nor the key colour.
TEST(ThreeSlice, AnImageTooSmallForItsFramesDrawsNothing) {
  TTestImage image(2, 1, RGB(110, 100, 90));
  TTestCanvas canvas(20, 4, kCanvasGrey);
  ThreeSlice(canvas.dc(), RECT{0, 0, 20, 4}, image.get(), true, false, 2, 1, 4, 4);
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 0, 20, 4}, kCanvasGrey));
}

// Drawn opaque, parts wider than the frame (an image smaller than its
// margins) still cover the whole strip with the image: never with the
// key colour the strip is made in.
TEST(ThreeSlice, OpaqueWithMarginsWiderThanTheFrameShowsNoKeyColour) {
  TTestImage image = StripImage();
  for (const auto& [left, right] : {std::pair{6, 6}, std::pair{1000000, 3}, std::pair{0x7FFFFFFF, -5}}) {
    TTestCanvas canvas(20, 4, kCanvasGrey);
    ThreeSlice(canvas.dc(), RECT{0, 0, 20, 4}, image.get(), true, false, 2, 2, left, right);
    for (int x = 0; x < 20; ++x)
      for (int y = 0; y < 4; ++y) {
        EXPECT_NE(canvas.Pixel(x, y), kMagenta) << left << " " << right << " at " << x << ", " << y;
        EXPECT_NE(canvas.Pixel(x, y), kCanvasGrey) << left << " " << right << " at " << x << ", " << y;
      }
  }
}

// Three side-by-side 2 x 2 frames; frame 2 has four colours, one magenta.
TTestImage QuadFrames() {
  TTestImage image(6, 2, kFrameOne);
  image.SetPixel(2, 0, RGB(200, 0, 0));
  image.SetPixel(3, 0, RGB(0, 200, 0));
  image.SetPixel(2, 1, RGB(0, 0, 200));
  image.SetPixel(3, 1, kMagenta);
  return image;
}

TEST(SingleFrame, StretchedOverTheDestination) {
  TTestImage image = QuadFrames();
  for (bool transparent : {false, true}) {
    TTestCanvas canvas(10, 10, kCanvasGrey);
    DrawFrameStretched(canvas.dc(), RECT{1, 2, 5, 8}, image.get(), transparent, 3, 2);
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{1, 2, 3, 5}, RGB(200, 0, 0)));
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{3, 2, 5, 5}, RGB(0, 200, 0)));
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{1, 5, 3, 8}, RGB(0, 0, 200)));
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{3, 5, 5, 8}, transparent ? kCanvasGrey : kMagenta));
    EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{5, 0, 10, 10}, kCanvasGrey));
  }
}

struct TCentredCase {
  RECT Dest;
  POINT TopLeft;
};

class CentredFrame : public ::testing::TestWithParam<TCentredCase> {};

// A 5 x 5 frame (second of three) whose corners have their own colours.
TEST_P(CentredFrame, OffsetIsHalfTheFreeSpaceTruncatedTowardZero) {
  const TCentredCase& c = GetParam();
  TTestImage image(15, 5, RGB(0, 150, 0));
  image.Fill(RECT{0, 0, 5, 5}, kFrameOne);
  image.Fill(RECT{10, 0, 15, 5}, kFrameOne);
  image.SetPixel(5, 0, RGB(200, 0, 0));
  image.SetPixel(9, 4, RGB(0, 0, 200));
  image.SetPixel(6, 1, kMagenta);
  for (bool transparent : {false, true}) {
    TTestCanvas canvas(30, 30, kCanvasGrey);
    DrawFrameCentred(canvas.dc(), c.Dest, image.get(), transparent, 3, 2);
    const int x = c.TopLeft.x, y = c.TopLeft.y;
    EXPECT_EQ(canvas.Pixel(x, y), RGB(200, 0, 0));
    EXPECT_EQ(canvas.Pixel(x + 4, y + 4), RGB(0, 0, 200));
    EXPECT_EQ(canvas.Pixel(x + 1, y + 1), transparent ? kCanvasGrey : kMagenta);
    EXPECT_EQ(canvas.Pixel(x + 2, y + 2), RGB(0, 150, 0));
    EXPECT_EQ(canvas.Pixel(x - 1, y), kCanvasGrey);
    EXPECT_EQ(canvas.Pixel(x, y - 1), kCanvasGrey);
    EXPECT_EQ(canvas.Pixel(x + 5, y + 4), kCanvasGrey);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Destinations, CentredFrame,
    ::testing::Values(TCentredCase{RECT{10, 10, 15, 15}, POINT{10, 10}},   // same size
                      TCentredCase{RECT{10, 10, 18, 19}, POINT{11, 12}},   // 3 and 4 free
                      TCentredCase{RECT{10, 10, 12, 13}, POINT{9, 9}},     // -3 and -2: -1, -1
                      TCentredCase{RECT{10, 10, 11, 11}, POINT{8, 8}}));   // -4: -2

TEST(Tile, LastRowAndColumnRunPastTheDestination) {
  TTestImage image(6, 6, kFrameOne);
  image.Fill(RECT{1, 1, 4, 4}, RGB(0, 200, 0));
  image.SetPixel(1, 1, RGB(200, 0, 0));
  TTestCanvas canvas(20, 20, kCanvasGrey);
  // 7 x 5 from (2, 2) in 3 x 3 steps: tiles at x 2, 5, 8 and y 2, 5.
  Tile(canvas.dc(), RECT{2, 2, 9, 7}, image.get(), RECT{1, 1, 4, 4});
  for (int y : {2, 5})
    for (int x : {2, 5, 8}) EXPECT_EQ(canvas.Pixel(x, y), RGB(200, 0, 0)) << x << "," << y;
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{9, 3, 11, 5}, RGB(0, 200, 0)));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{3, 7, 5, 8}, RGB(0, 200, 0)));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{11, 0, 20, 20}, kCanvasGrey));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 8, 20, 20}, kCanvasGrey));
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 0, 2, 20}, kCanvasGrey));
}

TEST(Tile, EmptySourceOrDestinationDrawsNothing) {
  TTestImage image(6, 6, kFrameOne);
  TTestCanvas canvas(10, 10, kCanvasGrey);
  Tile(canvas.dc(), RECT{0, 0, 10, 10}, image.get(), RECT{2, 2, 2, 5});
  Tile(canvas.dc(), RECT{0, 0, 10, 10}, image.get(), RECT{2, 5, 4, 2});
  Tile(canvas.dc(), RECT{5, 0, 2, 10}, image.get(), RECT{0, 0, 3, 3});
  EXPECT_TRUE(AreaHasColour(canvas.Image(), RECT{0, 0, 10, 10}, kCanvasGrey));
}

}  // namespace
}  // namespace skin::test
