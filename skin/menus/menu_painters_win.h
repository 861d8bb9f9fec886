// The menu painters' entry points: once registered, skinned windows draw
// their menu bar from the skin, popup-menu windows get the skin's border
// and menu items the skin's look.
#pragma once

namespace skin {

// Installs the menu painters for the manager and the frame skinner. Runs
// once.
void RegisterMenuPainters();

}  // namespace skin
