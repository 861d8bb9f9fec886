#include "skin/drawing/single_frame_win.h"

#include "runtime/gui/handles.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/frame_geometry_win.h"
#include "skin/drawing/transparent_blit_win.h"

namespace skin {

void DrawFrameStretched(HDC dc, const RECT& dest, HBITMAP image, bool transparent, int count, int frame) {
  if (IsEmptyDestination(dest) || !image) return;
  const int dw = RectWidth(dest), dh = RectHeight(dest);
  const TFrameRect f = SkinFrame(image, count, frame, false);
  if (f.Width < 1 || f.Height < 1) return;

  gui::UniqueBitmap stretched = MakeFilledDib(dw, dh, RGB(0, 0, 0));
  {
    TBitmapDc out(stretched.get());
    TStretchMode mode(out.get(), COLORONCOLOR);
    TBitmapDc imageDc(image);
    StretchBlt(out.get(), 0, 0, dw, dh, imageDc.get(), f.X, f.Y, f.Width, f.Height, SRCCOPY);
  }
  if (transparent) {
    TransparentBlit(dc, dest, stretched.get(), kSkinKeyColour);
    return;
  }
  TBitmapDc stretchedDc(stretched.get());
  BitBlt(dc, dest.left, dest.top, dw, dh, stretchedDc.get(), 0, 0, SRCCOPY);
}

void DrawFrameCentred(HDC dc, const RECT& dest, HBITMAP image, bool transparent, int count, int frame) {
  if (IsEmptyDestination(dest) || !image) return;
  const TFrameRect f = SkinFrame(image, count, frame, false);
  if (f.Width < 1 || f.Height < 1) return;
  // C++ division truncates toward zero, as the placement asks.
  const int x = dest.left + (RectWidth(dest) - f.Width) / 2;
  const int y = dest.top + (RectHeight(dest) - f.Height) / 2;

  if (!transparent) {
    TBitmapDc imageDc(image);
    BitBlt(dc, x, y, f.Width, f.Height, imageDc.get(), f.X, f.Y, SRCCOPY);
    return;
  }
  gui::UniqueBitmap cut = MakeFilledDib(f.Width, f.Height, RGB(0, 0, 0));
  {
    TBitmapDc cutDc(cut.get());
    TBitmapDc imageDc(image);
    BitBlt(cutDc.get(), 0, 0, f.Width, f.Height, imageDc.get(), f.X, f.Y, SRCCOPY);
  }
  TransparentBlit(dc, RECT{x, y, x + f.Width, y + f.Height}, cut.get(), kSkinKeyColour);
}

}  // namespace skin
