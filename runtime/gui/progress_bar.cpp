#include "runtime/gui/progress_bar.h"

#include <commctrl.h>

#include <algorithm>

namespace gui {

TProgressBar::TProgressBar(rt::TComponent* owner) : TRangeControl(owner, 100) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& params) {
  LoadCommonControls();
  TSystemControl::CreateParams(params);
  params.BaseClass = PROGRESS_CLASSW;
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  if (orientation_ == pbVertical) params.Style |= PBS_VERTICAL;
  if (smooth_) params.Style |= PBS_SMOOTH;
}

void TProgressBar::PushRange() {
  SendToWindow(PBM_SETRANGE32, static_cast<WPARAM>(Min()), static_cast<LPARAM>(Max()));
  PushPosition();
}

void TProgressBar::PushPosition() { SendToWindow(PBM_SETPOS, static_cast<WPARAM>(Position())); }

void TProgressBar::StepIt() {
  const int32_t min = Min();
  const int32_t max = Max();
  int64_t next = static_cast<int64_t>(Position()) + step_;
  if (next > max && max > min) next = min + (next - min) % (static_cast<int64_t>(max) - min);
  SetPosition(static_cast<int32_t>(std::clamp<int64_t>(next, min, max)));
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
