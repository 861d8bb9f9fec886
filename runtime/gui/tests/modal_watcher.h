// For tests that drive a modal dialog from inside its own loop: a check
// run from a timer, and the visible form of a window class.
#pragma once

#include <windows.h>

#include <functional>

#include "runtime/gui/application.h"
#include "runtime/gui/form.h"
#include "runtime/gui/timer.h"

namespace gui::testing {

// Runs check every 50 ms inside whatever modal loop is running, until it
// answers true.
class TWatcher {
 public:
  explicit TWatcher(std::function<bool()> check) : timer_(nullptr) {
    timer_.SetInterval(50);
    timer_.SetOnTimer([this, check](rt::TObject*) {
      if (check()) timer_.SetEnabled(false);
    });
  }

 private:
  TTimer timer_;
};

// The visible form of that window class, or nullptr.
inline TForm* VisibleForm(const wchar_t* windowClass) {
  const HWND window = FindWindowW(windowClass, nullptr);
  return window && IsWindowVisible(window) ? Screen().FindForm(window) : nullptr;
}

}  // namespace gui::testing
