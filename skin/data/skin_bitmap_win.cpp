#include "skin/data/skin_bitmap_win.h"

#include "skin/drawing/dib_win.h"
#include "skin/drawing/frame_geometry_win.h"

namespace skin {

gui::UniqueBitmap ToDib(const TSkinBitmap& image) {
  if (image.Empty()) return {};
  return DibFromBgr(image.Width(), image.Height(), image.Row(0), image.Stride());
}

TSkinBitmap FromBitmap(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  TSkinBitmap image(size.cx, size.cy);
  if (image.Empty()) return image;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  gui::TWindowDc screen(nullptr);
  if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(size.cy), image.Row(0), &info, DIB_RGB_COLORS) !=
      size.cy)
    return {};
  return image;
}

}  // namespace skin
