#include "runtime/gui/menus.h"

#include <algorithm>
#include <set>

#include "runtime/exceptions.h"
#include "runtime/gui/form.h"
#include "runtime/gui/image_list.h"
#include "runtime/wide_text_win.h"

namespace gui {

namespace {

// Command ids of menu items. Dialog and control ids live below 0x1000,
// so items start there; freed ids are handed out again first, lowest
// first, so that a long-running program that rebuilds menus never runs
// out of the 16 bits WM_COMMAND carries.
class TCommandPool {
 public:
  WORD Allocate() {
    if (!freed_.empty()) {
      const WORD id = *freed_.begin();
      freed_.erase(freed_.begin());
      return id;
    }
    if (next_ > kLast) throw rt::Exception(u"Plus d'identifiant de commande de menu libre");
    return static_cast<WORD>(next_++);
  }
  void Free(WORD id) {
    if (id) freed_.insert(id);
  }

 private:
  static constexpr unsigned kLast = 0xFFFF;
  unsigned next_ = 0x1000;
  std::set<WORD> freed_;
};

TCommandPool& CommandPool() {
  static TCommandPool pool;
  return pool;
}

rt::WideString KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return rt::WideString(1, static_cast<char16_t>(key));
  if (key >= VK_F1 && key <= VK_F24) {
    const int n = key - VK_F1 + 1;
    rt::WideString text = u"F";
    if (n >= 10) text += static_cast<char16_t>(u'0' + n / 10);
    text += static_cast<char16_t>(u'0' + n % 10);
    return text;
  }
  switch (key) {
    case VK_BACK: return u"BkSp";
    case VK_TAB: return u"Tab";
    case VK_RETURN: return u"Enter";
    case VK_ESCAPE: return u"Esc";
    case VK_SPACE: return u"Space";
    case VK_PRIOR: return u"PgUp";
    case VK_NEXT: return u"PgDn";
    case VK_END: return u"End";
    case VK_HOME: return u"Home";
    case VK_LEFT: return u"Left";
    case VK_UP: return u"Up";
    case VK_RIGHT: return u"Right";
    case VK_DOWN: return u"Down";
    case VK_INSERT: return u"Ins";
    case VK_DELETE: return u"Del";
    default: break;
  }
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
    rt::WideString text = u"Num ";
    text += static_cast<char16_t>(u'0' + key - VK_NUMPAD0);
    return text;
  }
  return {};
}

// The item an owner-draw message is about: found by the entry's command
// id and accepted only when the item data agrees, so that a stale or
// foreign entry is never taken for one of ours.
TMenuItem* OwnerDrawnItem(TMenu* menu, UINT command, ULONG_PTR data) {
  if (!menu) return nullptr;
  TMenuItem* item = menu->FindItem(command);
  return item && reinterpret_cast<ULONG_PTR>(item) == data ? item : nullptr;
}

constexpr int kItemMargin = 4;
constexpr int kSeparatorHeight = 8;

}  // namespace

UniqueFont MenuFont(bool bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
  if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  return UniqueFont(CreateFontIndirectW(&metrics.lfMenuFont));
}

rt::WideString ShortCutToText(int32_t shortCut) {
  const WORD key = static_cast<WORD>(shortCut & 0xFF);
  if (!key) return {};
  rt::WideString text;
  if (shortCut & scCtrl) text += u"Ctrl+";
  if (shortCut & scShift) text += u"Shift+";
  if (shortCut & scAlt) text += u"Alt+";
  return text + KeyName(key);
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(rt::TComponent* owner) : rt::TComponent(owner), command_(CommandPool().Allocate()) {}

TMenuItem::~TMenuItem() {
  if (parent_) parent_->Remove(this);
  for (TMenuItem* item : items_) item->parent_ = nullptr;
  items_.clear();
  FreeHandle();
  CommandPool().Free(command_);
}

TMenu* TMenuItem::Menu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

void TMenuItem::SetCaption(const rt::WideString& value) {
  if (value == caption_) return;
  caption_ = value;
  Changed();
}
void TMenuItem::SetShortCut(int32_t value) {
  if (value == shortCut_) return;
  shortCut_ = value;
  Changed();
}
void TMenuItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}
void TMenuItem::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Changed();
}
void TMenuItem::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}
void TMenuItem::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  Changed();
}
void TMenuItem::SetImageIndex(int32_t value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Changed();
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) throw rt::Exception(u"Élément de menu nul");
  for (const TMenuItem* up = this; up; up = up->parent_)
    if (up == item) throw rt::Exception(u"Un élément de menu ne peut pas se contenir lui-même");
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  ItemsChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
  const auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  ItemsChanged();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  const auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::FindItem(UINT command) {
  if (command_ == command && parent_) return this;
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->FindItem(command)) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindItemByHandle(HMENU menu) {
  if (menu && handle_.get() == menu) return this;
  for (TMenuItem* item : items_)
    if (TMenuItem* found = item->FindItemByHandle(menu)) return found;
  return nullptr;
}

