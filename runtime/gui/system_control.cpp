#include "runtime/gui/system_control.h"

#include <commctrl.h>

#include "runtime/gui/system_libraries.h"

namespace gui {

namespace {

void ReplaceBits(HWND window, int index, DWORD mask, DWORD bits) {
  const auto old = static_cast<DWORD>(GetWindowLongPtrW(window, index));
  const DWORD changed = (old & ~mask) | (bits & mask);
  if (changed == old) return;
  SetWindowLongPtrW(window, index, static_cast<LONG_PTR>(changed));
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

void TSystemControl::ChangeStyle(DWORD mask, DWORD bits) {
  if (HandleAllocated()) ReplaceBits(WindowHandle(), GWL_STYLE, mask, bits);
}

void TSystemControl::ChangeExStyle(DWORD mask, DWORD bits) {
  if (HandleAllocated()) ReplaceBits(WindowHandle(), GWL_EXSTYLE, mask, bits);
}

void TSystemControl::RecreateWindow() {
  if (!HandleAllocated()) return;
  // The window may hold text typed by the user that text_ has not seen.
  text_ = Text();
  DestroyHandle();
  CreateHandle();
}

LRESULT TSystemControl::SendToWindow(UINT msg, WPARAM wParam, LPARAM lParam) const {
  return HandleAllocated() ? SendMessageW(WindowHandle(), msg, wParam, lParam) : 0;
}

void LoadCommonControls() {
  static const bool loaded = [] {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
    return CommonControls().InitCommonControlsEx(&init) != FALSE;
  }();
  (void)loaded;
}

}  // namespace gui
