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
  // An image too small to hold a frame has nothing to draw.
  if (f.Width < 1 || f.Height < 1) return;
  // A negative width would mirror the part; one wider than the frame
  // would read the next frame or past the image.
  const int left = std::clamp(leftWidth, 0, f.Width);
  const int right = std::clamp(rightWidth, 0, f.Width - left);
  const int middle = f.Width - left - right;

  gui::UniqueBitmap strip = MakeFilledDib(dw, dh, kSkinKeyColour);
  {
    TBitmapDc out(strip.get());
    TStretchMode mode(out.get(), COLORONCOLOR);
    TBitmapDc imageDc(image);
    // Drawn opaque, the strip must not show the key colour it starts with
    // where the parts leave a gap (no middle to repeat): the whole frame,
    // stretched, lies under them.
    if (!transparent) StretchBlt(out.get(), 0, 0, dw, dh, imageDc.get(), f.X, f.Y, f.Width, f.Height, SRCCOPY);
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
