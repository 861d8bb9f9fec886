#include "runtime/gui/scroll_bar.h"

#include <algorithm>
#include <cstdint>

namespace gui {

TScrollBar::TScrollBar(rt::TComponent* owner) : TRangeControl(owner, 100, mmStopsAtMin) {
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  params.BaseClass = L"SCROLLBAR";
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.Style |= kind_ == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::SetKind(TScrollBarKind value) {
  if (value == kind_) return;
  kind_ = value;
  // The system reads the direction only when it makes the bar.
  RecreateWindow();
}

int32_t TScrollBar::LastPosition() const { return std::max(Min(), Max() - std::max(pageSize_ - 1, 0)); }

void TScrollBar::SetPageSize(int32_t value) {
  // A page covers at most the whole range, whose count of values may not
  // fit in 32 bits (Min -1, Max 2147483647).
  const int64_t values = int64_t{Max()} - Min() + 1;
  pageSize_ = static_cast<int32_t>(std::clamp<int64_t>(value, 0, std::min<int64_t>(values, INT32_MAX)));
  SetParams(Position(), Min(), Max());
}

void TScrollBar::PushRange() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, Min(), Max(), static_cast<UINT>(pageSize_),
                  Position(), 0};
  SetScrollInfo(WindowHandle(), SB_CTL, &info, TRUE);
}

// The bar takes range, page and position in one call whatever changed, and
// OnChange fires whenever the position moved, by SetPosition or by a new
// range or page.
void TScrollBar::Changed(int32_t previous) {
  PushRange();
  if (Position() != previous && OnChange) OnChange(this);
}

void TScrollBar::PositionSet(int32_t previous) { Changed(previous); }

void TScrollBar::RangeSet(int32_t previous) { Changed(previous); }

void TScrollBar::Scroll(WORD code) {
  int32_t target = Position();
  switch (code) {
    case SB_LINEUP:
      target -= smallChange_;
      break;
    case SB_LINEDOWN:
      target += smallChange_;
      break;
    case SB_PAGEUP:
      target -= largeChange_;
      break;
    case SB_PAGEDOWN:
      target += largeChange_;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position; the notification carries only 16 bits.
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(WindowHandle(), SB_CTL, &info);
      target = info.nTrackPos;
      break;
    }
    case SB_TOP:
      target = Min();
      break;
    case SB_BOTTOM:
      target = Max();
      break;
    default:
      return;
  }
  SetPosition(target);
}

void TScrollBar::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      Scroll(LOWORD(message.WParam));
      message.Result = 0;
      return;
  }
  TSystemControl::WndProc(message);
}

}  // namespace gui
