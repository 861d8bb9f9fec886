#include "skin/windows/control_skinning_link_win.h"
#include "skin/windows/menu_skinning_link_win.h"

namespace skin {
namespace {

// Filled in once at start by the modules that paint controls and menus.
TControlSkinning gControlSkinning;
TMenuSkinning gMenuSkinning;

}  // namespace

const TControlSkinning& ControlSkinning() { return gControlSkinning; }
void SetControlSkinning(const TControlSkinning& entries) { gControlSkinning = entries; }
const TMenuSkinning& MenuSkinning() { return gMenuSkinning; }
void SetMenuSkinning(const TMenuSkinning& entries) { gMenuSkinning = entries; }

}  // namespace skin
