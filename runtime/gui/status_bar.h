// Status bars, on the common control, aligned to the bottom of their
// parent. The bar shows either its panels, left to right, or, with
// SimplePanel, one text across it.
#pragma once

#include <vector>

#include "runtime/gui/system_control.h"

namespace gui {

class TStatusBar : public TSystemControl {
 public:
  explicit TStatusBar(rt::TComponent* owner);
  WideString ClassName() const override { return u"TStatusBar"; }

  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const WideString& SimpleText() const { return simpleText_; }
  void SetSimpleText(const WideString& value);
  // The grip for sizing the form at the bar's right end.
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);

  // Adds a panel of that width in pixels; a negative width reaches the
  // bar's right edge (meant for the last panel). Returns its index.
  int AddPanel(const WideString& text, int32_t width);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  const WideString& PanelText(int index) const { return panels_.at(static_cast<size_t>(index)).Text; }
  void SetPanelText(int index, const WideString& text);
  int32_t PanelWidth(int index) const { return panels_.at(static_cast<size_t>(index)).Width; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  struct TPanelText {
    WideString Text;
    int32_t Width;
  };
  void PushParts();
  void PushText(int index);

  std::vector<TPanelText> panels_;
  bool simplePanel_ = false;
  WideString simpleText_;
  bool sizeGrip_ = true;
};

}  // namespace gui
