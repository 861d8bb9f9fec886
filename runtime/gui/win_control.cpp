#include "runtime/gui/win_control.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

#include "runtime/format.h"
#include "runtime/gui/application.h"
#include "runtime/gui/form.h"
#include "runtime/wide_text_win.h"
#include "runtime/window_class_win.h"

namespace gui {

namespace {

constexpr wchar_t kControlProperty[] = L"QuimoraControl";

// The control under the mouse, told CM_MOUSELEAVE when the mouse moves on.
TControl* gMouseControl = nullptr;

void SetMouseControl(TControl* control) {
  if (control == gMouseControl) return;
  TControl* previous = gMouseControl;
  gMouseControl = control;
  if (previous) previous->Perform(CM_MOUSELEAVE);
  if (control) control->Perform(CM_MOUSEENTER);
}

// The procedure each of our window classes builds on, by class name.
std::map<std::wstring, WNDPROC>& WindowClasses() {
  static std::map<std::wstring, WNDPROC> classes;
  return classes;
}

WNDPROC BaseProcOf(HWND window) {
  const auto it = WindowClasses().find(rt::WstringFromWide(rt::WindowClassName(window)));
  return it == WindowClasses().end() ? DefWindowProcW : it->second;
}

HICON ApplicationIcon() {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  return icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = static_cast<TWinControl*>(GetPropW(window, kControlProperty));
  if (!control) {
    if (msg == WM_NCCREATE) {
      control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      if (control) {
        SetPropW(window, kControlProperty, control);
        control->handle_ = window;
      }
    }
    if (!control) return CallWindowProcW(BaseProcOf(window), window, msg, wParam, lParam);
  }
  TMessage message{msg, wParam, lParam, 0};
  try {
    if (control->WindowProc)
      control->WindowProc(message);
    else
      control->WndProc(message);
  } catch (...) {
    HandleCurrentException();
  }
  if (msg == WM_NCDESTROY) {
    RemovePropW(window, kControlProperty);
    control->handle_ = nullptr;
    control->trackingMouse_ = false;
  }
  return message.Result;
}

namespace {

WNDPROC RegisterWindowClass(const std::wstring& name, const wchar_t* baseClass, UINT classStyle) {
  auto& classes = WindowClasses();
  if (const auto it = classes.find(name); it != classes.end()) return it->second;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  WNDPROC base = DefWindowProcW;
  if (baseClass) {
    if (!GetClassInfoExW(nullptr, baseClass, &wc))
      throw rt::Exception(rt::Format(u"Classe de fenêtre %s introuvable",
                                     {rt::AsChar16(baseClass)}));
    base = wc.lpfnWndProc;
    wc.style &= ~CS_GLOBALCLASS;
  } else {
    wc.style = classStyle;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ApplicationIcon();
  }
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FrameworkWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name.c_str();
  wc.lpszMenuName = nullptr;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw rt::Exception(rt::Format(u"Impossible d'enregistrer la classe de fenêtre %s (erreur %u)",
                                   {rt::AsChar16(name.c_str()),
                                    static_cast<unsigned>(GetLastError())}));
  classes.emplace(name, base);
  return base;
}

}  // namespace

TWinControl::TWinControl(rt::TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  while (ComponentCount() > 0) delete Component(ComponentCount() - 1);
  for (TControl* child : controls_) child->parent_ = nullptr;
  controls_.clear();
  if (TForm* form = ParentForm(); form && form != static_cast<TControl*>(this))
    form->ForgetControl(this);
  DestroyHandle();
  if (parent_) parent_->RemoveControl(this);
  parent_ = nullptr;
}

TWinControl* TWinControl::FromHandle(HWND window) {
  return window ? static_cast<TWinControl*>(GetPropW(window, kControlProperty)) : nullptr;
}

HWND TWinControl::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
  const WideString name = ClassName();
  params.WindowClass.assign(name.begin(), name.end());
  params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (visible_) params.Style |= WS_VISIBLE;
  if (tabStop_) params.Style |= WS_TABSTOP;
  if (!enabled_) params.Style |= WS_DISABLED;
  params.X = left_;
  params.Y = top_;
  params.Width = width_;
  params.Height = height_;
  params.WndParent = Parent() ? Parent()->Handle() : nullptr;
}

void TWinControl::CreateHandle() {
  if (handle_ || creating_) return;
  // The parent's window comes first; making it also makes ours.
  if (Parent()) Parent()->Handle();
  if (handle_) return;
  TCreateParams params;
  CreateParams(params);
  baseProc_ = RegisterWindowClass(params.WindowClass, params.BaseClass, params.ClassStyle);
  ownPainted_ = params.BaseClass == nullptr;
  creating_ = true;
  const HWND window = CreateWindowExW(params.ExStyle, params.WindowClass.c_str(), rt::AsWchar(text_),
                                      params.Style, params.X, params.Y, params.Width, params.Height,
                                      params.WndParent, nullptr, GetModuleHandleW(nullptr), this);
  creating_ = false;
  if (!window || !handle_)
    throw rt::Exception(rt::Format(u"Impossible de créer la fenêtre de %s (erreur %u)",
                                   {ClassName(), static_cast<unsigned>(GetLastError())}));
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
  HandleCreated();
  for (TControl* child : controls_)
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) windowed->CreateHandle();
  Realign();
}

