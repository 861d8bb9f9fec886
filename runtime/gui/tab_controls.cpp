#include "runtime/gui/tab_controls.h"

#include <commctrl.h>

#include "runtime/wide_text_win.h"

namespace gui {

TCustomTabControl::TCustomTabControl(rt::TComponent* owner) : TSystemControl(owner) {
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
  LoadCommonControls();
  TSystemControl::CreateParams(params);
  params.BaseClass = WC_TABCONTROLW;
  params.Style |= WS_CLIPCHILDREN;
}

void TCustomTabControl::HandleCreated() { PushTabs(); }

void TCustomTabControl::PushTabs() {
  if (!HandleAllocated()) return;
  SendToWindow(TCM_DELETEALLITEMS);
  for (size_t i = 0; i < tabs_.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(rt::AsWchar(tabs_[i]));
    SendToWindow(TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  SendToWindow(TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_));
}

void TCustomTabControl::SetTabCaptions(const std::vector<WideString>& tabs) {
  tabIndex_ = TabIndex();
  tabs_ = tabs;
  const auto count = static_cast<int32_t>(tabs_.size());
  if (tabIndex_ >= count) tabIndex_ = count - 1;
  if (tabIndex_ < 0 && count > 0) tabIndex_ = 0;
  PushTabs();
}

int32_t TCustomTabControl::TabIndex() const {
  return HandleAllocated() ? static_cast<int32_t>(SendToWindow(TCM_GETCURSEL)) : tabIndex_;
}

void TCustomTabControl::SetTabIndex(int32_t value) {
  if (value < -1 || value >= static_cast<int32_t>(tabs_.size())) value = -1;
  tabIndex_ = value;
  SendToWindow(TCM_SETCURSEL, static_cast<WPARAM>(value));
}

RECT TCustomTabControl::DisplayRect() const {
  RECT r = {0, 0, Width(), Height()};
  if (HandleAllocated()) {
    GetClientRect(WindowHandle(), &r);
    SendToWindow(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  } else {
    // Until the control can say, roughly where one row of tabs leaves it.
    InflateRect(&r, -4, -4);
    r.top += 20;
  }
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_NOTIFY:
      if (reinterpret_cast<NMHDR*>(message.LParam)->code == TCN_SELCHANGE) {
        tabIndex_ = TabIndex();
        Change();
        message.Result = 0;
        return;
      }
      break;
  }
  TSystemControl::WndProc(message);
}

TTabSet::TTabSet(rt::TComponent* owner) : TCustomTabControl(owner) { SetBounds(0, 0, 185, 21); }

void TTabSet::CreateParams(TCreateParams& params) {
  TCustomTabControl::CreateParams(params);
  params.Style |= TCS_BOTTOM;
}

TTabSheet::TTabSheet(rt::TComponent* owner) : TWinControl(owner) {
  SetParentColor(true);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (PageControl()) SetParent(nullptr);
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

void TTabSheet::SetParent(TWinControl* parent) {
  TPageControl* previous = PageControl();
  TWinControl::SetParent(parent);
  if (previous && previous != static_cast<TWinControl*>(parent)) previous->PagesChanged();
  if (TPageControl* now = PageControl(); now && now != previous) now->PagesChanged();
}

int32_t TTabSheet::PageIndex() const {
  const TPageControl* pages = PageControl();
  if (!pages) return -1;
  const auto sheets = pages->Sheets();
  for (size_t i = 0; i < sheets.size(); ++i)
    if (sheets[i] == this) return static_cast<int32_t>(i);
  return -1;
}

void TTabSheet::WndProc(TMessage& message) {
  TWinControl::WndProc(message);
  if (message.Msg == CM_TEXTCHANGED)
    if (TPageControl* pages = PageControl()) pages->PagesChanged();
}

TPageControl::TPageControl(rt::TComponent* owner) : TCustomTabControl(owner) {}

std::vector<TTabSheet*> TPageControl::Sheets() const {
  std::vector<TTabSheet*> sheets;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* sheet = dynamic_cast<TTabSheet*>(Controls(i))) sheets.push_back(sheet);
  return sheets;
}

TTabSheet* TPageControl::ActivePage() const {
  const int32_t index = ActivePageIndex();
  return index >= 0 && index < PageCount() ? Pages(index) : nullptr;
}

void TPageControl::SetActivePageIndex(int32_t value) {
  SetTabIndex(value);
  ShowActivePage();
}

void TPageControl::PagesChanged() {
  std::vector<WideString> captions;
  for (const TTabSheet* sheet : Sheets()) captions.push_back(sheet->Caption());
  SetTabCaptions(captions);
  ShowActivePage();
}

void TPageControl::ShowActivePage() {
  const RECT area = DisplayRect();
  const TTabSheet* active = ActivePage();
  for (TTabSheet* sheet : Sheets()) {
    sheet->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
    sheet->SetVisible(sheet == active);
  }
}

void TPageControl::HandleCreated() {
  TCustomTabControl::HandleCreated();
  ShowActivePage();
}

void TPageControl::BoundsChanged(const RECT& previous) {
  TCustomTabControl::BoundsChanged(previous);
  ShowActivePage();
}

void TPageControl::Change() {
  ShowActivePage();
  TCustomTabControl::Change();
}

void TPageControl::WndProc(TMessage& message) {
  TCustomTabControl::WndProc(message);
  // The tabs' height follows the font.
  if (message.Msg == CM_FONTCHANGED) ShowActivePage();
}

}  // namespace gui
