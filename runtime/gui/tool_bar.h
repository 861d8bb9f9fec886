// Tool bars: a row of text buttons, on the common control, aligned to the
// top of their parent. Each button runs its own handler when clicked.
#pragma once

#include <vector>

#include "runtime/gui/system_control.h"

namespace gui {

class TToolBar : public TSystemControl {
 public:
  explicit TToolBar(rt::TComponent* owner);
  WideString ClassName() const override { return u"TToolBar"; }

  // Buttons drawn without edges until the mouse is over them.
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool value);

  // Adds a button at the end; returns its index.
  int AddButton(const WideString& caption, TNotifyEvent onClick);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  // The command the system's tool bar reports for a button.
  static int CommandOf(int index) { return index + kFirstCommand; }

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  static constexpr int kFirstCommand = 100;
  struct TToolButton {
    WideString Caption;
    TNotifyEvent OnClick;
  };
  void PushButton(int index);

  std::vector<TToolButton> buttons_;
  bool flat_ = false;
  bool showCaptions_ = true;
};

}  // namespace gui
