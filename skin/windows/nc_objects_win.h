// The clickable objects of a skinned window's non-client area: caption
// buttons here, menu-bar buttons in the menu painters. An object is
// normal (1), pressed (2) or hot (3); at most one object of a window is
// its HotObject, the one under the mouse or being pressed.
#pragma once

#include <windows.h>

#include "runtime/gui/handles.h"

namespace skin {

class TSkinFormFrame;
struct TCaptionButton;

class TNCObject {
 public:
  explicit TNCObject(TSkinFormFrame& form) : Form(form) {}
  virtual ~TNCObject();
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}

  TSkinFormFrame& Form;
  RECT Bounds{};
  bool Visible = true;
  int State = 1;

 protected:
  void BecomeHot(int state);
};

// A caption button: one of the skin's caption buttons, drawn in the
// window's caption from the frames of its image.
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TSkinFormFrame& form, int index) : TNCObject(form), Index(index) {}
  // The button's entry among the frame's caption buttons.
  const TCaptionButton& Button() const;
  void Paint() override;

  const int Index;
};

}  // namespace skin
