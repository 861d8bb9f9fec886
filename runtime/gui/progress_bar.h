// Progress bars, on the common control. StepIt moves Position on by Step
// and, past Max, starts again from Min as the system's bar does.
#pragma once

#include "runtime/gui/range_control.h"

namespace gui {

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TRangeControl {
 public:
  explicit TProgressBar(rt::TComponent* owner);
  WideString ClassName() const override { return u"TProgressBar"; }

  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation value);
  // A continuous bar instead of blocks.
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool value);
  int32_t Step() const { return step_; }
  void SetStep(int32_t value) { step_ = value; }
  void StepIt();

 protected:
  void CreateParams(TCreateParams& params) override;
  void PushRange() override;
  void PushPosition() override;

 private:
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool smooth_ = false;
  int32_t step_ = 10;
};

}  // namespace gui
