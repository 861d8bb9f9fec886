#include "skin/drawing/nine_slice_win.h"

#include <algorithm>
#include <vector>

#include "skin/drawing/dib_win.h"
#include "skin/drawing/tile_win.h"
#include "skin/drawing/transparent_blit_win.h"

namespace skin {

namespace {

// One part: where it comes from in the image and where it goes.
struct TPiece {
  RECT Source;
  RECT Dest;
  bool Centre = false;
};

RECT Box(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

// The parts of a frame drawn into a dw x dh area at (0, 0), in drawing
// order: the parts after the centre cover whatever a tiled centre drew
// beyond its area.
std::vector<TPiece> NineSlicePieces(const TFrameRect& f, TSliceMargins m, int dw, int dh) {
  // Negative margins would mirror the parts.
  m.Left = std::max(m.Left, 0);
  m.Top = std::max(m.Top, 0);
  m.Right = std::max(m.Right, 0);
  m.Bottom = std::max(m.Bottom, 0);
  if (dw < m.Left + m.Right) m.Left = m.Right = 0;
  if (dh < m.Top + m.Bottom) m.Top = m.Bottom = 0;
  const int L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
  const int sw = f.Width - L - R, sh = f.Height - T - B;  // middle of the frame
  const int mw = dw - L - R, mh = dh - T - B;             // middle of the destination
  const int sx = f.X, sy = f.Y;
  const int sRight = sx + f.Width - R, sBottom = sy + f.Height - B;

  std::vector<TPiece> pieces;
  auto add = [&](bool drawn, RECT source, RECT dest, bool centre = false) {
    // A part with no pixels to read or none to cover draws nothing; a
    // negative size would read outside the frame, mirrored.
    if (!drawn || RectWidth(source) < 1 || RectHeight(source) < 1 || RectWidth(dest) < 1 || RectHeight(dest) < 1)
      return;
    pieces.push_back(TPiece{source, dest, centre});
  };
  add(L > 0 && T > 0, Box(sx, sy, L, T), Box(0, 0, L, T));                             // top-left
  add(L > 0 && B > 0, Box(sx, sBottom, L, B), Box(0, dh - B, L, B));                   // bottom-left
  add(R > 0 && T > 0, Box(sRight, sy, R, T), Box(dw - R, 0, R, T));                    // top-right
  add(L > 0, Box(sx, sy + T, L, sh), Box(0, T, L, mh));                                // left
  add(T > 0, Box(sx + L, sy, sw, T), Box(L, 0, mw, T));                                // top
  add(true, Box(sx + L, sy + T, sw, sh), Box(L, T, mw, mh), true);                     // centre
  add(R > 0 && B > 0, Box(sRight, sBottom, R, B), Box(dw - R, dh - B, R, B));          // bottom-right
  add(R > 0, Box(sRight, sy + T, R, sh), Box(dw - R, T, R, mh));                       // right
  add(B > 0, Box(sx + L, sBottom, sw, B), Box(L, dh - B, mw, B));                      // bottom
  return pieces;
}

void StretchPiece(HDC dc, int dx, int dy, const TPiece& p, HDC imageDc) {
  StretchBlt(dc, dx + p.Dest.left, dy + p.Dest.top, RectWidth(p.Dest), RectHeight(p.Dest), imageDc, p.Source.left,
             p.Source.top, RectWidth(p.Source), RectHeight(p.Source), SRCCOPY);
}

}  // namespace

gui::UniqueBitmap NineSlice(const RECT& dest, HBITMAP image, const TSliceMargins& margins, bool stacked,
                            bool tileCentre, int count, int frame) {
  if (IsEmptyDestination(dest) || !image) return {};
  const int dw = RectWidth(dest), dh = RectHeight(dest);
  const TFrameRect f = SkinFrame(image, count, frame, stacked);
  // An image too small to hold a frame has nothing to draw.
  if (f.Width < 1 || f.Height < 1) return {};

  gui::UniqueBitmap result = MakeFilledDib(dw, dh, RGB(0, 0, 0));
  {
    TBitmapDc out(result.get());
    TStretchMode mode(out.get(), COLORONCOLOR);
    TBitmapDc imageDc(image);
    for (const TPiece& p : NineSlicePieces(f, margins, dw, dh)) {
      if (p.Centre && tileCentre) {
        Tile(out.get(), p.Dest, imageDc.get(), p.Source);
      } else {
        StretchPiece(out.get(), 0, 0, p, imageDc.get());
      }
    }
  }
  return result;
}

void DrawNineSlice(HDC dc, const RECT& dest, HBITMAP image, const TSliceMargins& margins, bool stacked,
                   bool tileCentre, int count, int frame, bool transparent) {
  gui::UniqueBitmap drawn = NineSlice(dest, image, margins, stacked, tileCentre, count, frame);
  if (!drawn) return;
  if (transparent) {
    TransparentBlit(dc, dest, drawn.get(), kSkinKeyColour);
    return;
  }
  TBitmapDc drawnDc(drawn.get());
  BitBlt(dc, dest.left, dest.top, RectWidth(dest), RectHeight(dest), drawnDc.get(), 0, 0, SRCCOPY);
}

void DrawNineSliceFrame(HDC dc, const RECT& dest, HBITMAP image, const TSliceMargins& margins, bool stacked,
                        int count, int frame) {
  if (IsEmptyDestination(dest) || !image) return;
  const TFrameRect f = SkinFrame(image, count, frame, stacked);
  TStretchMode mode(dc, COLORONCOLOR);
  TBitmapDc imageDc(image);
  for (const TPiece& p : NineSlicePieces(f, margins, RectWidth(dest), RectHeight(dest))) {
    if (!p.Centre) StretchPiece(dc, dest.left, dest.top, p, imageDc.get());
  }
}

}  // namespace skin
