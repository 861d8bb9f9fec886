#include "runtime/gui/up_down.h"

#include <commctrl.h>

#include <algorithm>

namespace gui {

TUpDown::TUpDown(rt::TComponent* owner) : TRangeControl(owner, 100) { SetBounds(0, 0, 17, 25); }

void TUpDown::CreateParams(TCreateParams& params) {
  LoadCommonControls();
  TSystemControl::CreateParams(params);
  params.BaseClass = UPDOWN_CLASSW;
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.Style |= UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS;
  if (orientation_ == udHorizontal) params.Style |= UDS_HORZ;
  if (wrap_) params.Style |= UDS_WRAP;
}

void TUpDown::HandleCreated() {
  TRangeControl::HandleCreated();
  PushIncrement();
  if (associate_) SetAssociate(associate_);
}

void TUpDown::PushRange() {
  SendToWindow(UDM_SETRANGE32, static_cast<WPARAM>(Min()), static_cast<LPARAM>(Max()));
  PushPosition();
}

void TUpDown::PushPosition() { SendToWindow(UDM_SETPOS32, 0, Position()); }

void TUpDown::PushIncrement() {
  UDACCEL accel{0, static_cast<UINT>(increment_)};
  SendToWindow(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::SetOrientation(TUDOrientation value) {
  if (value == orientation_) return;
  orientation_ = value;
  RecreateWindow();
}

void TUpDown::SetWrap(bool value) {
  wrap_ = value;
  ChangeStyle(UDS_WRAP, value ? UDS_WRAP : 0);
}

void TUpDown::SetIncrement(int32_t value) {
  increment_ = std::max(value, 1);
  PushIncrement();
}

void TUpDown::SetAssociate(TWinControl* control) {
  associate_ = control;
  if (!HandleAllocated()) return;
  SendToWindow(UDM_SETBUDDY, control ? reinterpret_cast<WPARAM>(control->Handle()) : 0);
  // Setting the position writes it into the new associate.
  SendToWindow(UDM_SETPOS32, 0, Position());
}

void TUpDown::PositionFromWindow() {
  BOOL failed = FALSE;
  const auto value = static_cast<int32_t>(SendToWindow(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  if (failed || value == Position()) return;
  TakePositionFromWindow(value);
  Click();
}

void TUpDown::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_NOTIFY:
      if (reinterpret_cast<NMHDR*>(message.LParam)->code == UDN_DELTAPOS) {
        message.Result = 0;  // let the arrows move
        return;
      }
      break;
    case CN_HSCROLL:
    case CN_VSCROLL:
      // Sent once the system has moved its position.
      PositionFromWindow();
      message.Result = 0;
      return;
  }
  TSystemControl::WndProc(message);
}

}  // namespace gui
