#include "skin/drawing/three_slice_win.h"

#include <algorithm>

#include "runtime/gui/handles.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/frame_geometry_win.h"
#include "skin/drawing/transparent_blit_win.h"

namespace skin {

void ThreeSlice(HDC canvas, const RECT& dest, HBITMAP image, bool stacked, bool transparent, int count, int frame,
                int leftWidth, int rightWidth) {
  if (IsEmptyDestination(dest) || !image) return;
  const int dw = RectWidth(dest), dh = RectHeight(dest);
  const TFrameRect f = SkinFrame(image, count, frame, stacked);
  // A negative width would mirror the part.
  const int left = std::max(leftWidth, 0);
  const int right = std::max(rightWidth, 0);
  const int middle = f.Width - left - right;

  gui::UniqueBitmap strip = MakeFilledDib(dw, dh, kSkinKeyColour);
  {
    TBitmapDc out(strip.get());
    TStretchMode mode(out.get(), COLORONCOLOR);
    TBitmapDc imageDc(image);
    if (left > 0) StretchBlt(out.get(), 0, 0, left, dh, imageDc.get(), f.X, f.Y, left, f.Height, SRCCOPY);
    // Without a middle there is nothing to step by.
    if (middle > 0) {
      for (long long x = left; x < dw - right; x += middle) {
        StretchBlt(out.get(), static_cast<int>(x), 0, middle, dh, imageDc.get(), f.X + left, f.Y, middle, f.Height,
                   SRCCOPY);
      }
    }
    // Drawn last: covers the overrun of the last middle part.
    if (right > 0) {
      StretchBlt(out.get(), dw - right, 0, right, dh, imageDc.get(), f.X + f.Width - right, f.Y, right, f.Height,
                 SRCCOPY);
    }
  }
  if (transparent) {
    TransparentBlit(canvas, dest, strip.get(), kSkinKeyColour);
    return;
  }
  TBitmapDc stripDc(strip.get());
  BitBlt(canvas, dest.left, dest.top, dw, dh, stripDc.get(), 0, 0, SRCCOPY);
}

}  // namespace skin
