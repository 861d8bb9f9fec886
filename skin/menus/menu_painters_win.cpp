#include "skin/menus/menu_painters_win.h"

#include "skin/menus/menu_bar_win.h"
#include "skin/menus/owner_drawn_menus_win.h"
#include "skin/menus/popup_menu_win.h"

namespace skin {
namespace {

std::unique_ptr<TMenuBarPainter> MakeMenuBar(TSkinFormFrame& frame) { return std::make_unique<TSkinMenuBar>(frame); }

}  // namespace

void RegisterMenuPainters() {
  TMenuSkinning entries = MenuSkinning();
  entries.SkinPopupMenu = SkinPopupMenuWindow;
  entries.MakeMenuBar = MakeMenuBar;
  entries.MenuItemMessage = MenuItemMessage;
  entries.OwnerDrawMenus = OwnerDrawMenus;
  SetMenuSkinning(entries);
}

}  // namespace skin
