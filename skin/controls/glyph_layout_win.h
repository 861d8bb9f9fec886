// The glyph and caption of bitmap and speed buttons: the glyph's frame
// for the button's state and the two placed by the layout rules.
#pragma once

#include <windows.h>

#include "runtime/gui/graphics.h"
#include "runtime/strings.h"

namespace skin {

enum TGlyphLayout { glGlyphLeft, glGlyphRight, glGlyphTop, glGlyphBottom };

struct TGlyphCaption {
  const gui::TBitmap* Glyph = nullptr;  // frames side by side; none or empty: caption only
  int NumGlyphs = 1;
  // 0 up, 1 disabled, 2 pressed, 3 down (a missing frame falls back to 0).
  int GlyphFrame = 0;
  rt::WideString Caption;
  TGlyphLayout Layout = glGlyphLeft;
  int Margin = -1;   // -1: the two are centred together
  int Spacing = 4;   // between glyph and caption
  COLORREF TextColour = 0;
  HFONT Font = nullptr;
};

// The glyph frame's rectangle and the caption's within bounds.
void LayoutGlyphCaption(HDC dc, const TGlyphCaption& what, const RECT& bounds, RECT& glyphRect, RECT& textRect);
void DrawGlyphCaption(HDC dc, const TGlyphCaption& what, const RECT& bounds);

TGlyphLayout GlyphLayoutFromText(const rt::WideString& text);

}  // namespace skin
