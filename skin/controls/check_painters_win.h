// Check boxes and radio buttons: the control draws its text, the painter
// draws the box from the skin's check or radio image over it, and the
// text of a disabled one in the skin's disabled text colour.
#pragma once

#include "skin/controls/skin_control_win.h"

namespace skin {

class TSkinCheckBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinCheckBox"; }

  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;

  // The image frame for a state: 1 off, 2 on, 3 mixed, 4 off disabled,
  // 5 on disabled; images of 12 frames keep their own order.
  static int BoxFrame(int checkState, bool enabled, bool pressed, bool hot, int frameCount);

 protected:
  virtual const TSkinBitmap& BoxImage() const;
  virtual int BoxFrameCount() const;
  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
  virtual int CheckState() const;
  void DrawDisabledText(HDC dc, const RECT& bounds);
  bool pressed_ = false;
  bool hot_ = false;
};

class TSkinRadioButton : public TSkinCheckBox {
 public:
  using TSkinCheckBox::TSkinCheckBox;
  rt::WideString ClassName() const override { return u"TSkinRadioButton"; }

 protected:
  const TSkinBitmap& BoxImage() const override;
  int BoxFrameCount() const override;
  int CheckState() const override;
};

// Image check boxes of a control library that draws its own glyphs: the
// glyphs come from the skin's check image instead, unless the control
// asks for its custom glyphs.
class TSkinObjImage : public TSkinCheckBox {
 public:
  using TSkinCheckBox::TSkinCheckBox;
  rt::WideString ClassName() const override { return u"TSkinObjImage"; }
  void Draw(HDC dc, const RECT& bounds) override;
};

}  // namespace skin
