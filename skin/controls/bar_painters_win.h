// Progress bars, track bars and status bars.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "runtime/gui/handles.h"
#include "skin/controls/skin_control_win.h"

namespace skin {

class TSkinProgress : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinProgress"; }
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;
};

// The control draws its channel and ticks; the painter takes over the
// thumb through the control's custom drawing.
class TSkinTrackBar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinTrackBar"; }
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;

  // Handles one custom-draw notification; true when it answered.
  bool CustomDraw(NMCUSTOMDRAW& draw, LRESULT& result);

 private:
  void DrawThumb(HDC dc, const RECT& thumb, int frame);
  void DrawChannel(HDC dc, const RECT& channel);
  gui::UniqueBrush parentBrush_;
};

class TSkinStatusBar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinStatusBar"; }
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;
};

}  // namespace skin
