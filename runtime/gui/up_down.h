// Up-down arrows, on the common control. With an associate (an edit box)
// the arrows sit at its right edge and the system writes Position into
// it. Position follows the arrows; each step fires OnClick.
#pragma once

#include "runtime/gui/range_control.h"

namespace gui {

enum TUDOrientation { udVertical, udHorizontal };

class TUpDown : public TRangeControl {
 public:
  explicit TUpDown(rt::TComponent* owner);
  WideString ClassName() const override { return u"TUpDown"; }

  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation value);
  // Past one end the arrows go on from the other.
  bool Wrap() const { return wrap_; }
  void SetWrap(bool value);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t value);

  // The control must outlive the arrows, or be unset first.
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* control);

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void PushRange() override;
  void PushPosition() override;

 private:
  void PushIncrement();
  void PositionFromWindow();

  TUDOrientation orientation_ = udVertical;
  bool wrap_ = false;
  int32_t increment_ = 1;
  TWinControl* associate_ = nullptr;
};

}  // namespace gui
