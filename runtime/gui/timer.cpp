#include "runtime/gui/timer.h"

#include "runtime/gui/application.h"

namespace gui {

namespace {

constexpr wchar_t kTimerClass[] = L"TTimerWindow";
constexpr UINT_PTR kTimerId = 1;

}  // namespace

// Each timer has a message-only window: it is never shown, never disabled
// by a modal window, and its WM_TIMER comes back to this object.
TTimer::TTimer(rt::TComponent* owner) : rt::TComponent(owner) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), kTimerClass, &wc)) {
    wc.lpfnWndProc = &TTimer::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTimerClass;
    RegisterClassExW(&wc);
  }
  window_.reset(CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimer::~TTimer() {
  if (window_) {
    if (running_) KillTimer(window_.get(), kTimerId);
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  }
}

LRESULT CALLBACK TTimer::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER && wParam == kTimerId) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (timer && timer->onTimer_) {
      try {
        // A copy: the handler may replace itself or free the timer.
        const rt::TNotifyEvent handler = timer->onTimer_;
        handler(timer);
      } catch (...) {
        HandleCurrentException();
      }
    }
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void TTimer::Update() {
  if (!window_) return;
  if (running_) KillTimer(window_.get(), kTimerId);
  running_ = enabled_ && interval_ > 0 && onTimer_ && !Loading();
  if (running_) running_ = SetTimer(window_.get(), kTimerId, interval_, nullptr) != 0;
}

void TTimer::SetEnabled(bool value) {
  enabled_ = value;
  Update();
}

void TTimer::SetInterval(uint32_t milliseconds) {
  interval_ = milliseconds;
  Update();
}

void TTimer::SetOnTimer(rt::TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  Update();
}

void TTimer::Loaded() {
  rt::TComponent::Loaded();
  Update();
}

}  // namespace gui
