#include "skin/menus/owner_drawn_menus_win.h"

#include <functional>

#include "runtime/gui/form.h"
#include "skin/menus/menu_entries_win.h"
#include "skin/menus/menu_item_painting_win.h"
#include "skin/windows/skin_manager_win.h"

namespace skin {
namespace {

// Dialog and control ids: the entries of a plain menu that carry them
// are the system's to draw.
constexpr UINT kFirstSystemId = 1, kLastSystemId = 4095;

// A class of rich-edit forms whose context menus draw themselves.
constexpr char16_t kRichEditFormClass[] = u"TwwRichEditForm";

const TSkinData* SkinOf(HWND window) {
  const TSkinManage* manager = Manager();
  const TSkinFormFrame* frame = manager ? manager->FindSkinForm(window) : nullptr;
  return frame && frame->SkinData() && !frame->SkinData()->NoSkin() ? frame->SkinData() : nullptr;
}

TMenuItemPlace PlaceOf(gui::TMenuItem& item) {
  const gui::TMenu* menu = item.Menu();
  return menu && menu->IsBar() ? mpMainMenu : mpPopupMenu;
}

// The skin's handlers on framework items. They find the skin through the
// window, which may have lost it since.
struct TSkinnedDraw {
  HWND Window;
  void operator()(gui::TMenuItem* item, HDC dc, const RECT& rect, bool selected) const {
    if (const TSkinData* data = SkinOf(Window)) DrawItem(*data, dc, rect, selected, LookOf(*item));
  }
};

struct TSkinnedMeasure {
  HWND Window;
  void operator()(gui::TMenuItem* item, HDC, int& width, int&) const {
    if (const TSkinData* data = SkinOf(Window)) AddSkinRoom(*data, LookOf(*item), PlaceOf(*item), width);
  }
};

bool SkinHooked(const gui::TMenuItem& item) { return item.OnDrawItem.target<TSkinnedDraw>() != nullptr; }

void Hook(gui::TMenuItem& item, HWND window) {
  item.OnDrawItem = TSkinnedDraw{window};
  item.OnMeasureItem = TSkinnedMeasure{window};
}

void Unhook(gui::TMenuItem& item) {
  if (!SkinHooked(item)) return;
  item.OnDrawItem = nullptr;
  item.OnMeasureItem = nullptr;
}

// Calls visit for every item under parent, with its depth (1 for the
// menu's top level).
void ForEachItem(gui::TMenuItem& parent, int depth, const std::function<void(gui::TMenuItem&, int)>& visit) {
  for (int i = 0; i < parent.Count(); ++i) {
    gui::TMenuItem& item = *parent.Items(i);
    visit(item, depth);
    ForEachItem(item, depth + 1, visit);
  }
}

bool AnySkinHooked(gui::TMenu& menu) {
  bool any = false;
  ForEachItem(*menu.Items(), 1, [&any](gui::TMenuItem& item, int) { any = any || SkinHooked(item); });
  return any;
}

void SwitchPopupMenu(gui::TPopupMenu& menu, const TSkinData& data, HWND window, bool on) {
  if (!on) {
    if (AnySkinHooked(menu)) menu.SetOwnerDraw(false);
    ForEachItem(*menu.Items(), 1, [](gui::TMenuItem& item, int) { Unhook(item); });
    return;
  }
  if (menu.Tag() % 100 == data.DisableTag()) return;
  ForEachItem(*menu.Items(), 1, [window](gui::TMenuItem& item, int) { Hook(item, window); });
  menu.SetOwnerDraw(true);
}

void SwitchMainMenu(gui::TMainMenu& menu, HWND window, bool on) {
  if (!on) {
    if (AnySkinHooked(menu)) menu.SetOwnerDraw(false);
    ForEachItem(*menu.Items(), 1, [](gui::TMenuItem& item, int) { Unhook(item); });
    return;
  }
  // The bar's own entries are drawn by the skinned bar.
  ForEachItem(*menu.Items(), 1, [window](gui::TMenuItem& item, int depth) {
    if (depth >= 2 && !item.OnDrawItem) Hook(item, window);
  });
  menu.SetOwnerDraw(true);
}

// An item of the window's framework bar the message is about, unless the
// program draws it itself.
gui::TMenuItem* BarItem(const TSkinFormFrame& frame, UINT id, ULONG_PTR data) {
  gui::TMainMenu* menu = frame.Form() ? frame.Form()->Menu() : nullptr;
  gui::TMenuItem* item = menu ? menu->FindItem(id) : nullptr;
  if (!item || reinterpret_cast<ULONG_PTR>(item) != data) return nullptr;
  if (item->OnDrawItem && !SkinHooked(*item)) return nullptr;
  return item;
}

// The entry of a plain menu with that id and item data, in menu or below.
bool FindEntry(HMENU menu, UINT id, ULONG_PTR data, HMENU& holder, UINT& position, int depth = 0) {
  if (!menu || depth > 16) return false;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info;
    if (!ReadEntry(menu, static_cast<UINT>(i), MIIM_ID | MIIM_DATA | MIIM_SUBMENU, info)) continue;
    if (info.wID == id && info.dwItemData == data) {
      holder = menu;
      position = static_cast<UINT>(i);
      return true;
    }
    if (info.hSubMenu && FindEntry(info.hSubMenu, id, data, holder, position, depth + 1)) return true;
  }
  return false;
}

TMenuItemLook SystemItemLook(const TSkinFormFrame& frame, const TSystemPopup::TItem& item) {
  TMenuItemLook look;
  look.Caption = item.Tag == stSeparator ? u"-" : item.Caption;
  look.ShortCut = item.ShortCut;
  look.Enabled = item.Enabled;
  look.ImageIndex = item.ImageIndex();
  look.Images = frame.SkinData()->MenuGlyphs();
  look.Parent = frame.SystemPopup().Handle();
  return look;
}

bool Measure(TSkinFormFrame& frame, MEASUREITEMSTRUCT& measure) {
  const TSkinData& data = *frame.SkinData();
  gui::TWindowDc dc(frame.Handle());
  int width = 0, height = 0;
  if (const TSystemPopup::TItem* item = frame.SystemPopup().Find(measure.itemID, measure.itemData)) {
    MeasureItem(data, dc.get(), SystemItemLook(frame, *item), mpPopupMenu, width, height);
  } else if (!frame.MenuHandle()) {
    return false;
  } else if (gui::TMenuItem* barItem = BarItem(frame, measure.itemID, measure.itemData)) {
    MeasureItem(data, dc.get(), LookOf(*barItem), mpMainMenu, width, height);
  } else {
    if (measure.itemID >= kFirstSystemId && measure.itemID <= kLastSystemId) return false;
    HMENU holder = nullptr;
    UINT position = 0;
    const HMENU searched = frame.TrackedMenu() ? frame.TrackedMenu() : frame.MenuHandle();
    if (!FindEntry(searched, measure.itemID, measure.itemData, holder, position)) return false;
    MeasurePlainItem(data, dc.get(), LookOf(holder, position), width, height);
  }
  measure.itemWidth = static_cast<UINT>(std::max(width, 0));
  measure.itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

bool Draw(TSkinFormFrame& frame, const DRAWITEMSTRUCT& draw) {
  const TSkinData& data = *frame.SkinData();
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  TMenuItemLook look;
  if (const TSystemPopup::TItem* item = frame.SystemPopup().Find(draw.itemID, draw.itemData)) {
    look = SystemItemLook(frame, *item);
  } else if (!frame.MenuHandle()) {
    return false;
  } else if (gui::TMenuItem* barItem = BarItem(frame, draw.itemID, draw.itemData)) {
    look = LookOf(*barItem);
  } else {
    if (draw.itemID >= kFirstSystemId && draw.itemID <= kLastSystemId) return false;
    HMENU holder = nullptr;
    UINT position = 0;
    if (!FindEntry(reinterpret_cast<HMENU>(draw.hwndItem), draw.itemID, draw.itemData, holder, position)) return false;
    look = LookOf(holder, position);
    // An entry of the bar itself opens its menu below it: no arrow.
    if (holder == frame.MenuHandle()) look.HasSubMenu = false;
  }
  DrawItem(data, draw.hDC, draw.rcItem, selected, look);
  return true;
}

}  // namespace

void OwnerDrawMenus(TSkinFormFrame& frame, bool popupMenus, bool mainMenus, bool on) {
  gui::TForm* form = frame.Form();
  if (!form || !frame.SkinData()) return;
  const TSkinData& data = *frame.SkinData();
  const bool richEditForm = form->ClassName() == kRichEditFormClass;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    rt::TComponent* component = form->Component(i);
    if (auto* popup = dynamic_cast<gui::TPopupMenu*>(component); popup && popupMenus && !richEditForm)
      SwitchPopupMenu(*popup, data, frame.Handle(), on);
    if (auto* main = dynamic_cast<gui::TMainMenu*>(component); main && mainMenus) SwitchMainMenu(*main, frame.Handle(), on);
  }
}

