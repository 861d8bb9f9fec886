// Single-line edit boxes, on the system's edit control (window class
// "TEdit"), drawn in the box's colour and font colour.
#pragma once

#include "runtime/gui/win_control.h"

namespace gui {

enum TBorderStyle { bsNoBorder, bsSingleBorder };

class TEdit : public TWinControl {
 public:
  explicit TEdit(rt::TComponent* owner);
  WideString ClassName() const override { return u"TEdit"; }

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  int32_t MaxLength() const { return maxLength_; }
  void SetMaxLength(int32_t value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  void SelectAll();

  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  TBorderStyle borderStyle_ = bsSingleBorder;
  int32_t maxLength_ = 0;
  bool readOnly_ = false;
};

}  // namespace gui
