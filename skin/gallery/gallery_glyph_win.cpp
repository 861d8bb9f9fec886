#include "skin/gallery/gallery_glyph_win.h"

#include <windows.h>

#include <cstring>

#include "runtime/exceptions.h"
#include "runtime/gui/handles.h"

namespace gallery {

namespace {

constexpr int kFrameSide = 16;
constexpr int kFrames = 2;
constexpr int kWidth = kFrameSide * kFrames;
// Buttons take the bottom-left pixel's colour as transparent.
constexpr COLORREF kBackground = RGB(255, 0, 255);

// A filled disc with a white bar across: readable at 16 pixels.
void DrawFace(HDC dc, int left, COLORREF disc, COLORREF outline) {
  gui::UniqueBrush fill(CreateSolidBrush(disc));
  gui::UniquePen pen(CreatePen(PS_SOLID, 1, outline));
  gui::TSelectObject selectFill(dc, fill.get());
  gui::TSelectObject selectPen(dc, pen.get());
  Ellipse(dc, left + 1, 1, left + kFrameSide - 1, kFrameSide - 1);
  const RECT bar = {left + 4, 7, left + kFrameSide - 4, 9};
  FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

}  // namespace

std::vector<uint8_t> DrawTwoFrameGlyph() {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = kWidth;
  header.biHeight = kFrameSide;  // bottom-up, as BMP files usually are
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  // 32 pixels of 3 bytes: every row already ends on four bytes.
  constexpr size_t kPixelBytes = size_t{kWidth} * 3 * kFrameSide;
  header.biSizeImage = kPixelBytes;

  void* bits = nullptr;
  gui::UniqueBitmap bitmap(
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
  gui::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc) throw rt::Exception(u"No se pudo dibujar la imagen del botón");
  {
    gui::TSelectObject select(dc.get(), bitmap.get());
    gui::UniqueBrush background(CreateSolidBrush(kBackground));
    const RECT all = {0, 0, kWidth, kFrameSide};
    FillRect(dc.get(), &all, background.get());
    DrawFace(dc.get(), 0, RGB(0, 120, 215), RGB(0, 60, 120));
    DrawFace(dc.get(), kFrameSide, RGB(160, 160, 160), RGB(110, 110, 110));
    GdiFlush();
  }

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + kPixelBytes);
  std::vector<uint8_t> bmp(file.bfSize);
  std::memcpy(bmp.data(), &file, sizeof(file));
  std::memcpy(bmp.data() + sizeof(file), &header, sizeof(header));
  std::memcpy(bmp.data() + file.bfOffBits, bits, kPixelBytes);
  return bmp;
}

}  // namespace gallery
