// Bitmaps for the drawing tests: DIB sections whose pixels the tests set
// and read directly, and a canvas (such a bitmap selected into a DC).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "runtime/gui/handles.h"

namespace skin::test {

inline constexpr COLORREF kMagenta = RGB(255, 0, 255);
inline constexpr COLORREF kCanvasGrey = RGB(90, 90, 90);

class TTestImage {
 public:
  // A top-down DIB section of 24 or 32 bits per pixel filled with fill.
  TTestImage(int width, int height, COLORREF fill, int bitCount = 24);

  HBITMAP get() const { return bitmap_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF Pixel(int x, int y) const;
  void SetPixel(int x, int y, COLORREF colour);
  void Fill(const RECT& area, COLORREF colour);

 private:
  uint8_t* At(int x, int y) const;

  gui::UniqueBitmap bitmap_;
  uint8_t* bits_ = nullptr;
  int width_;
  int height_;
  int bytesPerPixel_;
  size_t stride_;
};

// A test image selected into a memory DC, to draw on.
class TTestCanvas {
 public:
  TTestCanvas(int width, int height, COLORREF fill, int bitCount = 24);
  HDC dc() const { return dc_.get(); }
  TTestImage& Image() { return image_; }
  COLORREF Pixel(int x, int y) const { return image_.Pixel(x, y); }

 private:
  TTestImage image_;
  gui::UniqueMemoryDc dc_;
  gui::TSelectObject select_;
};

// The pixels of a bitmap the primitives made (any DIB section).
COLORREF DibPixel(HBITMAP bitmap, int x, int y);

std::string ColourText(COLORREF colour);

// Every pixel of `area` has the colour; on failure names the first one
// that has not and how many differ.
::testing::AssertionResult AreaHasColour(const TTestImage& image, const RECT& area, COLORREF colour);
::testing::AssertionResult AreaHasColour(HBITMAP bitmap, const RECT& area, COLORREF colour);

}  // namespace skin::test
