#include "runtime/gui/control.h"

#include "runtime/gui/application.h"
#include "runtime/gui/form.h"
#include "runtime/gui/win_control.h"
#include "runtime/wide_text_win.h"

namespace gui {

TControl::TControl(rt::TComponent* owner) : rt::TComponent(owner) {
  WindowProc = [this](TMessage& message) { WndProc(message); };
  font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  // Owned components go while the control is whole: a painter that
  // replaced WindowProc puts the old one back as it goes.
  while (ComponentCount() > 0) delete Component(ComponentCount() - 1);
  detail::ForgetMouseControl(this);
  if (ApplicationExists()) Application().ControlDestroying(this);
  if (parent_) parent_->RemoveControl(this);
  parent_ = nullptr;
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  if (WindowProc)
    WindowProc(message);
  else
    WndProc(message);
  return message.Result;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    Invalidate();
    parent_->RemoveControl(this);
  }
  parent_ = parent;
  if (parent_) {
    parent_->InsertControl(this);
    if (parentFont_) SyncParentFont();
    RequestAlign();
    Invalidate();
  }
}

TForm* TControl::ParentForm() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (auto* form = dynamic_cast<const TForm*>(c)) return const_cast<TForm*>(form);
  return nullptr;
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const RECT previous = BoundsRect();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  BoundsChanged(previous);
}

void TControl::BoundsChanged(const RECT& previous) {
  if (!IsWindowed() && parent_ && parent_->HandleAllocated()) {
    InvalidateRect(parent_->WindowHandle(), &previous, FALSE);
    Invalidate();
  }
  RequestAlign();
}

void TControl::RequestAlign() {
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  RequestAlign();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) Invalidate();
  visible_ = visible;
  Perform(CM_VISIBLECHANGED, visible);
  if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const WideString& text) {
  if (text == Text()) return;
  text_ = text;
  if (auto* self = dynamic_cast<TWinControl*>(this); self && self->HandleAllocated())
    SetWindowTextW(self->WindowHandle(), rt::AsWchar(text));
  Perform(CM_TEXTCHANGED);
}

TColor TControl::Color() const { return parentColor_ && parent_ ? parent_->Color() : color_; }

void TControl::SetColor(TColor color) {
  if (color == color_ && !parentColor_) return;
  color_ = color;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) SyncParentFont();
}

void TControl::SyncParentFont() {
  if (!parent_) return;
  syncingFont_ = true;
  font_.Assign(parent_->font_);
  syncingFont_ = false;
}

void TControl::FontChanged() {
  if (!syncingFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

HBRUSH TControl::ColorBrush() {
  const COLORREF rgb = ColorToRGB(Color());
  if (!brush_ || rgb != brushColor_) {
    brush_.reset(CreateSolidBrush(rgb));
    brushColor_ = rgb;
  }
  return brush_.get();
}

void TControl::AnswerControlColors(TMessage& message) {
  const auto dc = reinterpret_cast<HDC>(message.WParam);
  SetTextColor(dc, ColorToRGB(Font().Color()));
  SetBkColor(dc, ColorToRGB(Color()));
  message.Result = reinterpret_cast<LRESULT>(ColorBrush());
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated() && visible_) {
    const RECT bounds = BoundsRect();
    InvalidateRect(parent_->WindowHandle(), &bounds, FALSE);
  }
}

void TControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!IsWindowed()) pressed_ = true;
      break;
    case WM_LBUTTONUP:
      if (!IsWindowed() && pressed_) {
        pressed_ = false;
        const POINT point = {static_cast<short>(LOWORD(message.LParam)),
                             static_cast<short>(HIWORD(message.LParam))};
        const RECT area = ClientRect();
        if (PtInRect(&area, point)) Click();
      }
      break;
    case CM_MOUSELEAVE:
      pressed_ = false;
      break;
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      break;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_) Perform(CM_COLORCHANGED);
      return;
    case CM_PARENTFONTCHANGED:
      if (parentFont_) SyncParentFont();
      return;
  }
  DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage& message) { message.Result = 0; }

}  // namespace gui
