#include "skin/drawing/dib_win.h"

#include <cstring>
#include <string>

namespace skin {

namespace {

// Rows of a 24-bit DIB are padded to four bytes.
size_t Dib24Stride(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3); }

gui::UniqueBitmap MakeDib24(int width, int height, uint8_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  gui::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0));
  if (!bitmap || !raw) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    throw EOutOfResources(u"Cannot create a bitmap of " + rt::WideString(size.begin(), size.end()) +
                          u" pixels");
  }
  *bits = static_cast<uint8_t*>(raw);
  return bitmap;
}

}  // namespace

gui::UniqueBitmap MakeFilledDib(int width, int height, COLORREF fill) {
  if (width < 1 || height < 1) return {};
  uint8_t* bits = nullptr;
  gui::UniqueBitmap bitmap = MakeDib24(width, height, &bits);
  const size_t stride = Dib24Stride(width);
  uint8_t* row = bits;
  for (int x = 0; x < width; ++x) {
    row[x * 3] = GetBValue(fill);
    row[x * 3 + 1] = GetGValue(fill);
    row[x * 3 + 2] = GetRValue(fill);
  }
  for (int y = 1; y < height; ++y) std::memcpy(bits + y * stride, row, static_cast<size_t>(width) * 3);
  return bitmap;
}

gui::UniqueBitmap DibFromBgr(int width, int height, const uint8_t* rowsTopDown, size_t stride) {
  if (width < 1 || height < 1) return {};
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  if (!rowsTopDown || stride < rowBytes) throw rt::Exception(u"DibFromBgr: rows shorter than the width");
  uint8_t* bits = nullptr;
  gui::UniqueBitmap bitmap = MakeDib24(width, height, &bits);
  const size_t dibStride = Dib24Stride(width);
  for (int y = 0; y < height; ++y) {
    std::memcpy(bits + static_cast<size_t>(y) * dibStride, rowsTopDown + static_cast<size_t>(y) * stride, rowBytes);
  }
  return bitmap;
}

TBitmapDc::TBitmapDc(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), select_(dc_.get(), bitmap) {
  if (!dc_) throw EOutOfResources(u"Cannot create a memory device context");
}

}  // namespace skin
