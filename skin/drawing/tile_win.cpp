#include "skin/drawing/tile_win.h"

#include "skin/drawing/dib_win.h"
#include "skin/drawing/frame_geometry_win.h"

namespace skin {

void Tile(HDC canvas, const RECT& dest, HBITMAP image, const RECT& source) {
  if (!image) return;
  TBitmapDc imageDc(image);
  Tile(canvas, dest, imageDc.get(), source);
}

void Tile(HDC canvas, const RECT& dest, HDC imageDc, const RECT& source) {
  const int width = RectWidth(source);
  const int height = RectHeight(source);
  // A piece without area would never advance.
  if (width < 1 || height < 1 || IsEmptyDestination(dest)) return;

  gui::UniqueBitmap piece = MakeFilledDib(width, height, RGB(0, 0, 0));
  TBitmapDc pieceDc(piece.get());
  BitBlt(pieceDc.get(), 0, 0, width, height, imageDc, source.left, source.top, SRCCOPY);
  // 64-bit steps: a destination reaching the top of the int range must
  // not wrap round.
  for (long long y = dest.top; y < dest.bottom; y += height) {
    for (long long x = dest.left; x < dest.right; x += width) {
      BitBlt(canvas, static_cast<int>(x), static_cast<int>(y), width, height, pieceDc.get(), 0, 0, SRCCOPY);
    }
  }
}

}  // namespace skin
