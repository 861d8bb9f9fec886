// What the skin engine's in-process tests share: the program's
// application object with the engine registered (made before the first
// test, freed after the last), message pumping, and waiting for the skin
// manager, which carries out its requests on a timer.
#pragma once

#include <windows.h>

#include <functional>

#include "runtime/gui/form.h"
#include "skin/data/skin_data_win.h"

namespace skin::testing {

// Handles the thread's messages for that long (once at least).
void Pump(DWORD ms);
// Handles the thread's messages until done() holds, for up to timeoutMs;
// true when it came to hold.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Waits up to timeoutMs for the window to be skinned (or no longer
// skinned); true when it came to that.
bool AwaitSkinned(HWND window, bool skinned = true, DWORD timeoutMs = 5000);
// Skin data that the form owns and that skins that form only, from the
// skin file given; not active until ShowSkinned starts it.
TSkinData* SkinOfThisFormOnly(gui::TForm& form, const rt::WideString& skinFile);
// Starts the form's skin data with the control kinds given, shows the
// form in front and waits until it is skinned.
bool ShowSkinned(gui::TForm& form, TSkinData& data, TSkinControlTypes kinds = kDefaultSkinControls);

}  // namespace skin::testing
