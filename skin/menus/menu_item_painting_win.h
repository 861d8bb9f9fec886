// Owner-drawn menu items in the skin's look: how big an item is and how
// it is drawn, the same for items of the framework's menus, plain items
// of a window's menu and the skinned system menu. An item is described
// by its look, whatever holds it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "runtime/strings.h"
#include "skin/data/skin_data_win.h"

namespace gui {
class TMenuItem;
}

namespace skin {

struct TMenuItemLook {
  // "-" for a separator.
  rt::WideString Caption = u"-";
  rt::WideString ShortCut;
  bool Enabled = true;
  bool Checked = false;
  bool Default = false;
  // An image of Images, -1 for none.
  int ImageIndex = -1;
  // The image list of the item's menu, none without one.
  HIMAGELIST Images = nullptr;
  bool RightToLeft = false;
  // It opens a sub-menu: an arrow points to it.
  bool HasSubMenu = false;
  // The menu that holds the item.
  HMENU Parent = nullptr;

  bool IsSeparator() const { return Caption == u"-"; }
};

// Where an item is shown: it decides the room added to its measure.
enum TMenuItemPlace { mpMainMenu, mpPopupMenu };

// A framework item as it looks now.
TMenuItemLook LookOf(gui::TMenuItem& item);
// An item of a menu that only the system knows, read from the menu.
TMenuItemLook LookOf(HMENU menu, UINT position);

// The room the skin adds to an item that the framework measured.
void AddSkinRoom(const TSkinData& data, const TMenuItemLook& look, TMenuItemPlace place, int& width);
// The whole measure of an item that only the system knows.
void MeasurePlainItem(const TSkinData& data, HDC dc, const TMenuItemLook& look, int& width, int& height);
// The framework's measure plus the skin's room, for items the framework
// does not hold (the system menu).
void MeasureItem(const TSkinData& data, HDC dc, const TMenuItemLook& look, TMenuItemPlace place, int& width,
                 int& height);

// Draws the item at rect on dc (selected: highlighted). The item's
// background is the skinned popup window's, when one shows its menu.
void DrawItem(const TSkinData& data, HDC dc, const RECT& rect, bool selected, const TMenuItemLook& look);

}  // namespace skin
