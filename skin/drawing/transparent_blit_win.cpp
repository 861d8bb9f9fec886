#include "skin/drawing/transparent_blit_win.h"

#include <algorithm>

#include "skin/drawing/dib_win.h"
#include "skin/drawing/frame_geometry_win.h"

namespace skin {

namespace {

// MaskBlt's raster operation for mask bits that are 1 (the key pixels):
// the destination stays as it is.
constexpr DWORD kKeepDestination = 0x00AA0029;

// Restores a DC's background and text colours.
class TSavedColours {
 public:
  TSavedColours(HDC dc, COLORREF background, COLORREF text)
      : dc_(dc), background_(SetBkColor(dc, background)), text_(SetTextColor(dc, text)) {}
  ~TSavedColours() {
    SetBkColor(dc_, background_);
    SetTextColor(dc_, text_);
  }
  TSavedColours(const TSavedColours&) = delete;
  TSavedColours& operator=(const TSavedColours&) = delete;

 private:
  HDC dc_;
  COLORREF background_;
  COLORREF text_;
};

bool IsNtFamily() {
  // The top bit of GetVersion is clear on the NT family only.
  return (GetVersion() & 0x80000000u) == 0;
}

}  // namespace

TTransparentMethod PlatformTransparentMethod() {
  static const TTransparentMethod method =
      IsNtFamily() ? TTransparentMethod::tmMaskBlt : TTransparentMethod::tmInvertMask;
  return method;
}

void TransparentBlit(HDC dc, const RECT& dest, HBITMAP bitmap, COLORREF key) {
  TransparentBlit(dc, dest, bitmap, key, PlatformTransparentMethod());
}

void TransparentBlit(HDC dc, const RECT& dest, HBITMAP bitmap, COLORREF key, TTransparentMethod method) {
  if (IsEmptyDestination(dest) || !bitmap) return;
  const SIZE size = BitmapSize(bitmap);
  const int width = std::min<int>(RectWidth(dest), size.cx);
  const int height = std::min<int>(RectHeight(dest), size.cy);
  if (width < 1 || height < 1) return;

  // Working on a copy in a known format makes the mask exact whatever
  // kind of bitmap the caller holds.
  gui::UniqueBitmap copy = MakeFilledDib(width, height, RGB(0, 0, 0));
  TBitmapDc copyDc(copy.get());
  {
    TBitmapDc sourceDc(bitmap);
    BitBlt(copyDc.get(), 0, 0, width, height, sourceDc.get(), 0, 0, SRCCOPY);
  }

  // Monochrome mask: 1 where the copy has the key colour (the source
  // DC's background colour in a colour-to-monochrome blit), 0 elsewhere.
  gui::UniqueBitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
  if (!mask) throw EOutOfResources(u"Cannot create a transparency mask");
  {
    TBitmapDc maskDc(mask.get());
    TSavedColours keyBackground(copyDc.get(), key, GetTextColor(copyDc.get()));
    BitBlt(maskDc.get(), 0, 0, width, height, copyDc.get(), 0, 0, SRCCOPY);
  }

  if (method == TTransparentMethod::tmMaskBlt) {
    // The mask is passed as a bitmap, so it must not stay selected in a DC.
    MaskBlt(dc, dest.left, dest.top, width, height, copyDc.get(), 0, 0, mask.get(), 0, 0,
            MAKEROP4(kKeepDestination, SRCCOPY));
    return;
  }
  // Destination XOR source, then the mask clears the non-key pixels (its
  // 0 bits become the text colour black, its 1 bits the background colour
  // white), then XOR source again: key pixels get back the destination,
  // the others become the source.
  TBitmapDc maskDc(mask.get());
  TSavedColours monochrome(dc, RGB(255, 255, 255), RGB(0, 0, 0));
  BitBlt(dc, dest.left, dest.top, width, height, copyDc.get(), 0, 0, SRCINVERT);
  BitBlt(dc, dest.left, dest.top, width, height, maskDc.get(), 0, 0, SRCAND);
  BitBlt(dc, dest.left, dest.top, width, height, copyDc.get(), 0, 0, SRCINVERT);
}

}  // namespace skin
