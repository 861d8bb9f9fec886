#include "skin/drawing/tests/drawing_test_support_win.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <vector>

namespace skin::test {

TTestImage::TTestImage(int width, int height, COLORREF fill, int bitCount)
    : width_(width), height_(height), bytesPerPixel_(bitCount / 8) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) throw std::runtime_error("test bitmap not created");
  bits_ = static_cast<uint8_t*>(bits);
  stride_ = (static_cast<size_t>(width) * bytesPerPixel_ + 3) & ~static_cast<size_t>(3);
  Fill(RECT{0, 0, width, height}, fill);
}

uint8_t* TTestImage::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel outside the test image");
  return bits_ + static_cast<size_t>(y) * stride_ + static_cast<size_t>(x) * bytesPerPixel_;
}

COLORREF TTestImage::Pixel(int x, int y) const {
  GdiFlush();
  const uint8_t* p = At(x, y);
  return RGB(p[2], p[1], p[0]);
}

void TTestImage::SetPixel(int x, int y, COLORREF colour) {
  GdiFlush();
  uint8_t* p = At(x, y);
  p[0] = GetBValue(colour);
  p[1] = GetGValue(colour);
  p[2] = GetRValue(colour);
  if (bytesPerPixel_ == 4) p[3] = 0;
}

void TTestImage::Fill(const RECT& area, COLORREF colour) {
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) SetPixel(x, y, colour);
}

TTestCanvas::TTestCanvas(int width, int height, COLORREF fill, int bitCount)
    : image_(width, height, fill, bitCount), dc_(CreateCompatibleDC(nullptr)), select_(dc_.get(), image_.get()) {}

COLORREF DibPixel(HBITMAP bitmap, int x, int y) {
  BITMAP bm{};
  if (GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm) throw std::runtime_error("not a bitmap");
  const int height = std::abs(bm.bmHeight);
  if (x < 0 || y < 0 || x >= bm.bmWidth || y >= height) throw std::out_of_range("pixel outside the bitmap");
  // Asked for as a 32-bit top-down copy, whatever the bitmap's own layout.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * height);
  gui::TWindowDc screen(nullptr);
  if (GetDIBits(screen.get(), bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS) != height)
    throw std::runtime_error("GetDIBits failed");
  const uint32_t p = pixels[static_cast<size_t>(y) * bm.bmWidth + x];
  return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
}

std::string ColourText(COLORREF colour) {
  char text[32];
  std::snprintf(text, sizeof text, "(%d,%d,%d)", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return text;
}

namespace {
::testing::AssertionResult CheckArea(const std::function<COLORREF(int, int)>& pixel, const RECT& area,
                                     COLORREF colour) {
  int wrong = 0;
  std::string first;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF actual = pixel(x, y);
      if (actual == colour) continue;
      if (wrong++ == 0)
        first = "pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is " + ColourText(actual);
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "area (" << area.left << "," << area.top << ")-(" << area.right << ","
                                       << area.bottom << ") should be " << ColourText(colour) << ": " << first
                                       << ", " << wrong << " pixels differ";
}
}  // namespace

::testing::AssertionResult AreaHasColour(const TTestImage& image, const RECT& area, COLORREF colour) {
  return CheckArea([&](int x, int y) { return image.Pixel(x, y); }, area, colour);
}

::testing::AssertionResult AreaHasColour(HBITMAP bitmap, const RECT& area, COLORREF colour) {
  return CheckArea([&](int x, int y) { return DibPixel(bitmap, x, y); }, area, colour);
}

}  // namespace skin::test
