#include "skin/gallery/menu_driver_win.h"

#include "runtime/gui/application.h"
#include "runtime/window_class_win.h"

namespace gallery {

namespace {

BOOL CALLBACK CollectPopupMenu(HWND window, LPARAM found) {
  if (rt::WindowClassName(window) == u"#32768" && IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

}  // namespace

TMenuDriver::TMenuDriver(std::vector<TStep> steps, UINT intervalMs) : steps_(std::move(steps)) {
  timer_.SetEnabled(false);
  timer_.SetInterval(intervalMs);
  timer_.SetOnTimer([this](rt::TObject*) { Tick(); });
}

void TMenuDriver::Tick() {
  if (next_ >= steps_.size()) {
    timer_.SetEnabled(false);
    return;
  }
  // A step may run a loop of its own (a menu it opens): the timer waits.
  timer_.SetEnabled(false);
  const bool done = steps_[next_]();
  if (done) ++next_;
  timer_.SetEnabled(next_ < steps_.size());
}

bool TMenuDriver::Run(const std::function<void()>& trigger, DWORD timeoutMs) {
  next_ = 0;
  timer_.SetEnabled(true);
  trigger();
  const DWORD start = GetTickCount();
  while (next_ < steps_.size() && GetTickCount() - start < timeoutMs) {
    gui::Application().ProcessMessages();
    Sleep(10);
  }
  timer_.SetEnabled(false);
  return next_ >= steps_.size();
}

std::vector<HWND> OpenPopupMenus() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), CollectPopupMenu, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace gallery
