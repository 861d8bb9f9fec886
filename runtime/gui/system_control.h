// The common base of the thin wrappers over the system's standard and
// common controls: style bits changed on the live window, the window made
// again for styles the system reads only when it creates the control, and
// messages sent only once the window exists.
#pragma once

#include <windows.h>

#include "runtime/gui/win_control.h"
#include "runtime/wide_text_win.h"

namespace gui {

class TSystemControl : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  // Replaces the bits of mask in the window's style by bits (a no-op
  // before the window exists) and repaints it.
  void ChangeStyle(DWORD mask, DWORD bits);
  void ChangeExStyle(DWORD mask, DWORD bits);
  // Destroys the window and makes it again from CreateParams, keeping its
  // text; HandleCreated pushes the rest of the state back.
  void RecreateWindow();
  // SendMessage to the window, or 0 while it does not exist.
  LRESULT SendToWindow(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
};

// Registers the common-control window classes (list view, progress bar,
// tabs ...) with the system; the first call does it, later ones return.
void LoadCommonControls();

// A framework string as a message's LPARAM, for the messages that carry a text.
inline LPARAM TextParam(const WideString& text) { return reinterpret_cast<LPARAM>(rt::AsWchar(text)); }

}  // namespace gui
