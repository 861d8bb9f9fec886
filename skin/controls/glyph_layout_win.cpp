#include "runtime/wide_text_win.h"
#include "skin/controls/glyph_layout_win.h"

#include <algorithm>

#include "runtime/gui/handles.h"
#include "skin/drawing/dib_win.h"

namespace skin {

namespace {

SIZE GlyphSize(const TGlyphCaption& what) {
  if (!what.Glyph || what.Glyph->Empty()) return {0, 0};
  return {what.Glyph->Width() / std::max(1, what.NumGlyphs), what.Glyph->Height()};
}

SIZE CaptionSize(HDC dc, const TGlyphCaption& what) {
  if (what.Caption.empty()) return {0, 0};
  gui::TSelectObject font(dc, what.Font);
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, rt::AsWchar(what.Caption), static_cast<int>(what.Caption.size()), &r,
            DT_CALCRECT | DT_SINGLELINE);
  return {r.right, r.bottom};
}

}  // namespace

TGlyphLayout GlyphLayoutFromText(const rt::WideString& text) {
  if (text == u"blGlyphRight") return glGlyphRight;
  if (text == u"blGlyphTop") return glGlyphTop;
  if (text == u"blGlyphBottom") return glGlyphBottom;
  return glGlyphLeft;
}

void LayoutGlyphCaption(HDC dc, const TGlyphCaption& what, const RECT& bounds, RECT& glyphRect, RECT& textRect) {
  const SIZE glyph = GlyphSize(what);
  const SIZE text = CaptionSize(dc, what);
  const bool horizontal = what.Layout == glGlyphLeft || what.Layout == glGlyphRight;
  const int spacing = glyph.cx > 0 && text.cx > 0 ? what.Spacing : 0;
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  // Along the layout's axis: the margin from the glyph's edge, or both
  // centred together; across it: each centred.
  const int along = horizontal ? glyph.cx + spacing + text.cx : glyph.cy + spacing + text.cy;
  const int room = horizontal ? width : height;
  const int start = what.Margin >= 0 ? what.Margin : (room - along) / 2;
  POINT g{}, t{};
  switch (what.Layout) {
    case glGlyphLeft:
      g = {start, (height - glyph.cy) / 2};
      t = {start + glyph.cx + spacing, (height - text.cy) / 2};
      break;
    case glGlyphRight:
      g = {width - start - glyph.cx, (height - glyph.cy) / 2};
      t = {width - start - glyph.cx - spacing - text.cx, (height - text.cy) / 2};
      break;
    case glGlyphTop:
      g = {(width - glyph.cx) / 2, start};
      t = {(width - text.cx) / 2, start + glyph.cy + spacing};
      break;
    case glGlyphBottom:
      g = {(width - glyph.cx) / 2, height - start - glyph.cy};
      t = {(width - text.cx) / 2, height - start - glyph.cy - spacing - text.cy};
      break;
  }
  glyphRect = {bounds.left + g.x, bounds.top + g.y, bounds.left + g.x + glyph.cx, bounds.top + g.y + glyph.cy};
  textRect = {bounds.left + t.x, bounds.top + t.y, bounds.left + t.x + text.cx, bounds.top + t.y + text.cy};
}

void DrawGlyphCaption(HDC dc, const TGlyphCaption& what, const RECT& bounds) {
  RECT glyphRect{}, textRect{};
  LayoutGlyphCaption(dc, what, bounds, glyphRect, textRect);
  const SIZE glyph = GlyphSize(what);
  if (glyph.cx > 0 && glyph.cy > 0) {
    const int frame = what.GlyphFrame < std::max(1, what.NumGlyphs) ? what.GlyphFrame : 0;
    TBitmapDc source(what.Glyph->Handle());
    GdiTransparentBlt(dc, glyphRect.left, glyphRect.top, glyph.cx, glyph.cy, source.get(), frame * glyph.cx, 0,
                   glyph.cx, glyph.cy, what.Glyph->TransparentColor());
  }
  if (!what.Caption.empty()) {
    gui::TSelectObject font(dc, what.Font);
    TBackgroundMode transparent(dc, TRANSPARENT);
    SetTextColor(dc, what.TextColour);
    DrawTextW(dc, rt::AsWchar(what.Caption), static_cast<int>(what.Caption.size()),
              &textRect, DT_SINGLELINE | DT_NOCLIP);
  }
}

}  // namespace skin
