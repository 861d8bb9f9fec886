// Push buttons, on the system's button control (window class "TButton").
// The push button that has the focus is the form's default button: Enter
// clicks it. When the focus is on another kind of control, the button with
// Default set takes that part; Escape clicks the button with Cancel set.
// Without such buttons Enter (outside a button) and Escape do nothing.
#pragma once

#include "runtime/gui/form.h"
#include "runtime/gui/win_control.h"

namespace gui {

class TButton : public TWinControl {
 public:
  explicit TButton(rt::TComponent* owner);
  WideString ClassName() const override { return u"TButton"; }

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  // Clicking sets the form's ModalResult to this, when not mrNone.
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);

  // Whether the button now has the default-button part (drawn with the
  // default frame, clicked by Enter).
  bool IsActiveDefault() const;

  void Click() override;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  void UpdateDefaultStyle();
  bool IsAccelerator(WPARAM character) const;

  bool default_ = false;
  bool cancel_ = false;
  bool multiLine_ = false;
  TModalResult modalResult_ = mrNone;
};

}  // namespace gui
