// Progress bars, on the common control. StepIt moves Position on by Step
// and, past Max, starts again from Min as the system's bar does.
#pragma once

#include "runtime/gui/system_control.h"

namespace gui {

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TSystemControl {
 public:
  explicit TProgressBar(rt::TComponent* owner);
  WideString ClassName() const override { return u"TProgressBar"; }

  int32_t Min() const { return min_; }
  void SetMin(int32_t value);
  int32_t Max() const { return max_; }
  void SetMax(int32_t value);
  int32_t Position() const { return position_; }
  void SetPosition(int32_t value);
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
  void HandleCreated() override;

 private:
  void PushRange();

  int32_t min_ = 0;
  int32_t max_ = 100;
  int32_t position_ = 0;
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool smooth_ = false;
  int32_t step_ = 10;
};

}  // namespace gui
