#include "runtime/gui/window_subclass.h"

#include <commctrl.h>

#include "runtime/gui/application.h"
#include "runtime/gui/system_libraries.h"

namespace gui {

bool TWindowSubclass::Install(HWND window, std::function<void(TMessage&)> handler) {
  Remove();
  handler_ = std::move(handler);
  if (!window || !CommonControls().SetWindowSubclass(window, Procedure, reinterpret_cast<UINT_PTR>(this),
                                    reinterpret_cast<DWORD_PTR>(this)))
    return false;
  window_ = window;
  return true;
}

TWindowSubclass::~TWindowSubclass() {
  for (TCall* call = calls_; call; call = call->outer) call->destroyed = true;
  Remove();
}

void TWindowSubclass::Remove() {
  if (!window_) return;
  CommonControls().RemoveWindowSubclass(window_, Procedure, reinterpret_cast<UINT_PTR>(this));
  window_ = nullptr;
}

void TWindowSubclass::CallPrevious(TMessage& message) const {
  message.Result = CommonControls().DefSubclassProc(window_, message.Msg, message.WParam, message.LParam);
}

LRESULT CALLBACK TWindowSubclass::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self) {
  auto* subclass = reinterpret_cast<TWindowSubclass*>(self);
  TMessage message{msg, wParam, lParam, 0};
  TCall call{false, subclass->calls_};
  subclass->calls_ = &call;
  try {
    // A copy: the handler may replace or drop itself.
    const std::function<void(TMessage&)> handler = subclass->handler_;
    handler(message);
  } catch (...) {
    HandleCurrentException();
  }
  if (call.destroyed) return message.Result;
  subclass->calls_ = call.outer;
  // A window being destroyed takes no handler with it, whether or not the
  // handler let go itself.
  if (msg == WM_NCDESTROY && subclass->window_ == window) subclass->Remove();
  return message.Result;
}

}  // namespace gui
