#include "runtime/gui/combo_box.h"

#include <algorithm>

#include "runtime/wide_text_win.h"

namespace gui {

namespace {

DWORD StyleBits(TComboBoxStyle style) {
  switch (style) {
    case csSimple:
      return CBS_SIMPLE;
    case csDropDownList:
      return CBS_DROPDOWNLIST;
    case csDropDown:
      break;
  }
  return CBS_DROPDOWN;
}

}  // namespace

TComboBox::TComboBox(rt::TComponent* owner) : TSystemControl(owner) {
  SetBounds(0, 0, 145, 21);
  SetColor(rt::clWindow);
  SetTabStop(true);
}

void TComboBox::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  params.BaseClass = L"COMBOBOX";
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.Style |= CBS_AUTOHSCROLL | WS_VSCROLL | StyleBits(style_);
  params.Height = WindowHeight();
}

// A dropping combo box takes the height of the closed box plus its list as
// its window height; the system keeps the closed height for itself.
int32_t TComboBox::WindowHeight() const {
  if (style_ == csSimple) return Height();
  int32_t line = -Font().Height() + 4;
  if (HandleAllocated()) line = static_cast<int32_t>(SendToWindow(CB_GETITEMHEIGHT, 0));
  return Height() + std::max(line, 1) * std::max(dropDownCount_, 1) + 2;
}

void TComboBox::HandleCreated() {
  for (const WideString& item : items_) SendToWindow(CB_ADDSTRING, 0, TextParam(item));
  SendToWindow(CB_SETCURSEL, static_cast<WPARAM>(itemIndex_));
  if (itemIndex_ < 0 && style_ != csDropDownList && !text_.empty())
    SetWindowTextW(WindowHandle(), rt::AsWchar(text_));
}

void TComboBox::BoundsChanged(const RECT& previous) {
  if (HandleAllocated())
    SetWindowPos(WindowHandle(), nullptr, Left(), Top(), Width(), WindowHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  Realign();
  TControl::BoundsChanged(previous);
}

void TComboBox::SetStyle(TComboBoxStyle value) {
  if (value == style_) return;
  itemIndex_ = ItemIndex();
  style_ = value;
  // The system reads the kind of combo box only when it makes the window.
  RecreateWindow();
}

void TComboBox::SetItems(const std::vector<WideString>& items) {
  items_ = items;
  if (itemIndex_ >= static_cast<int32_t>(items_.size())) itemIndex_ = -1;
  if (!HandleAllocated()) return;
  const int32_t selected = ItemIndex();
  SendToWindow(CB_RESETCONTENT);
  for (const WideString& item : items_) SendToWindow(CB_ADDSTRING, 0, TextParam(item));
  if (selected >= 0 && selected < static_cast<int32_t>(items_.size()))
    SendToWindow(CB_SETCURSEL, static_cast<WPARAM>(selected));
}

int32_t TComboBox::ItemIndex() const {
  return HandleAllocated() ? static_cast<int32_t>(SendToWindow(CB_GETCURSEL)) : itemIndex_;
}

void TComboBox::SetItemIndex(int32_t value) {
  if (value < -1 || value >= static_cast<int32_t>(items_.size())) value = -1;
  itemIndex_ = value;
  if (HandleAllocated()) SendToWindow(CB_SETCURSEL, static_cast<WPARAM>(value));
  if (value >= 0) text_ = items_[static_cast<size_t>(value)];
}

void TComboBox::SetDropDownCount(int32_t value) {
  dropDownCount_ = std::max(value, 1);
  BoundsChanged(BoundsRect());
}

void TComboBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      switch (HIWORD(message.WParam)) {
        case CBN_EDITCHANGE:
        case CBN_SELCHANGE:
          if (OnChange) OnChange(this);
          break;
      }
      return;
    // The edit box and the list inside the combo box ask it for their
    // colours; the closed box of a drop-down list asks the parent.
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC:
      AnswerControlColors(message);
      return;
    case WM_SETTEXT:
      // A drop-down list shows only its items: the text selects one.
      if (style_ == csDropDownList && message.LParam) {
        const LRESULT found = SendToWindow(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), message.LParam);
        SendToWindow(CB_SETCURSEL, static_cast<WPARAM>(found));
        text_ = reinterpret_cast<const char16_t*>(message.LParam);
        message.Result = found != CB_ERR;
        return;
      }
      break;
  }
  TSystemControl::WndProc(message);
}

}  // namespace gui
