#include "runtime/wide_text_win.h"
#include "skin/controls/skin_control_win.h"

#include <windowsx.h>

#include "runtime/gui/graphics.h"
#include "runtime/gui/handles.h"
#include "runtime/gui/win_control.h"
#include "runtime/published.h"
#include "skin/windows/skin_private_messages_win.h"

namespace skin {

TSkinControl::TSkinControl(rt::TComponent* owner) : rt::TComponent(owner) {}

TSkinControl::~TSkinControl() {
  *alive_ = false;
  if (control_ && oldWindowProc_) control_->WindowProc = std::move(oldWindowProc_);
  subclass_.Remove();
  if (skinForm_) skinForm_->RemoveControl(this);
}

void TSkinControl::AttachControl(TSkinFormFrame* skinForm, TSkinData* data, bool recolour) {
  if (attached_) return;
  Recolour = recolour;
  skinData_ = data;
  skinForm_ = skinForm;
  control_ = dynamic_cast<gui::TControl*>(Owner());
  if (!control_) return;
  if (auto* windowed = dynamic_cast<gui::TWinControl*>(control_)) {
    handle_ = windowed->Handle();
    windowed->SetDoubleBuffered(true);
  }
  if (HooksMessages()) {
    oldWindowProc_ = control_->WindowProc;
    control_->WindowProc = [this](gui::TMessage& message) { Route(message); };
  }
  if (skinForm_) skinForm_->AddControl(this);
  if (handle_) {
    Focused = GetFocus() == handle_;
    Enabled = (Style() & WS_DISABLED) == 0;
    Text = WindowText();
  }
  if (Recolour) {
    SavedColor = control_->Color();
    control_->SetColor(Model().SkinColours.ButtonFace);
  }
  Repaint();
  attached_ = true;
  phase_ = cpAttached;
}

void TSkinControl::AttachWindow(HWND window, TSkinData* data, TSkinFormFrame* skinForm) {
  if (attached_) return;
  skinData_ = data;
  skinForm_ = skinForm;
  handle_ = window;
  Enabled = true;
  if (skinForm_) skinForm_->AddControl(this);
  Text = WindowText();
  subclass_.Install(window, [this](gui::TMessage& message) { Route(message); });
  InvalidateRect(window, nullptr, TRUE);
  attached_ = true;
  phase_ = cpAttached;
}

void TSkinControl::Unskin() {
  if (Recolour && control_) control_->SetColor(SavedColor);
}

void TSkinControl::Route(gui::TMessage& message) {
  Handled = 0;
  if (message.Msg == WM_MOUSELEAVE) trackingLeave_ = false;
  if (!paintEnabled_) {
    if (message.Msg != SKINMSG_ENABLE) return PassOn(message);
    paintEnabled_ = message.WParam > 0;
    if (paintEnabled_) Repaint();
    return;
  }
  const std::shared_ptr<bool> alive = alive_;
  if (!BeforeMessage(message) || !*alive) return;
  PassOn(message);
  // The control may have freed its painter (a click that closed the form).
  if (*alive) AfterMessage(message);
}

void TSkinControl::PassOn(gui::TMessage& message) {
  if (oldWindowProc_) {
    // A copy: the handler may free the painter and with it this member.
    const gui::TWndMethod previous = oldWindowProc_;
    previous(message);
  } else if (subclass_.Installed()) {
    subclass_.CallPrevious(message);
  } else if (control_) {
    control_->WndProc(message);
  }
}

bool TSkinControl::BeforeMessage(gui::TMessage& message) {
  if (message.Msg != WM_NCDESTROY) return true;
  const std::shared_ptr<bool> alive = alive_;
  PassOn(message);
  if (!*alive) return false;
  phase_ = cpDestroyed;
  Unskin();
  return false;
}

void TSkinControl::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case gui::CM_ENABLEDCHANGED:
      Repaint();
      break;
    case WM_SETTEXT:
      Text = WindowText();
      Repaint();
      break;
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(message.WParam));
      break;
    case SKINMSG_ENABLE:
      paintEnabled_ = message.WParam > 0;
      break;
    default:
      break;
  }
}

