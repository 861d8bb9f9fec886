// Check boxes and radio buttons, on the system's button control. The
// framework, not the system, decides the checked state: a click moves it
// on, the window is told with BM_SETCHECK, and every change of state, by a
// click or by code, is announced with CM_CHECKSTATECHANGED so that painters
// can repaint.
#pragma once

#include "runtime/gui/label.h"
#include "runtime/gui/system_control.h"

namespace gui {

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// What check boxes and radio buttons share: a box with a caption beside
// it (taLeftJustify puts the caption left of the box), drawn in the
// control's colour.
class TButtonControl : public TSystemControl {
 public:
  explicit TButtonControl(rt::TComponent* owner);
  WideString ClassName() const override { return u"TButtonControl"; }

  // taLeftJustify or taRightJustify.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  // The system's state of the box for the framework's.
  void PushCheck(TCheckBoxState state);
  // Called for BN_CLICKED.
  virtual void Toggle() = 0;

 private:
  TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TButtonControl {
 public:
  explicit TCheckBox(rt::TComponent* owner);
  WideString ClassName() const override { return u"TCheckBox"; }

  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  // Lets a click go on from checked to grayed.
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void Toggle() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
};

// Radio buttons with the same parent form a group: checking one unchecks
// the others.
class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(rt::TComponent* owner);
  WideString ClassName() const override { return u"TRadioButton"; }

  bool Checked() const { return checked_; }
  void SetChecked(bool value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void Toggle() override;

 private:
  bool checked_ = false;
};

}  // namespace gui
