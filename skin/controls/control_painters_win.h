// The control painters' entry points: once registered, every window the
// frame skinner skins gets a painter for each control it can paint.
#pragma once

#include <windows.h>

namespace skin {

class TSkinFormFrame;

// Installs SkinControls and SkinChild for the frame skinner. Runs once.
void RegisterControlPainters();

// The matching walk: gives each control of the frame's window the
// painter of its kind, as far as the skin data's SkinControls, DisableTag,
// OnSkinControl and Skin3rd allow. Runs again after painters died.
void SkinControls(TSkinFormFrame& frame);
// A child window made after the walk, of a window that is not a
// framework form.
void SkinChildWindow(TSkinFormFrame& frame, HWND child);

}  // namespace skin
