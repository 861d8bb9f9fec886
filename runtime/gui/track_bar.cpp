#include "runtime/gui/track_bar.h"

#include <commctrl.h>

#include <algorithm>

namespace gui {

namespace {

DWORD TickStyle(TTickMark marks) {
  switch (marks) {
    case tmTopLeft:
      return TBS_TOP;  // TBS_LEFT for a vertical bar: the same bit
    case tmBoth:
      return TBS_BOTH;
    case tmBottomRight:
      break;
  }
  return TBS_BOTTOM;
}

constexpr DWORD kTickStyleMask = TBS_TOP | TBS_BOTH | TBS_NOTICKS;

}  // namespace

TTrackBar::TTrackBar(rt::TComponent* owner) : TRangeControl(owner, 10) {
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& params) {
  LoadCommonControls();
  TSystemControl::CreateParams(params);
  params.BaseClass = TRACKBAR_CLASSW;
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.Style |= TBS_AUTOTICKS | TickStyle(tickMarks_) | (orientation_ == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::HandleCreated() {
  TRangeControl::HandleCreated();
  SendToWindow(TBM_SETTICFREQ, static_cast<WPARAM>(frequency_));
}

void TTrackBar::PushRange() {
  SendToWindow(TBM_SETRANGEMIN, FALSE, Min());
  SendToWindow(TBM_SETRANGEMAX, FALSE, Max());
  SendToWindow(TBM_SETPOS, TRUE, Position());
}

// OnChange follows SetPosition only; a new range that moves the slider
// does not fire it.
void TTrackBar::PositionSet(int32_t previous) {
  if (Position() == previous) return;
  SendToWindow(TBM_SETPOS, TRUE, Position());
  if (OnChange) OnChange(this);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
  if (value == orientation_) return;
  orientation_ = value;
  // The bar lays itself out for its direction only when it is made.
  RecreateWindow();
}

void TTrackBar::SetFrequency(int32_t value) {
  frequency_ = std::max(value, 1);
  SendToWindow(TBM_SETTICFREQ, static_cast<WPARAM>(frequency_));
}

void TTrackBar::SetTickMarks(TTickMark value) {
  tickMarks_ = value;
  ChangeStyle(kTickStyleMask, TickStyle(value));
}

void TTrackBar::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      SetPosition(static_cast<int32_t>(SendToWindow(TBM_GETPOS)));
      message.Result = 0;
      return;
  }
  TSystemControl::WndProc(message);
}

}  // namespace gui