bool MenuItemMessage(TSkinFormFrame& frame, UINT msg, WPARAM, LPARAM lParam) {
  if (!frame.SkinData() || frame.SkinData()->NoSkin() || !lParam) return false;
  if (msg == WM_MEASUREITEM) {
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    return measure.CtlType == ODT_MENU && Measure(frame, measure);
  }
  if (msg == WM_DRAWITEM) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    return draw.CtlType == ODT_MENU && Draw(frame, draw);
  }
  return false;
}

void TidySeparators(gui::TMenuItem& parent) {
  bool itemSeen = false;
  gui::TMenuItem* lastSeparator = nullptr;
  // Collected first: hiding an item rebuilds the menu's entries.
  std::vector<gui::TMenuItem*> hide;
  for (int i = 0; i < parent.Count(); ++i) {
    gui::TMenuItem* item = parent.Items(i);
    if (!item->Visible()) continue;
    if (!item->IsSeparator()) {
      itemSeen = true;
      lastSeparator = nullptr;
      TidySeparators(*item);
    } else if (!itemSeen || lastSeparator) {
      hide.push_back(item);
    } else {
      lastSeparator = item;
    }
  }
  if (lastSeparator) hide.push_back(lastSeparator);
  for (gui::TMenuItem* item : hide) item->SetVisible(false);
}

TOwnerDrawMarks::TOwnerDrawMarks(HMENU menu) { Mark(menu, 0); }

void TOwnerDrawMarks::Mark(HMENU menu, int depth) {
  if (!menu || depth > 16) return;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info;
    if (!ReadEntry(menu, static_cast<UINT>(i), MIIM_FTYPE | MIIM_SUBMENU, info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      MENUITEMINFOW type{};
      type.cbSize = sizeof type;
      type.fMask = MIIM_FTYPE;
      type.fType = info.fType | MFT_OWNERDRAW;
      if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &type)) marked_.emplace_back(menu, static_cast<UINT>(i));
    }
    Mark(info.hSubMenu, depth + 1);
  }
}

TOwnerDrawMarks::~TOwnerDrawMarks() {
  for (const auto& [menu, position] : marked_) {
    MENUITEMINFOW info;
    if (!IsMenu(menu) || !ReadEntry(menu, position, MIIM_FTYPE, info)) continue;
    info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
    SetMenuItemInfoW(menu, position, TRUE, &info);
  }
}

}  // namespace skin
