// Track bars, on the common control, with a tick every Frequency values.
// Position follows the slider: the scroll notifications the bar sends
// update it and fire OnChange.
#pragma once

#include "runtime/gui/system_control.h"

namespace gui {

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TSystemControl {
 public:
  explicit TTrackBar(rt::TComponent* owner);
  WideString ClassName() const override { return u"TTrackBar"; }

  int32_t Min() const { return min_; }
  void SetMin(int32_t value);
  int32_t Max() const { return max_; }
  void SetMax(int32_t value);
  int32_t Position() const { return position_; }
  void SetPosition(int32_t value);
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

 private:
  void PushRange();

  int32_t min_ = 0;
  int32_t max_ = 10;
  int32_t position_ = 0;
  TTrackBarOrientation orientation_ = trHorizontal;
  int32_t frequency_ = 1;
  TTickMark tickMarks_ = tmBottomRight;
  bool transparent_ = false;
};

}  // namespace gui