void TWinControl::DestroyHandle() {
  if (handle_) DestroyWindow(handle_);
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (!windowed) return;
  if (windowed->tabOrder_ < 0) {
    windowed->tabOrder_ = static_cast<int32_t>(
        std::count_if(controls_.begin(), controls_.end(),
                      [](TControl* c) { return c->IsWindowed(); }) - 1);
  }
  if (handle_) {
    if (windowed->handle_)
      ::SetParent(windowed->handle_, handle_);
    else
      windowed->CreateHandle();
  } else if (windowed->handle_) {
    // Its window belonged to the old parent's; it is made again with ours.
    windowed->DestroyHandle();
  }
}

void TWinControl::RemoveControl(TControl* control) {
  const auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  if (mouseCapture_ == control) mouseCapture_ = nullptr;
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->DestroyHandle();
}

void TWinControl::SetTabStop(bool value) {
  tabStop_ = value;
  if (!handle_) return;
  LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
  style = value ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP);
  SetWindowLongPtrW(handle_, GWL_STYLE, style);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  std::vector<TWinControl*> children;
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) children.push_back(w);
  std::stable_sort(children.begin(), children.end(),
                   [](TWinControl* a, TWinControl* b) { return a->tabOrder_ < b->tabOrder_; });
  for (TWinControl* child : children) {
    list.push_back(child);
    child->GetTabOrderList(list);
  }
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TForm* form = ParentForm(); form && form != static_cast<TControl*>(this)) {
    form->SetActiveControl(this);
  } else if (Handle()) {
    ::SetFocus(handle_);
  }
}

void TWinControl::BoundsChanged(const RECT& previous) {
  if (handle_)
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  Realign();
  TControl::BoundsChanged(previous);
}

void TWinControl::UpdateBoundsFromWindow() {
  if (!handle_ || IsIconic(handle_)) return;
  RECT r;
  GetWindowRect(handle_, &r);
  if (const HWND parent = GetParent(handle_); parent && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  const RECT previous = BoundsRect();
  if (r.left == previous.left && r.top == previous.top && r.right == previous.right &&
      r.bottom == previous.bottom)
    return;
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  Realign();
  RequestAlign();
}

RECT TWinControl::ClientRect() const {
  RECT r = {0, 0, width_, height_};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::RequestAlign() {
  if (Parent() && Align() != alNone) Parent()->Realign();
}

void TWinControl::Realign() {
  if (aligning_) return;
  aligning_ = true;
  RECT area = ClientRect();
  const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign align : order) {
    for (TControl* c : controls_) {
      if (c->Align() != align || !c->Visible()) continue;
      const int32_t w = area.right - area.left;
      const int32_t h = area.bottom - area.top;
      switch (align) {
        case alTop:
          c->SetBounds(area.left, area.top, w, c->Height());
          area.top += c->Height();
          break;
        case alBottom:
          c->SetBounds(area.left, area.bottom - c->Height(), w, c->Height());
          area.bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(area.left, area.top, c->Width(), h);
          area.left += c->Width();
          break;
        case alRight:
          c->SetBounds(area.right - c->Width(), area.top, c->Width(), h);
          area.right -= c->Width();
          break;
        default:
          c->SetBounds(area.left, area.top, w, h);
          break;
      }
    }
  }
  aligning_ = false;
}

WideString TWinControl::Text() const {
  if (!handle_) return text_;
  WideString text(static_cast<size_t>(GetWindowTextLengthW(handle_)) + 1, u'\0');
  text.resize(static_cast<size_t>(
      GetWindowTextW(handle_, rt::AsWchar(text.data()), static_cast<int>(text.size()))));
  return text;
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, !ownPainted_);
}

void TWinControl::PaintWindow(HDC dc) {
  const RECT client = TWinControl::ClientRect();
  FillRect(dc, &client, ColorBrush());
  Paint(dc);
  PaintControls(dc);
}

void TWinControl::PaintBuffered(HDC dc) {
  const RECT client = TWinControl::ClientRect();
  UniqueMemoryDc buffer(CreateCompatibleDC(dc));
  UniqueBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!buffer || !bitmap) return PaintWindow(dc);
  TSelectObject select(buffer.get(), bitmap.get());
  PaintWindow(buffer.get());
  BitBlt(dc, 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    if (c->IsWindowed() || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
    const RECT bounds = c->BoundsRect();
    if (!RectVisible(dc, &bounds)) continue;
    TSavedDc saved(dc);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + bounds.left, origin.y + bounds.top, nullptr);
    c->Paint(dc);
  }
}

