#include "runtime/gui/range_control.h"

#include <algorithm>

namespace gui {

TRangeControl::TRangeControl(rt::TComponent* owner, int32_t max, TMaxBelowMin maxBelowMin)
    : TSystemControl(owner), max_(max), maxBelowMin_(maxBelowMin) {}

void TRangeControl::SetMin(int32_t value) { SetParams(position_, value, max_); }

void TRangeControl::SetMax(int32_t value) {
  SetParams(position_, maxBelowMin_ == mmLowersMin ? std::min(min_, value) : min_, value);
}

void TRangeControl::SetPosition(int32_t value) {
  const int32_t previous = position_;
  position_ = std::clamp(value, min_, LastPosition());
  PositionSet(previous);
}

void TRangeControl::SetParams(int32_t position, int32_t min, int32_t max) {
  min_ = min;
  max_ = std::max(min, max);
  const int32_t previous = position_;
  position_ = std::clamp(position, min_, LastPosition());
  RangeSet(previous);
}

void TRangeControl::PositionSet(int32_t) { PushPosition(); }

void TRangeControl::RangeSet(int32_t) { PushRange(); }

void TRangeControl::HandleCreated() { PushRange(); }

}  // namespace gui
