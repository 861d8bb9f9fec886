// Task-modal windows: while a modal window or dialog is up, the other
// top-level windows of its thread take no input.
#pragma once

#include <windows.h>

#include <vector>

namespace rt {

// Disables the visible, enabled top-level windows of this thread (but
// except) and enables them again, also on the way out of an exception.
// Restore runs before a modal window goes, so that activation returns to
// its owner and not to another application.
class TTaskWindowsDisabler {
 public:
  explicit TTaskWindowsDisabler(HWND except = nullptr);
  ~TTaskWindowsDisabler() { Restore(); }
  TTaskWindowsDisabler(const TTaskWindowsDisabler&) = delete;
  TTaskWindowsDisabler& operator=(const TTaskWindowsDisabler&) = delete;
  // Enables again the windows it disabled that still exist; later calls
  // do nothing.
  void Restore();

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self);

  HWND except_;
  std::vector<HWND> windows_;
};

}  // namespace rt
