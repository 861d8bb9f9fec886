#include "runtime/gui/check_box.h"

namespace gui {

namespace {

constexpr DWORD kButtonTypeMask = 0x0F;

}  // namespace

// Check boxes and radio buttons sit on their parent's colour unless told
// otherwise, as labels do.
TButtonControl::TButtonControl(rt::TComponent* owner) : TSystemControl(owner) {
  SetTabStop(true);
  SetParentColor(true);
}

void TButtonControl::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  params.BaseClass = L"BUTTON";
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  if (alignment_ == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TButtonControl::SetAlignment(TAlignment value) {
  alignment_ = value == taLeftJustify ? taLeftJustify : taRightJustify;
  ChangeStyle(BS_LEFTTEXT, alignment_ == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TButtonControl::PushCheck(TCheckBoxState state) {
  const WPARAM check = state == cbChecked ? BST_CHECKED : state == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED;
  SendToWindow(BM_SETCHECK, check);
}

void TButtonControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      if (HIWORD(message.WParam) == BN_CLICKED) Toggle();
      return;
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
      AnswerControlColors(message);
      return;
  }
  TSystemControl::WndProc(message);
}

TCheckBox::TCheckBox(rt::TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.Style |= allowGrayed_ ? BS_3STATE : BS_CHECKBOX;
}

void TCheckBox::HandleCreated() { PushCheck(state_); }

void TCheckBox::SetState(TCheckBoxState value) {
  if (value == state_) return;
  state_ = value;
  PushCheck(state_);
  Perform(CM_CHECKSTATECHANGED);
}

void TCheckBox::SetAllowGrayed(bool value) {
  allowGrayed_ = value;
  ChangeStyle(kButtonTypeMask, value ? BS_3STATE : BS_CHECKBOX);
  if (!value && state_ == cbGrayed) SetState(cbUnchecked);
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked:
      SetState(cbChecked);
      break;
    case cbChecked:
      SetState(allowGrayed_ ? cbGrayed : cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbUnchecked);
      break;
  }
  Click();
}

TRadioButton::TRadioButton(rt::TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::HandleCreated() { PushCheck(checked_ ? cbChecked : cbUnchecked); }

void TRadioButton::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  PushCheck(checked_ ? cbChecked : cbUnchecked);
  if (checked_ && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
      if (sibling && sibling != this) sibling->SetChecked(false);
    }
  }
  Perform(CM_CHECKSTATECHANGED);
}

void TRadioButton::Toggle() {
  SetChecked(true);
  Click();
}

}  // namespace gui
