// Containers: group boxes drawn by the painter, panels and toolbars that
// only take the skin's face colour, nested dialogs and size grips of
// foreign windows filled with it.
#pragma once

#include "skin/controls/skin_control_win.h"

namespace skin {

class TSkinGroupBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinGroupBox"; }
  bool BeforeMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;
};

// No message handling at all: the control keeps the face colour while
// skinned and gets its own back when the painter goes. On a tool bar it
// also draws the buttons' backgrounds from the Toolbars object through
// the bar's custom drawing.
class TSkinBox : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinBox"; }

  // Set before attaching.
  bool DrawsToolbarButtons = false;

  bool BeforeMessage(gui::TMessage& message) override;
  // The Toolbars frame of a button's state: 1 normal, 2 pressed, 3
  // disabled, 4 hot, 5 checked; 0 for a flat button at rest.
  static int ToolbarFrame(UINT itemState);

 protected:
  bool HooksMessages() const override { return DrawsToolbarButtons; }
};

class TSkinBoxH : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinBoxH"; }
  bool BeforeMessage(gui::TMessage& message) override;
};

class TSkinSizer : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinSizer"; }
  // After each paint of the grip.
  void Draw(HDC dc, const RECT& bounds) override;
};

}  // namespace skin
