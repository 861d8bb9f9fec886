// Windows the Win32 tests of the runtime make, destroyed with their owner.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace rt {

struct TWindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using TOwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, TWindowDestroyer>;

// A top-level window of this thread, far off the screen, shown without
// being activated when visible, so that nothing else on the display moves.
inline TOwnedWindow MakeTopLevelWindow(bool visible = true, const wchar_t* windowClass = L"STATIC") {
  TOwnedWindow window(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, windowClass, L"", WS_POPUP, -3000, -3000,
                                      40, 20, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (window && visible) ShowWindow(window.get(), SW_SHOWNOACTIVATE);
  return window;
}

}  // namespace rt
