// Driving menus from the inside: while the system tracks a menu, the
// program's own code runs only in the messages the menu's loop passes
// on. The driver's steps run on a timer, one after another, each as
// often as it asks to be tried again, so that a test or the screenshot
// run can look at an open menu and press its keys.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "runtime/gui/timer.h"

namespace gallery {

class TMenuDriver {
 public:
  // A step returns false to be run again at the next tick.
  using TStep = std::function<bool()>;

  explicit TMenuDriver(std::vector<TStep> steps, UINT intervalMs = 100);
  TMenuDriver(const TMenuDriver&) = delete;
  TMenuDriver& operator=(const TMenuDriver&) = delete;

  // Runs trigger (which opens a menu, at once or through posted input)
  // and lets the messages run until every step is done; false when they
  // were not done in time.
  bool Run(const std::function<void()>& trigger, DWORD timeoutMs = 10000);

 private:
  void Tick();

  std::vector<TStep> steps_;
  size_t next_ = 0;
  gui::TTimer timer_{nullptr};
};

// The popup-menu windows of this thread that are shown, the newest first.
std::vector<HWND> OpenPopupMenus();

}  // namespace gallery
