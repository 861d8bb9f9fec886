// Group boxes: containers drawn by the framework with an etched frame and
// the caption in its top line, so that the controls inside work as in any
// other container. Radio groups are group boxes that make one radio button
// per item and report which one is checked.
#pragma once

#include <vector>

#include "runtime/gui/check_box.h"
#include "runtime/gui/win_control.h"

namespace gui {

class TGroupBox : public TWinControl {
 public:
  explicit TGroupBox(rt::TComponent* owner);
  WideString ClassName() const override { return u"TGroupBox"; }

  // Inside the frame, below the caption.
  RECT ClientRect() const override;
  void Paint(HDC dc) override;
  void WndProc(TMessage& message) override;

 protected:
  // The height of a line of the caption's font.
  int32_t CaptionHeight() const;
};

// Items are the buttons' captions; the buttons are owned by the group and
// sit in it, laid out top to bottom in Columns columns. ItemIndex is the
// checked item, -1 for none; a click on a button sets it and fires OnClick.
class TRadioGroup : public TGroupBox {
 public:
  explicit TRadioGroup(rt::TComponent* owner);
  WideString ClassName() const override { return u"TRadioGroup"; }

  std::vector<WideString> Items() const;
  void SetItems(const std::vector<WideString>& items);
  int32_t ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int32_t value);
  int32_t Columns() const { return columns_; }
  void SetColumns(int32_t value);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }

  void WndProc(TMessage& message) override;

 protected:
  void BoundsChanged(const RECT& previous) override;

 private:
  void ArrangeButtons();
  void ButtonClicked(TRadioButton* button);

  std::vector<TRadioButton*> buttons_;
  int32_t itemIndex_ = -1;
  int32_t columns_ = 1;
};

}  // namespace gui
