// Combo boxes: the control draws its text and list, the painter draws the
// box's frame and drop-down button from the skin's combo images.
#pragma once

#include "skin/controls/skin_control_win.h"

namespace skin {

class TSkinComBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinComBox"; }

  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;

  // 1 normal, 2 dropped or pressed, 3 disabled, 4 hot or focused.
  int StateFrame() const;

 private:
  bool Dropped() const;
  bool pressed_ = false;
};

}  // namespace skin