HMENU TMenuItem::Handle() {
  if (!handle_) {
    const TMenu* menu = menu_;
    handle_.reset(menu && menu->IsBar() ? CreateMenu() : CreatePopupMenu());
    if (!handle_) throw rt::Exception(u"Impossible de créer le menu");
    RebuildEntries();
  }
  return handle_.get();
}

void TMenuItem::Changed() {
  if (parent_) {
    parent_->RebuildEntries();
    if (TMenu* menu = Menu()) menu->MenuChanged();
  }
}

void TMenuItem::ItemsChanged() {
  // An item's entry shows whether it has sub-items, so the parent's
  // entries change too.
  RebuildEntries();
  if (items_.empty() && parent_) FreeHandle();
  if (parent_)
    Changed();
  else if (menu_)
    menu_->MenuChanged();
}

// Entries are taken out with RemoveMenu, never DeleteMenu: DeleteMenu and
// DestroyMenu destroy a popup entry's menu too, and that menu belongs to
// the sub-item, which destroys it itself.
void TMenuItem::ClearEntries() {
  if (!handle_) return;
  while (GetMenuItemCount(handle_.get()) > 0) RemoveMenu(handle_.get(), 0, MF_BYPOSITION);
}

void TMenuItem::FreeHandle() {
  ClearEntries();
  handle_.reset();
}

MENUITEMINFOW TMenuItem::EntryInfo(TMenuItem* item, const TMenu* menu, rt::WideString& text) const {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
  info.wID = item->command_;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
  if (item->IsSeparator()) info.fType |= MFT_SEPARATOR;
  if (menu && menu->OwnerDraw()) {
    info.fType |= MFT_OWNERDRAW;
  } else if (!item->IsSeparator()) {
    text = item->caption_;
    if (item->shortCut_ && !(menu && menu->IsBar() && !parent_)) {
      text += u'\t';
      text += item->ShortCutText();
    }
    info.fMask |= MIIM_STRING;
    info.dwTypeData = rt::AsWchar(text.data());
    info.cch = static_cast<UINT>(text.size());
  }
  if (menu && menu->IsRightToLeft()) {
    info.fType |= MFT_RIGHTORDER;
    if (menu->IsBar() && !parent_) info.fType |= MFT_RIGHTJUSTIFY;
  }
  if (!item->enabled_) info.fState |= MFS_GRAYED;
  if (item->checked_) info.fState |= MFS_CHECKED;
  if (item->default_) info.fState |= MFS_DEFAULT;
  if (!item->items_.empty()) info.hSubMenu = item->Handle();
  return info;
}

void TMenuItem::RebuildEntries() {
  if (!handle_) return;
  ClearEntries();
  const TMenu* menu = Menu();
  UINT position = 0;
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    rt::WideString text;
    const MENUITEMINFOW info = EntryInfo(item, menu, text);
    if (!InsertMenuItemW(handle_.get(), position++, TRUE, &info))
      throw rt::Exception(u"Impossible d'ajouter l'entrée de menu");
  }
}

// -------------------------------------------------------------------- TMenu

TMenu::TMenu(rt::TComponent* owner) : rt::TComponent(owner) { root_.menu_ = this; }

TMenu::~TMenu() { SetImages(nullptr); }

void TMenu::RebuildAll(TMenuItem* item) {
  item->RebuildEntries();
  for (TMenuItem* sub : item->items_) RebuildAll(sub);
}

void TMenu::SetOwnerDraw(bool value) {
  if (value == ownerDraw_) return;
  ownerDraw_ = value;
  RebuildAll(&root_);
  MenuChanged();
}

void TMenu::SetBiDiMode(TBiDiMode value) {
  if (value == biDiMode_) return;
  biDiMode_ = value;
  RebuildAll(&root_);
  MenuChanged();
}

void TMenu::SetImages(TImageList* images) {
  if (images == images_) return;
  if (images_) images_->RemoveListener(imagesListener_);
  images_ = images;
  imagesListener_ = 0;
  if (images_)
    imagesListener_ = images_->AddListener([this](bool destroyed) {
      if (destroyed) images_ = nullptr;
      MenuChanged();
    });
  MenuChanged();
}

TMainMenu::TMainMenu(rt::TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
  if (form_ && form_->Menu() == this) form_->SetMenu(nullptr);
}

void TMainMenu::MenuChanged() {
  if (!form_ || !form_->HandleAllocated()) return;
  DrawMenuBar(form_->WindowHandle());
  // A bar that the system does not draw learns of the change here.
  form_->Perform(CM_MENUCHANGED);
}

