// Edit boxes and up-down controls. The edit painter lets the edit draw
// its client area and frames its border with two lines; the up-down
// painter draws the whole control from the UpDownVert / UpDownHorz
// images.
#pragma once

#include "skin/controls/skin_control_win.h"

namespace skin {

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinEdit"; }

  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;

  TSkinUpDown* UpDown = nullptr;

 private:
  // Only once: an up-down inside the edit gets a painter of its own.
  void FindUpDown();
  bool HasBorder(int slack) const;
  void PrintBorder(HDC dc);
  bool searched_ = false;
};

class TSkinUpDown : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinUpDown"; }

  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;

  // It sits in an edit box (and was found by the edit's painter).
  bool InEdit = false;

 private:
  bool Horizontal() const;
  // 0 for the up (left) half, 1 for the down (right) one, -1 outside.
  int PartAt(POINT clientPoint) const override;
  int pressed_ = -1;
};

}  // namespace skin