TControl* TWinControl::ControlAtPos(POINT point) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (c->IsWindowed() || !c->Visible() || !c->Enabled()) continue;
    const RECT bounds = c->BoundsRect();
    if (PtInRect(&bounds, point)) return c;
  }
  return nullptr;
}

void TWinControl::ReflectToChild(TMessage& message, HWND child) {
  TWinControl* control = FromHandle(child);
  if (control && control != this) {
    message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
  } else {
    DefaultHandler(message);
  }
}

// Mouse messages over a non-windowed child go to that child, in its own
// coordinates; a press keeps them going there until the button is up.
void TWinControl::ForwardMouse(TMessage& message) {
  const POINT point = {GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  TControl* target = mouseCapture_ ? mouseCapture_ : ControlAtPos(point);
  if (message.Msg == WM_MOUSEMOVE) {
    if (!trackingMouse_) {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
      trackingMouse_ = TrackMouseEvent(&track) != FALSE;
    }
    SetMouseControl(target ? target : this);
  }
  if (!target) return TControl::WndProc(message);
  if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
    mouseCapture_ = target;
    SetCapture(handle_);
  }
  const LPARAM local = MAKELPARAM(point.x - target->Left(), point.y - target->Top());
  message.Result = target->Perform(message.Msg, message.WParam, local);
  if (message.Msg == WM_LBUTTONUP) {
    mouseCapture_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
  }
}

void TWinControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_COMMAND:
      if (message.LParam) return ReflectToChild(message, reinterpret_cast<HWND>(message.LParam));
      break;
    case WM_NOTIFY:
      if (message.LParam) return ReflectToChild(message, reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom);
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
      if (item->CtlType != ODT_MENU) return ReflectToChild(message, item->hwndItem);
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (message.LParam) return ReflectToChild(message, reinterpret_cast<HWND>(message.LParam));
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return ReflectToChild(message, reinterpret_cast<HWND>(message.LParam));
    case WM_PAINT:
      if (ownPainted_) {
        TPaintDc dc(handle_);
        if (doubleBuffered_) {
          PaintBuffered(dc.get());
        } else {
          PaintWindow(dc.get());
        }
        return;
      }
      break;
    case WM_PRINTCLIENT:
      if (ownPainted_) {
        PaintWindow(reinterpret_cast<HDC>(message.WParam));
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (ownPainted_) {
        message.Result = 1;  // the background is painted with the rest
        return;
      }
      break;
    case WM_SETFOCUS:
      DefaultHandler(message);
      if (TForm* form = ParentForm(); form && form != static_cast<TControl*>(this))
        form->FocusChanged(this);
      return;
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(message);
      UpdateBoundsFromWindow();
      return;
    case WM_SETTEXT:
      DefaultHandler(message);
      text_ = message.LParam ? reinterpret_cast<const char16_t*>(message.LParam) : u"";
      return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return ForwardMouse(message);
    case WM_MOUSELEAVE:
      trackingMouse_ = false;
      if (gMouseControl == this || (gMouseControl && gMouseControl->Parent() == this &&
                                    !gMouseControl->IsWindowed()))
        SetMouseControl(nullptr);
      return DefaultHandler(message);
    case CM_ENABLEDCHANGED:
      if (handle_) EnableWindow(handle_, Enabled());
      break;
    case CM_VISIBLECHANGED:
      if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case CM_FONTCHANGED:
      if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
      for (TControl* child : std::vector<TControl*>(controls_)) child->Perform(CM_PARENTFONTCHANGED);
      break;
    case CM_COLORCHANGED:
      for (TControl* child : std::vector<TControl*>(controls_)) child->Perform(CM_PARENTCOLORCHANGED);
      break;
  }
  TControl::WndProc(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (IsReflected(message.Msg)) {
    // Nobody handled the notification: the parent's window procedure
    // gives its usual answer.
    if (TWinControl* parent = Parent(); parent && parent->handle_)
      message.Result = CallWindowProcW(parent->baseProc_, parent->handle_, message.Msg - CN_BASE,
                                       message.WParam, message.LParam);
    return;
  }
  if (message.Msg >= CM_BASE && message.Msg < CN_BASE) return TControl::DefaultHandler(message);
  if (!handle_) return TControl::DefaultHandler(message);
  message.Result = CallWindowProcW(baseProc_, handle_, message.Msg, message.WParam, message.LParam);
}

void detail::ForgetMouseControl(TControl* control) {
  if (gMouseControl == control) gMouseControl = nullptr;
}

}  // namespace gui
