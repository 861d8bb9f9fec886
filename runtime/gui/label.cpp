#include "runtime/gui/label.h"
#include "runtime/wide_text_win.h"

namespace gui {

TLabel::TLabel(rt::TComponent* owner) : TGraphicControl(owner) {
  parentColor_ = true;
  SetBounds(0, 0, 65, 17);
}

void TLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool value) {
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetTransparent(bool value) {
  transparent_ = value;
  Invalidate();
}

void TLabel::SetAlignment(TAlignment value) {
  alignment_ = value;
  Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

UINT TLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  return flags;
}

// The size is measured on the screen with the label's font; the position
// stays, except that a right-aligned label keeps its right edge.
void TLabel::AdjustBounds() {
  if (!autoSize_ || Loading()) return;
  WideString text = Caption();
  if (text.empty()) text.push_back(u' ');
  TWindowDc screen(nullptr);
  if (!screen.get()) return;
  TSelectObject font(screen.get(), Font().Handle());
  RECT r = {0, 0, wordWrap_ ? Width() : 0, 0};
  DrawTextW(screen.get(), rt::AsWchar(text), static_cast<int>(text.size()),
            &r, TextFlags() | DT_CALCRECT);
  const int32_t width = wordWrap_ ? Width() : r.right - r.left;
  const int32_t left = alignment_ == taRightJustify && !wordWrap_ ? Left() + Width() - width : Left();
  SetBounds(left, Top(), width, r.bottom - r.top);
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::Paint(HDC dc) {
  RECT r = ClientRect();
  if (!transparent_) {
    FillRect(dc, &r, ColorBrush());
  }
  const WideString text = Caption();
  if (text.empty()) return;
  TSelectObject font(dc, Font().Handle());
  SetBkMode(dc, TRANSPARENT);
  const auto* chars = rt::AsWchar(text);
  const int length = static_cast<int>(text.size());
  if (Enabled()) {
    SetTextColor(dc, ColorToRGB(Font().Color()));
    DrawTextW(dc, chars, length, &r, TextFlags());
  } else {
    // The engraved look of disabled text.
    OffsetRect(&r, 1, 1);
    SetTextColor(dc, ColorToRGB(rt::clBtnHighlight));
    DrawTextW(dc, chars, length, &r, TextFlags());
    OffsetRect(&r, -1, -1);
    SetTextColor(dc, ColorToRGB(rt::clBtnShadow));
    DrawTextW(dc, chars, length, &r, TextFlags());
  }
}

void TLabel::WndProc(TMessage& message) {
  TGraphicControl::WndProc(message);
  if (message.Msg == CM_TEXTCHANGED || message.Msg == CM_FONTCHANGED) AdjustBounds();
}

}  // namespace gui
