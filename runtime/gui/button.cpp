#include "runtime/gui/button.h"

#include "runtime/gui/accelerator.h"

namespace gui {

TButton::TButton(rt::TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"BUTTON";
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.Style |= (IsActiveDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (multiLine_ ? BS_MULTILINE : 0);
}

void TButton::HandleCreated() { UpdateDefaultStyle(); }

void TButton::SetDefault(bool value) {
  default_ = value;
  UpdateDefaultStyle();
}

void TButton::SetMultiLine(bool value) {
  multiLine_ = value;
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(WindowHandle(), GWL_STYLE);
  style = value ? style | BS_MULTILINE : style & ~static_cast<LONG_PTR>(BS_MULTILINE);
  SetWindowLongPtrW(WindowHandle(), GWL_STYLE, style);
  Invalidate();
}

bool TButton::IsActiveDefault() const {
  const TForm* form = ParentForm();
  const TWinControl* focused = form ? form->ActiveControl() : nullptr;
  if (focused == this) return true;
  if (dynamic_cast<const TButton*>(focused)) return false;
  return default_;
}

void TButton::UpdateDefaultStyle() {
  if (!HandleAllocated()) return;
  const bool isDefault = (GetWindowLongPtrW(WindowHandle(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
  if (isDefault != IsActiveDefault())
    SendMessageW(WindowHandle(), BM_SETSTYLE, IsActiveDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
  TWinControl::Click();
}

// "&x" in the caption makes x (either case) the button's accelerator.
bool TButton::IsAccelerator(WPARAM character) const { return IsAccel(character, Caption()); }

void TButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      if (HIWORD(message.WParam) == BN_CLICKED) Click();
      return;
    case CN_CTLCOLORBTN:
      // The corners around the button show the parent's colour.
      if (Parent()) {
        SetBkColor(reinterpret_cast<HDC>(message.WParam), ColorToRGB(Parent()->Color()));
        message.Result = reinterpret_cast<LRESULT>(Parent()->ColorBrush());
        return;
      }
      break;
    case CM_FOCUSCHANGED:
      UpdateDefaultStyle();
      return;
    case CM_DIALOGKEY:
      if (!CanFocus()) return;
      if ((message.WParam == VK_RETURN && IsActiveDefault()) ||
          (message.WParam == VK_ESCAPE && cancel_)) {
        if (message.WParam == VK_RETURN &&
            (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0))
          return;
        Click();
        message.Result = 1;
      }
      return;
    case CM_DIALOGCHAR:
      if (CanFocus() && IsAccelerator(message.WParam)) {
        SetFocus();
        Click();
        message.Result = 1;
      }
      return;
  }
  TWinControl::WndProc(message);
}

}  // namespace gui
