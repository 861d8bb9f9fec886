// Multi-line edit boxes, on the system's edit control. The text is the
// lines joined by CR LF. WordWrap wraps at the box's width (and so has no
// horizontal scrolling); the system reads it and the scroll bars only when
// it makes the window, so changing them makes the window again.
#pragma once

#include <vector>

#include "runtime/gui/edit.h"
#include "runtime/gui/system_control.h"

namespace gui {

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TSystemControl {
 public:
  explicit TMemo(rt::TComponent* owner);
  WideString ClassName() const override { return u"TMemo"; }

  std::vector<WideString> Lines() const;
  void SetLines(const std::vector<WideString>& lines);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);

  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool readOnly_ = false;
  TBorderStyle borderStyle_ = bsSingleBorder;
};

}  // namespace gui
