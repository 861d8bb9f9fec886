// The controls that show a position within a range: progress bars, track
// bars, up-down arrows and scroll bars. The base keeps Min, Max and
// Position with Min <= Position <= LastPosition() <= Max; each control
// sends them to its window in the messages of its own system control,
// once the window is made and after every change.
#pragma once

#include "runtime/gui/system_control.h"

namespace gui {

class TRangeControl : public TSystemControl {
 public:
  int32_t Min() const { return min_; }
  // A Min above Max takes Max up with it.
  void SetMin(int32_t value);
  int32_t Max() const { return max_; }
  void SetMax(int32_t value);
  int32_t Position() const { return position_; }
  void SetPosition(int32_t value);

 protected:
  // What SetMax does with a value below Min: take Min down with it, or
  // stop at Min.
  enum TMaxBelowMin { mmLowersMin, mmStopsAtMin };

  TRangeControl(rt::TComponent* owner, int32_t max, TMaxBelowMin maxBelowMin = mmLowersMin);

  // Sets the three at once, so that no intermediate range clips the
  // position; a max below min is taken as min.
  void SetParams(int32_t position, int32_t min, int32_t max);
  // A position the window moved to by itself, kept as it is and not sent
  // back.
  void TakePositionFromWindow(int32_t value) { position_ = value; }

  // The highest position the range lets the control take.
  virtual int32_t LastPosition() const { return max_; }
  // Send Min, Max and Position, or Position alone (by default all three),
  // to the window; nothing before it exists.
  virtual void PushRange() = 0;
  virtual void PushPosition() { PushRange(); }
  // After SetPosition; by default sends the position. previous is the
  // position before, which may be the same.
  virtual void PositionSet(int32_t previous);
  // After SetMin, SetMax or SetParams; by default sends the range.
  // previous is the position before, which the new range may have moved.
  virtual void RangeSet(int32_t previous);

  void HandleCreated() override;

 private:
  int32_t min_ = 0;
  int32_t max_;
  int32_t position_ = 0;
  TMaxBelowMin maxBelowMin_;
};

}  // namespace gui
