#include "skin/windows/nc_objects_win.h"

#include "skin/windows/form_frame_win.h"

namespace skin {

TNCObject::~TNCObject() { Form.ForgetObject(*this); }

void TNCObject::BecomeHot(int state) {
  Form.SetHotObject(this);
  State = state;
  Paint();
}

void TNCObject::MouseDown() {
  if (Form.HotObject() && Form.HotObject() != this) Form.HotObject()->MouseLeave();
  if (Visible) BecomeHot(2);
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = 3;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Form.HotObject() == this) return;
  if (Form.HotObject()) Form.HotObject()->MouseLeave();
  if (Visible) BecomeHot(3);
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Form.SetHotObject(nullptr);
  State = 1;
  Paint();
}

const TCaptionButton& TWinSysButton::Button() const { return Form.CaptionButton(Index); }

void TWinSysButton::Paint() { Form.PaintCaptionButton(*this); }

}  // namespace skin
