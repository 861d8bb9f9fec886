#include "runtime/wide_text_win.h"
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

void TSystemPopup::SetOwnerDraw(bool value) {
  if (value == ownerDraw_) return;
  ownerDraw_ = value;
  menu_.reset();
}

const TSystemPopup::TItem* TSystemPopup::Find(UINT id, ULONG_PTR itemData) const {
  for (const TItem& item : items_)
    if (reinterpret_cast<ULONG_PTR>(&item) == itemData && Id(item) == id) return &item;
  return nullptr;
}

UINT TSystemPopup::Id(const TItem& item) { return item.Tag == stSeparator ? 0 : kFirstId + static_cast<UINT>(item.Tag); }

void TSystemPopup::Rebuild() {
  menu_.reset(CreatePopupMenu());
  if (!menu_) return;
  UINT position = 0;
  for (const TItem& item : items_) {
    rt::WideString text = item.Caption;
    if (!item.ShortCut.empty()) text += u"\t" + item.ShortCut;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    info.wID = Id(item);
    // The items do not move while the menu exists: Add drops the menu.
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    info.fState = item.Enabled ? MFS_ENABLED : MFS_GRAYED;
    if (item.Tag == stSeparator) {
      info.fType = MFT_SEPARATOR | (ownerDraw_ ? MFT_OWNERDRAW : 0);
    } else if (ownerDraw_) {
      info.fType = MFT_OWNERDRAW;
    } else {
      info.fType = MFT_STRING;
      info.fMask |= MIIM_STRING;
      info.dwTypeData = rt::AsWchar(text.data());
    }
    InsertMenuItemW(menu_.get(), position++, TRUE, &info);
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
