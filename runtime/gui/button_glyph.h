// The picture and caption of bit buttons and speed buttons. The glyph
// bitmap holds NumGlyphs frames side by side: up, disabled, clicked, down.
// Layout puts the glyph on one side of the caption; Margin is the distance
// from that edge of the button (-1 centres glyph and caption together) and
// Spacing the gap between the two.
#pragma once

#include <windows.h>

#include <functional>

#include "runtime/gui/graphics.h"

namespace gui {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Which frame of the glyph a button in that state shows.
enum TGlyphFrame { gfUp, gfDisabled, gfClicked, gfDown };

class TButtonGlyph {
 public:
  TButtonGlyph();
  TButtonGlyph(const TButtonGlyph&) = delete;
  TButtonGlyph& operator=(const TButtonGlyph&) = delete;

  TPicture& Picture() { return picture_; }
  int32_t NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int32_t value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t value);
  int32_t Spacing() const { return spacing_; }
  void SetSpacing(int32_t value);

  // Draws the glyph's frame (the first one when the bitmap has fewer) and
  // the caption inside area, in font and textColor.
  void Draw(HDC dc, const RECT& area, const WideString& caption, HFONT font, COLORREF textColor,
            TGlyphFrame frame) const;

  // The picture or a placement setting changed.
  std::function<void()> OnChange;

 private:
  void Changed();

  TPicture picture_;
  int32_t numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
};

// The glyph properties of bit buttons and speed buttons, on the glyph the
// button draws.
class TGlyphProperties {
 public:
  TPicture& Glyph() { return glyph_.Picture(); }
  TButtonGlyph& GlyphLayout() { return glyph_; }
  int32_t NumGlyphs() const { return glyph_.NumGlyphs(); }
  void SetNumGlyphs(int32_t value) { glyph_.SetNumGlyphs(value); }
  TButtonLayout Layout() const { return glyph_.Layout(); }
  void SetLayout(TButtonLayout value) { glyph_.SetLayout(value); }
  int32_t Margin() const { return glyph_.Margin(); }
  void SetMargin(int32_t value) { glyph_.SetMargin(value); }
  int32_t Spacing() const { return glyph_.Spacing(); }
  void SetSpacing(int32_t value) { glyph_.SetSpacing(value); }

 protected:
  TGlyphProperties() = default;
  ~TGlyphProperties() = default;

  TButtonGlyph glyph_;
};

}  // namespace gui
