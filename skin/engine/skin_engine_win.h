// Starting the skin engine in a program: the skin data component becomes
// known to stored forms, and the first component loaded makes the skin
// manager that skins the program's windows and the painters of their
// controls.
#pragma once

namespace skin {

// Runs once, after the program's application object exists.
void RegisterSkinEngine();

}  // namespace skin
