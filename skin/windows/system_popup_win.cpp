#include "skin/windows/system_popup_win.h"

namespace skin {
namespace {

// Item ids are the Tags offset, so that 0 keeps meaning "nothing chosen".
constexpr UINT kFirstId = 1;

}  // namespace

void TSystemPopup::Clear() {
  if (tracking_) {
    clearWhenClosed_ = true;
    return;
  }
  items_.clear();
  menu_.reset();
}

void TSystemPopup::Add(TItem item) {
  items_.push_back(std::move(item));
  menu_.reset();
}

void TSystemPopup::Enable(int tag, bool enabled) {
  for (TItem& item : items_)
    if (item.Tag == tag) item.Enabled = enabled;
  if (!menu_) return;
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].Tag == tag)
      EnableMenuItem(menu_.get(), static_cast<UINT>(i), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

void TSystemPopup::Rebuild() {
  menu_.reset(CreatePopupMenu());
  if (!menu_) return;
  for (const TItem& item : items_) {
    if (item.Tag == stSeparator) {
      AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    rt::WideString text = item.Caption;
    if (!item.ShortCut.empty()) text += u"\t" + item.ShortCut;
    AppendMenuW(menu_.get(), MF_STRING | (item.Enabled ? MF_ENABLED : MF_GRAYED),
                kFirstId + static_cast<UINT>(item.Tag), reinterpret_cast<const wchar_t*>(text.c_str()));
  }
}

int TSystemPopup::Popup(HWND owner, POINT at) {
  if (!menu_) Rebuild();
  if (!menu_) return -1;
  tracking_ = true;
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu_.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  tracking_ = false;
  if (clearWhenClosed_) {
    clearWhenClosed_ = false;
    Clear();
    return -1;
  }
  return chosen >= kFirstId ? static_cast<int>(chosen - kFirstId) : -1;
}

}  // namespace skin
