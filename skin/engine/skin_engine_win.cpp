#include "skin/engine/skin_engine_win.h"

#include "skin/data/skin_data_win.h"
#include "skin/data/skin_manager_link_win.h"
#include "skin/controls/control_painters_win.h"
#include "skin/menus/menu_painters_win.h"
#include "skin/windows/skin_manager_win.h"

namespace skin {

void RegisterSkinEngine() {
  RegisterSkinDataClass();
  SetSkinManagerFactory([]() -> TSkinManagerLink* { return new TSkinManage(); });
  RegisterControlPainters();
  RegisterMenuPainters();
}

}  // namespace skin
