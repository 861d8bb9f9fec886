// Track bars, on the common control, with a tick every Frequency values.
// Position follows the slider: the scroll notifications the bar sends
// update it and fire OnChange.
#pragma once

#include "runtime/gui/range_control.h"

namespace gui {

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TRangeControl {
 public:
  explicit TTrackBar(rt::TComponent* owner);
  WideString ClassName() const override { return u"TTrackBar"; }

  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation value);
  int32_t Frequency() const { return frequency_; }
  void SetFrequency(int32_t value);
  TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark value);
  // Kept for stored forms and painters; the system bar ignores it.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }

  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void PushRange() override;
  void PositionSet(int32_t previous) override;

 private:
  TTrackBarOrientation orientation_ = trHorizontal;
  int32_t frequency_ = 1;
  TTickMark tickMarks_ = tmBottomRight;
  bool transparent_ = false;
};

}  // namespace gui
