// Timers: OnTimer every Interval milliseconds while Enabled, delivered by
// the message loop of the thread that made the timer.
#pragma once

#include <windows.h>

#include "runtime/classes.h"
#include "runtime/gui/handles.h"
#include "runtime/published.h"

namespace gui {

class TTimer : public rt::TComponent {
 public:
  explicit TTimer(rt::TComponent* owner);
  ~TTimer() override;
  rt::WideString ClassName() const override { return u"TTimer"; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t milliseconds);
  // Assigning it through SetOnTimer starts the timer when it is enabled.
  const rt::TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(rt::TNotifyEvent handler);

  void Loaded() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Update();

  bool enabled_ = true;
  uint32_t interval_ = 1000;
  rt::TNotifyEvent onTimer_;
  UniqueWindow window_;
  bool running_ = false;
};

}  // namespace gui
