#include "runtime/task_windows_disabler_win.h"

namespace rt {

TTaskWindowsDisabler::TTaskWindowsDisabler(HWND except) : except_(except) {
  EnumThreadWindows(GetCurrentThreadId(), &TTaskWindowsDisabler::Collect, reinterpret_cast<LPARAM>(this));
  for (HWND window : windows_) EnableWindow(window, FALSE);
}

BOOL CALLBACK TTaskWindowsDisabler::Collect(HWND window, LPARAM self) {
  auto* disabler = reinterpret_cast<TTaskWindowsDisabler*>(self);
  if (window != disabler->except_ && IsWindowVisible(window) && IsWindowEnabled(window))
    disabler->windows_.push_back(window);
  return TRUE;
}

void TTaskWindowsDisabler::Restore() {
  for (HWND window : windows_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  windows_.clear();
}

}  // namespace rt
