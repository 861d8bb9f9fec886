// Watching the messages of a window that is not ours to write: a handler
// is put in front of the window's procedure (the system's subclass chain,
// so that several watchers of one window stack and unstack in any order)
// and taken away again when the object goes or the window is destroyed.
//
//   TWindowSubclass subclass;
//   subclass.Install(window, [&](TMessage& m) {
//     if (m.Msg == WM_NCHITTEST) { ... return; }
//     subclass.CallPrevious(m);
//   });
#pragma once

#include <windows.h>

#include <functional>

#include "runtime/gui/messages.h"

namespace gui {

class TWindowSubclass {
 public:
  TWindowSubclass() = default;
  ~TWindowSubclass();
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Puts the handler in front of the window's procedure; false when the
  // system refuses (then nothing changed). A second Install first removes
  // the first one.
  bool Install(HWND window, std::function<void(TMessage&)> handler);
  // Takes the handler away; the window goes on with its own procedure.
  void Remove();
  bool Installed() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  // What the window would have done with the message: the next procedure
  // of the chain; sets Result. Only from inside the handler.
  // The handler may destroy the object (its window's owner may go in a
  // message it forwards).
  void CallPrevious(TMessage& message) const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);

  // The calls of the handler now running, innermost first: an object
  // destroyed by its own handler tells them, so that they touch it no more.
  struct TCall {
    bool destroyed = false;
    TCall* outer = nullptr;
  };

  HWND window_ = nullptr;
  std::function<void(TMessage&)> handler_;
  TCall* calls_ = nullptr;
};

}  // namespace gui
