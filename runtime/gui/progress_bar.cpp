#include "runtime/gui/progress_bar.h"

#include <commctrl.h>

#include <algorithm>

namespace gui {

TProgressBar::TProgressBar(rt::TComponent* owner) : TSystemControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& params) {
  LoadCommonControls();
  TSystemControl::CreateParams(params);
  params.BaseClass = PROGRESS_CLASSW;
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  if (orientation_ == pbVertical) params.Style |= PBS_VERTICAL;
  if (smooth_) params.Style |= PBS_SMOOTH;
}

void TProgressBar::HandleCreated() { PushRange(); }

void TProgressBar::PushRange() {
  SendToWindow(PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendToWindow(PBM_SETPOS, static_cast<WPARAM>(position_));
}

void TProgressBar::SetMin(int32_t value) {
  min_ = value;
  max_ = std::max(max_, min_);
  position_ = std::clamp(position_, min_, max_);
  PushRange();
}

void TProgressBar::SetMax(int32_t value) {
  max_ = value;
  min_ = std::min(min_, max_);
  position_ = std::clamp(position_, min_, max_);
  PushRange();
}

void TProgressBar::SetPosition(int32_t value) {
  position_ = std::clamp(value, min_, max_);
  SendToWindow(PBM_SETPOS, static_cast<WPARAM>(position_));
}

void TProgressBar::StepIt() {
  int64_t next = static_cast<int64_t>(position_) + step_;
  if (next > max_ && max_ > min_) next = min_ + (next - min_) % (static_cast<int64_t>(max_) - min_);
  SetPosition(static_cast<int32_t>(std::clamp<int64_t>(next, min_, max_)));
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
  orientation_ = value;
  ChangeStyle(PBS_VERTICAL, value == pbVertical ? PBS_VERTICAL : 0);
}

void TProgressBar::SetSmooth(bool value) {
  smooth_ = value;
  ChangeStyle(PBS_SMOOTH, value ? PBS_SMOOTH : 0);
}

}  // namespace gui