TPopupMenu::TPopupMenu(rt::TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() {
  if (form_ && form_->PopupMenu() == this) form_->SetPopupMenu(nullptr);
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  HWND window = nullptr;
  for (rt::TComponent* up = Owner(); up && !window; up = up->Owner())
    if (auto* form = dynamic_cast<TForm*>(up)) window = form->Handle();
  if (!window) window = GetActiveWindow();
  // The menu must belong to the foreground window's thread, or it stays
  // open when the user clicks elsewhere.
  SetForegroundWindow(window);
  const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (IsRightToLeft() ? TPM_RIGHTALIGN | TPM_LAYOUTRTL : TPM_LEFTALIGN);
  const UINT command = static_cast<UINT>(TrackPopupMenuEx(Handle(), flags, x, y, window, nullptr));
  PostMessageW(window, WM_NULL, 0, 0);
  if (command)
    if (TMenuItem* item = FindItem(command)) item->Click();
}

// ------------------------------------------------------- the form's side

bool HandleMenuCommand(TMenu* menu, WPARAM wParam) {
  if (!menu || HIWORD(wParam) != 0) return false;
  TMenuItem* item = menu->FindItem(LOWORD(wParam));
  if (!item) return false;
  item->Click();
  return true;
}

void MeasureMenuEntry(HDC dc, const rt::WideString& caption, const rt::WideString& shortCut, SIZE image, int& width,
                      int& height) {
  width = 0;
  height = kSeparatorHeight;
  if (caption == u"-") return;
  rt::WideString text = caption;
  if (!shortCut.empty()) text.append(u"    ").append(shortCut);
  const std::wstring wide = rt::WstringFromWide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  width = size.cx + 2 * kItemMargin;
  height = std::max<int>(size.cy, GetSystemMetrics(SM_CYMENUSIZE));
  if (image.cx > 0) {
    width += image.cx + kItemMargin;
    height = std::max<int>(height, image.cy + 2);
  }
}

bool MeasureMenuItem(TMenu* menu, HWND window, MEASUREITEMSTRUCT& measure) {
  if (measure.CtlType != ODT_MENU) return false;
  TMenuItem* item = OwnerDrawnItem(menu, measure.itemID, measure.itemData);
  if (!item) return false;
  TWindowDc dc(window);
  const UniqueFont font = MenuFont();
  TSelectObject selectFont(dc.get(), font.get());
  SIZE image{};
  if (TImageList* images = menu->Images(); images && item->ImageIndex() >= 0) image = {images->Width(), images->Height()};
  int width = 0;
  int height = 0;
  MeasureMenuEntry(dc.get(), item->Caption(), item->ShortCutText(), image, width, height);
  if (item->OnMeasureItem) item->OnMeasureItem(item, dc.get(), width, height);
  measure.itemWidth = static_cast<UINT>(std::max(width, 0));
  measure.itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

bool DrawMenuItem(TMenu* menu, DRAWITEMSTRUCT& draw) {
  if (draw.CtlType != ODT_MENU) return false;
  TMenuItem* item = OwnerDrawnItem(menu, draw.itemID, draw.itemData);
  if (!item) return false;
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  if (item->OnDrawItem) {
    item->OnDrawItem(item, draw.hDC, draw.rcItem, selected);
    return true;
  }
  HDC dc = draw.hDC;
  RECT r = draw.rcItem;
  FillRect(dc, &r, GetSysColorBrush(selected && !item->IsSeparator() ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (item->IsSeparator()) {
    RECT line = {r.left + kItemMargin, (r.top + r.bottom) / 2 - 1, r.right - kItemMargin, (r.top + r.bottom) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return true;
  }
  TSavedDc saved(dc);
  const UniqueFont font = MenuFont();
  TSelectObject selectFont(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(!item->Enabled() ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  r.left += kItemMargin;
  r.right -= kItemMargin;
  if (TImageList* images = menu->Images(); images && item->ImageIndex() >= 0) {
    images->Draw(dc, r.left, (r.top + r.bottom - images->Height()) / 2, item->ImageIndex(), item->Enabled());
    r.left += images->Width() + kItemMargin;
  }
  const UINT rtl = menu->IsRightToLeft() ? DT_RTLREADING : 0;
  const std::wstring caption = rt::WstringFromWide(item->Caption());
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
            DT_SINGLELINE | DT_VCENTER | rtl | (menu->IsRightToLeft() ? DT_RIGHT : DT_LEFT));
  if (item->ShortCut()) {
    const std::wstring keys = rt::WstringFromWide(item->ShortCutText());
    DrawTextW(dc, keys.c_str(), static_cast<int>(keys.size()), &r,
              DT_SINGLELINE | DT_VCENTER | rtl | (menu->IsRightToLeft() ? DT_LEFT : DT_RIGHT));
  }
  return true;
}

}  // namespace gui
