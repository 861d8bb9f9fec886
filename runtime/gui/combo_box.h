// Combo boxes, on the system's combo box. Height is the height of the
// closed box; the window is made taller by DropDownCount lines so that the
// list has room to drop.
#pragma once

#include <vector>

#include "runtime/gui/system_control.h"

namespace gui {

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TSystemControl {
 public:
  explicit TComboBox(rt::TComponent* owner);
  WideString ClassName() const override { return u"TComboBox"; }

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);
  const std::vector<WideString>& Items() const { return items_; }
  void SetItems(const std::vector<WideString>& items);
  // The selected item, -1 for none.
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t value);
  // Lines the dropped list shows.
  int32_t DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int32_t value);

  // The text typed or selected changed.
  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void BoundsChanged(const RECT& previous) override;

 private:
  int32_t WindowHeight() const;

  TComboBoxStyle style_ = csDropDown;
  std::vector<WideString> items_;
  int32_t itemIndex_ = -1;
  int32_t dropDownCount_ = 8;
};

}  // namespace gui
