// Combo boxes: the control draws its text and list, the painter draws the
// box's frame and drop-down button from the skin's combo images.
#pragma once

#include "skin/controls/skin_control_win.h"

namespace skin {

class TSkinComBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinComBox"; }

  // Both also give the box's drop-down list a skinned scroll bar.
  void AttachControl(TSkinFormFrame* skinForm, TSkinData* data, bool recolour) override;
  void AttachWindow(HWND window, TSkinData* data, TSkinFormFrame* skinForm) override;
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;

  // 1 normal, 2 dropped or pressed, 3 disabled, 4 hot or focused.
  int StateFrame() const;

 private:
  bool Dropped() const;
  void SkinListScrollBar();
  bool pressed_ = false;
};

}  // namespace skin
