#include "runtime/gui/group_box.h"
#include "runtime/wide_text_win.h"

#include <algorithm>

namespace gui {

namespace {

constexpr int32_t kFrameInset = 2;
constexpr int32_t kCaptionIndent = 8;

}  // namespace

TGroupBox::TGroupBox(rt::TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }

int32_t TGroupBox::CaptionHeight() const {
  TWindowDc screen(nullptr);
  TSelectObject font(screen.get(), Font().Handle());
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.get(), &metrics);
  return metrics.tmHeight;
}

RECT TGroupBox::ClientRect() const {
  RECT r = TWinControl::ClientRect();
  r.left += kFrameInset;
  r.right -= kFrameInset;
  r.top += CaptionHeight() + kFrameInset;
  r.bottom -= kFrameInset;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

void TGroupBox::Paint(HDC dc) {
  const RECT client = TWinControl::ClientRect();
  const int32_t lineHeight = CaptionHeight();
  // The frame's top line runs through the middle of the caption.
  RECT frame = client;
  frame.top += lineHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const WideString caption = Caption();
  if (caption.empty()) return;
  TSelectObject font(dc, Font().Handle());
  RECT text = {client.left + kCaptionIndent, client.top, client.right - kCaptionIndent, client.top + lineHeight};
  const auto* chars = rt::AsWchar(caption);
  const int length = static_cast<int>(caption.size());
  DrawTextW(dc, chars, length, &text, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
  text.right = std::min<LONG>(text.right, client.right - kCaptionIndent);
  // The caption cuts the frame's top line, with a little room each side.
  RECT background = {text.left - 2, text.top, text.right + 2, text.bottom};
  FillRect(dc, &background, ColorBrush());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : rt::clGrayText));
  DrawTextW(dc, chars, length, &text, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void TGroupBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      // The caption's height moves the client area.
      TWinControl::WndProc(message);
      Realign();
      Invalidate();
      return;
  }
  TWinControl::WndProc(message);
}

TRadioGroup::TRadioGroup(rt::TComponent* owner) : TGroupBox(owner) {}

std::vector<WideString> TRadioGroup::Items() const {
  std::vector<WideString> items;
  for (const TRadioButton* button : buttons_) items.push_back(button->Caption());
  return items;
}

void TRadioGroup::SetItems(const std::vector<WideString>& items) {
  while (buttons_.size() > items.size()) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  while (buttons_.size() < items.size()) {
    auto* button = new TRadioButton(this);
    button->SetParentColor(true);
    button->SetParent(this);
    button->OnClick = [this, button](rt::TObject*) { ButtonClicked(button); };
    buttons_.push_back(button);
  }
  for (size_t i = 0; i < items.size(); ++i) buttons_[i]->SetCaption(items[i]);
  if (itemIndex_ >= static_cast<int32_t>(buttons_.size())) itemIndex_ = -1;
  SetItemIndex(itemIndex_);
  ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int32_t value) {
  if (value < -1 || value >= static_cast<int32_t>(buttons_.size())) value = -1;
  itemIndex_ = value;
  if (value >= 0) {
    buttons_[static_cast<size_t>(value)]->SetChecked(true);
  } else {
    for (TRadioButton* button : buttons_) button->SetChecked(false);
  }
}

void TRadioGroup::SetColumns(int32_t value) {
  columns_ = std::clamp(value, 1, 16);
  ArrangeButtons();
}

void TRadioGroup::ButtonClicked(TRadioButton* button) {
  const auto it = std::find(buttons_.begin(), buttons_.end(), button);
  if (it == buttons_.end()) return;
  itemIndex_ = static_cast<int32_t>(it - buttons_.begin());
  Click();
}

// Items fill the columns top to bottom; each button gets an equal share of
// the area inside the frame.
void TRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const RECT area = ClientRect();
  const int32_t count = static_cast<int32_t>(buttons_.size());
  const int32_t rows = (count + columns_ - 1) / columns_;
  const int32_t columnWidth = (area.right - area.left - 8) / columns_;
  const int32_t rowHeight = (area.bottom - area.top) / rows;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t column = i / rows;
    const int32_t row = i % rows;
    buttons_[static_cast<size_t>(i)]->SetBounds(area.left + 6 + column * columnWidth, area.top + row * rowHeight,
                                                columnWidth, std::max(rowHeight, 1));
  }
}

void TRadioGroup::BoundsChanged(const RECT& previous) {
  TGroupBox::BoundsChanged(previous);
  ArrangeButtons();
}

void TRadioGroup::WndProc(TMessage& message) {
  TGroupBox::WndProc(message);
  if (message.Msg == CM_FONTCHANGED) ArrangeButtons();
}

}  // namespace gui
