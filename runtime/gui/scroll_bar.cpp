#include "runtime/gui/scroll_bar.h"

#include <algorithm>

namespace gui {

TScrollBar::TScrollBar(rt::TComponent* owner) : TSystemControl(owner) {
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  params.BaseClass = L"SCROLLBAR";
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.Style |= kind_ == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::HandleCreated() { PushScrollInfo(); }

void TScrollBar::SetKind(TScrollBarKind value) {
  if (value == kind_) return;
  kind_ = value;
  // The system reads the direction only when it makes the bar.
  RecreateWindow();
}

int32_t TScrollBar::LastPosition() const { return std::max(min_, max_ - std::max(pageSize_ - 1, 0)); }

void TScrollBar::SetParams(int32_t position, int32_t min, int32_t max) {
  min_ = min;
  max_ = std::max(min, max);
  const int32_t previous = position_;
  position_ = std::clamp(position, min_, LastPosition());
  PushScrollInfo();
  if (position_ != previous && OnChange) OnChange(this);
}

void TScrollBar::SetPageSize(int32_t value) {
  pageSize_ = std::clamp(value, 0, max_ - min_ + 1);
  SetParams(position_, min_, max_);
}

void TScrollBar::PushScrollInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, min_, max_, static_cast<UINT>(pageSize_),
                  position_, 0};
  SetScrollInfo(WindowHandle(), SB_CTL, &info, TRUE);
}

void TScrollBar::Scroll(WORD code) {
  int32_t target = position_;
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
      target = min_;
      break;
    case SB_BOTTOM:
      target = max_;
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