void TSkinControl::PaintWindow(HDC dc) {
  if (!handle_ || !GetWindowRect(handle_, &screenRect_)) return;
  const RECT bounds{0, 0, screenRect_.right - screenRect_.left, screenRect_.bottom - screenRect_.top};
  try {
    if (dc) {
      Draw(dc, bounds);
    } else {
      gui::TWindowFrameDc windowDc(handle_);
      if (windowDc.get()) Draw(windowDc.get(), bounds);
    }
  } catch (...) {
    // A painting error leaves the control as it drew itself.
  }
}

void TSkinControl::PaintWhole(gui::TMessage& message) {
  auto paint = [this](HDC dc) {
    if (!GetWindowRect(handle_, &screenRect_)) return;
    const RECT bounds{0, 0, screenRect_.right - screenRect_.left, screenRect_.bottom - screenRect_.top};
    try {
      Draw(dc, bounds);
    } catch (...) {
      // As in PaintWindow.
    }
  };
  if (message.WParam) {
    paint(reinterpret_cast<HDC>(message.WParam));
  } else {
    gui::TPaintDc dc(handle_);
    paint(dc.get());
  }
  message.Result = 0;
}

bool TSkinControl::PaintsWholeControl(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintWhole(message);
      return true;
    case WM_ERASEBKGND:
      message.Result = 1;
      return true;
    default:
      return false;
  }
}

void TSkinControl::TrackMouseLeave() {
  if (trackingLeave_ || !handle_) return;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
  trackingLeave_ = TrackMouseEvent(&track) != FALSE;
}

bool TSkinControl::FollowMouse(const gui::TMessage& message) {
  int part = -1;
  switch (message.Msg) {
    case WM_MOUSEMOVE:
      TrackMouseLeave();
      part = PartAt({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
      break;
    case WM_MOUSELEAVE:
    case gui::CM_MOUSELEAVE:
      break;
    default:
      return false;
  }
  if (part != hotPart_) {
    hotPart_ = part;
    Repaint();
  }
  return true;
}

void TSkinControl::Draw(HDC, const RECT&) {}

void TSkinControl::Refresh() {
  if (Recolour && control_) control_->SetColor(Model().SkinColours.ButtonFace);
  Repaint();
}

void TSkinControl::MouseLeave() {
  gui::TMessage message{gui::CM_MOUSELEAVE, 0, 0, 0};
  Route(message);
}

void TSkinControl::Repaint() {
  if (!handle_) {
    if (control_) control_->Invalidate();
    return;
  }
  if (control_)
    control_->Invalidate();
  else
    InvalidateRect(handle_, nullptr, TRUE);
  UpdateWindow(handle_);
}

COLORREF TSkinControl::SkinColour(rt::TColor colour) const { return gui::ColorToRGB(colour); }

void TSkinControl::FillFace(HDC dc, const RECT& rect) const {
  gui::UniqueBrush brush(CreateSolidBrush(SkinColour(Model().SkinColours.ButtonFace)));
  FillRect(dc, &rect, brush.get());
}

COLORREF TSkinControl::ParentColour() const {
  if (control_ && control_->Parent()) return gui::ColorToRGB(control_->Parent()->Color());
  return SkinColour(Model().SkinColours.ButtonFace);
}

void TSkinControl::FillParentColour(HDC dc, const RECT& rect) const {
  gui::UniqueBrush brush(CreateSolidBrush(ParentColour()));
  FillRect(dc, &rect, brush.get());
}

rt::WideString TSkinControl::PropertyText(const char* name) const {
  if (!control_ || !rt::HasProperty(*control_, name)) return {};
  try {
    return rt::GetPropertyText(*control_, name);
  } catch (const rt::Exception&) {
    return {};
  }
}

void TSkinControl::SetPropertyText(const char* name, const rt::WideString& value) const {
  if (control_ && rt::HasProperty(*control_, name)) rt::SetPropertyText(*control_, name, value);
}

rt::WideString TSkinControl::WindowText() const {
  if (!handle_) return control_ ? control_->Caption() : rt::WideString();
  rt::WideString text(static_cast<size_t>(GetWindowTextLengthW(handle_)) + 1, u'\0');
  text.resize(static_cast<size_t>(
      GetWindowTextW(handle_, rt::AsWchar(text.data()), static_cast<int>(text.size()))));
  return text;
}

}  // namespace skin
