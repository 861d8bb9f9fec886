#include "runtime/gui/panel.h"
#include "runtime/wide_text_win.h"

namespace gui {

namespace {

// A bevel of width lines: the top and left edges in one colour, the bottom
// and right ones in the other; rect shrinks by the width.
void Frame3D(HDC dc, RECT& rect, TColor topLeft, TColor bottomRight, int width) {
  UniqueBrush light(CreateSolidBrush(ColorToRGB(topLeft)));
  UniqueBrush dark(CreateSolidBrush(ColorToRGB(bottomRight)));
  for (int i = 0; i < width; ++i) {
    const RECT top = {rect.left, rect.top, rect.right - 1, rect.top + 1};
    const RECT left = {rect.left, rect.top, rect.left + 1, rect.bottom - 1};
    const RECT bottom = {rect.left, rect.bottom - 1, rect.right, rect.bottom};
    const RECT right = {rect.right - 1, rect.top, rect.right, rect.bottom};
    FillRect(dc, &top, light.get());
    FillRect(dc, &left, light.get());
    FillRect(dc, &bottom, dark.get());
    FillRect(dc, &right, dark.get());
    InflateRect(&rect, -1, -1);
  }
}

void DrawBevel(HDC dc, RECT& rect, TBevelCut cut, int width) {
  switch (cut) {
    case bvLowered:
      Frame3D(dc, rect, rt::clBtnShadow, rt::clBtnHighlight, width);
      break;
    case bvRaised:
      Frame3D(dc, rect, rt::clBtnHighlight, rt::clBtnShadow, width);
      break;
    case bvSpace:
      InflateRect(&rect, -width, -width);
      break;
    case bvNone:
      break;
  }
}

}  // namespace

TPanel::TPanel(rt::TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::BevelsChanged() {
  Realign();
  Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut value) {
  bevelOuter_ = value;
  BevelsChanged();
}

void TPanel::SetBevelInner(TBevelCut value) {
  bevelInner_ = value;
  BevelsChanged();
}

void TPanel::SetBevelWidth(int32_t value) {
  bevelWidth_ = value < 1 ? 1 : value;
  BevelsChanged();
}

void TPanel::SetBorderWidth(int32_t value) {
  borderWidth_ = value < 0 ? 0 : value;
  BevelsChanged();
}

int32_t TPanel::FrameWidth() const {
  return (bevelOuter_ != bvNone ? bevelWidth_ : 0) + borderWidth_ +
         (bevelInner_ != bvNone ? bevelWidth_ : 0);
}

RECT TPanel::ClientRect() const {
  RECT r = TWinControl::ClientRect();
  const int32_t frame = FrameWidth();
  InflateRect(&r, -frame, -frame);
  return r;
}

void TPanel::Paint(HDC dc) {
  RECT r = TWinControl::ClientRect();
  DrawBevel(dc, r, bevelOuter_, bevelWidth_);
  InflateRect(&r, -borderWidth_, -borderWidth_);
  DrawBevel(dc, r, bevelInner_, bevelWidth_);
  const WideString caption = Caption();
  if (caption.empty()) return;
  TSelectObject font(dc, Font().Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font().Color()));
  DrawTextW(dc, rt::AsWchar(caption), static_cast<int>(caption.size()),
            &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

}  // namespace gui
