#include "runtime/gui/button_glyph.h"
#include "runtime/wide_text_win.h"

#include <algorithm>

namespace gui {

TButtonGlyph::TButtonGlyph() {
  picture_.OnChange = [this] { Changed(); };
}

void TButtonGlyph::Changed() {
  if (OnChange) OnChange();
}

void TButtonGlyph::SetNumGlyphs(int32_t value) {
  numGlyphs_ = std::clamp(value, 1, 4);
  Changed();
}

void TButtonGlyph::SetLayout(TButtonLayout value) {
  layout_ = value;
  Changed();
}

void TButtonGlyph::SetMargin(int32_t value) {
  margin_ = std::max(value, -1);
  Changed();
}

void TButtonGlyph::SetSpacing(int32_t value) {
  spacing_ = std::max(value, 0);
  Changed();
}

void TButtonGlyph::Draw(HDC dc, const RECT& area, const WideString& caption, HFONT font, COLORREF textColor,
                        TGlyphFrame frame) const {
  const TBitmap& bitmap = picture_.Bitmap();
  const SIZE glyph = bitmap.Empty() ? SIZE{0, 0} : SIZE{bitmap.Width() / numGlyphs_, bitmap.Height()};
  const auto* text = rt::AsWchar(caption);
  const int length = static_cast<int>(caption.size());
  TSelectObject selectFont(dc, font);
  RECT textSize = {0, 0, 0, 0};
  if (length > 0) DrawTextW(dc, text, length, &textSize, DT_SINGLELINE | DT_CALCRECT);
  const SIZE label = {textSize.right, textSize.bottom};

  const bool horizontal = layout_ == blGlyphLeft || layout_ == blGlyphRight;
  const int32_t gap = glyph.cx > 0 && length > 0 ? spacing_ : 0;
  const int32_t extent = horizontal ? area.right - area.left : area.bottom - area.top;
  const int32_t content = horizontal ? glyph.cx + gap + label.cx : glyph.cy + gap + label.cy;
  const int32_t margin = margin_ < 0 ? (extent - content) / 2 : margin_;

  // Offsets of the glyph and the caption along the layout's direction,
  // from the edge the layout names.
  const int32_t glyphSize = horizontal ? glyph.cx : glyph.cy;
  const int32_t labelSize = horizontal ? label.cx : label.cy;
  int32_t glyphAt = margin;
  int32_t labelAt = margin + glyphSize + gap;
  if (layout_ == blGlyphRight || layout_ == blGlyphBottom) {
    glyphAt = extent - margin - glyphSize;
    labelAt = extent - margin - glyphSize - gap - labelSize;
  }
  POINT glyphPos;
  POINT labelPos;
  if (horizontal) {
    glyphPos = {area.left + glyphAt, area.top + (area.bottom - area.top - glyph.cy) / 2};
    labelPos = {area.left + labelAt, area.top + (area.bottom - area.top - label.cy) / 2};
  } else {
    glyphPos = {area.left + (area.right - area.left - glyph.cx) / 2, area.top + glyphAt};
    labelPos = {area.left + (area.right - area.left - label.cx) / 2, area.top + labelAt};
  }

  if (glyph.cx > 0) {
    // The whole strip is drawn shifted so that only the wanted frame
    // falls inside the clipping rectangle.
    const int index = frame < numGlyphs_ ? static_cast<int>(frame) : 0;
    TSavedDc saved(dc);
    IntersectClipRect(dc, glyphPos.x, glyphPos.y, glyphPos.x + glyph.cx, glyphPos.y + glyph.cy);
    const int stripLeft = glyphPos.x - index * glyph.cx;
    const RECT strip = {stripLeft, glyphPos.y, stripLeft + bitmap.Width(), glyphPos.y + bitmap.Height()};
    bitmap.Draw(dc, strip, true);
  }
  if (length > 0) {
    RECT place = {labelPos.x, labelPos.y, labelPos.x + label.cx, labelPos.y + label.cy};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColor);
    DrawTextW(dc, text, length, &place, DT_SINGLELINE | DT_NOCLIP);
  }
}

}  // namespace gui
