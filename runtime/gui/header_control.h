// Header controls: a row of clickable section buttons, on the common
// control, aligned to the top of their parent. Sections are given as
// "Caption" or "Caption=Width".
#pragma once

#include <vector>

#include "runtime/gui/system_control.h"

namespace gui {

class THeaderControl : public TSystemControl {
 public:
  explicit THeaderControl(rt::TComponent* owner);
  WideString ClassName() const override { return u"THeaderControl"; }

  const std::vector<WideString>& Sections() const { return sections_; }
  void SetSections(const std::vector<WideString>& sections);
  // The section of the last click, -1 before any.
  int32_t ClickedSection() const { return clickedSection_; }

  TNotifyEvent OnSectionClick;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  void PushSections();

  std::vector<WideString> sections_;
  int32_t clickedSection_ = -1;
};

}  // namespace gui
