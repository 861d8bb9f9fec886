#include "runtime/gui/edit.h"

namespace gui {

TEdit::TEdit(rt::TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetColor(rt::clWindow);
  SetTabStop(true);
}

void TEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"EDIT";
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.Style |= ES_LEFT | ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
  if (borderStyle_ == bsSingleBorder) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::HandleCreated() {
  if (maxLength_ > 0) SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TEdit::SetBorderStyle(TBorderStyle value) {
  borderStyle_ = value;
  if (!HandleAllocated()) return;
  LONG_PTR ex = GetWindowLongPtrW(WindowHandle(), GWL_EXSTYLE);
  ex = value == bsSingleBorder ? ex | WS_EX_CLIENTEDGE : ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
  SetWindowLongPtrW(WindowHandle(), GWL_EXSTYLE, ex);
  SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TEdit::SetMaxLength(int32_t value) {
  maxLength_ = value < 0 ? 0 : value;
  if (HandleAllocated()) SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TEdit::SetReadOnly(bool value) {
  readOnly_ = value;
  if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETREADONLY, value, 0);
}

void TEdit::SelectAll() {
  if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETSEL, 0, -1);
}

void TEdit::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      if (HIWORD(message.WParam) == EN_CHANGE && OnChange) OnChange(this);
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      AnswerControlColors(message);
      return;
  }
  TWinControl::WndProc(message);
}

}  // namespace gui
