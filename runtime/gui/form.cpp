#include "runtime/gui/form.h"

#include <windowsx.h>

#include <algorithm>

#include "runtime/gui/application.h"
#include "runtime/gui/menus.h"
#include "runtime/task_windows_disabler_win.h"

namespace gui {

namespace {

bool KeyDown(int key) { return GetKeyState(key) < 0; }

// Clears a flag when the scope ends, also by an exception.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TForm::TForm(rt::TComponent* owner) : TWinControl(owner) {
  visible_ = false;
  parentFont_ = false;
  SetBounds(0, 0, 320, 240);
  Screen().forms_.push_back(this);
}

TForm::~TForm() {
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      HandleCurrentException();
    }
  }
  SetMenu(nullptr);
  SetPopupMenu(nullptr);
  // The controls go while the form is still a form: each tells it that it
  // is going, and none outlives the window it sits in.
  while (ComponentCount() > 0) delete Component(ComponentCount() - 1);
  auto& forms = Screen().forms_;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  DestroyHandle();
}

DWORD TForm::WindowStyle() const {
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  bool boxes = true;
  switch (borderStyle_) {
    case bsNone:
      style |= WS_POPUP;
      boxes = false;
      break;
    case bsSingle:
    case bsToolWindow:
      style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      style |= WS_POPUP | WS_CAPTION;
      boxes = false;
      break;
  }
  if (borderStyle_ != bsNone && borderIcons_ >> biSystemMenu & 1) style |= WS_SYSMENU;
  if (boxes && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
    if (borderIcons_ >> biMinimize & 1) style |= WS_MINIMIZEBOX;
    if (borderIcons_ >> biMaximize & 1) style |= WS_MAXIMIZEBOX;
  }
  return style;
}

DWORD TForm::WindowExStyle() const {
  switch (borderStyle_) {
    case bsDialog:
      return WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    case bsToolWindow:
    case bsSizeToolWin:
      return WS_EX_TOOLWINDOW;
    default:
      return 0;
  }
}

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style = WindowStyle();
  params.ExStyle = WindowExStyle();
  params.WndParent = ownerWindow_;
  if (position_ == poDefault || position_ == poDefaultPosOnly) params.X = params.Y = CW_USEDEFAULT;
}

void TForm::HandleCreated() {
  placed_ = false;
  if (menu_) ::SetMenu(WindowHandle(), menu_->Handle());
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu && menu->form_ && menu->form_ != this) menu->form_->SetMenu(nullptr);
  if (menu_) menu_->form_ = nullptr;
  menu_ = menu;
  if (menu_) menu_->form_ = this;
  if (HandleAllocated()) {
    ::SetMenu(WindowHandle(), menu_ ? menu_->Handle() : nullptr);
    DrawMenuBar(WindowHandle());
  }
  Perform(CM_MENUCHANGED);
}

rt::WideString TForm::MenuName() const { return menu_ ? menu_->Name() : menuName_; }

void TForm::SetMenuName(const rt::WideString& name) {
  menuName_ = name;
  if (Loading()) return;
  auto* menu = dynamic_cast<TMainMenu*>(FindComponent(name));
  if (!name.empty() && !menu) throw rt::Exception(u"Menu introuvable : " + name);
  SetMenu(menu);
}

void TForm::Loaded() {
  TWinControl::Loaded();
  if (!menuName_.empty()) SetMenuName(menuName_);
}

void TForm::SetPopupMenu(TPopupMenu* menu) {
  if (menu == popupMenu_) return;
  if (menu && menu->form_ && menu->form_ != this) menu->form_->SetPopupMenu(nullptr);
  if (popupMenu_) popupMenu_->form_ = nullptr;
  popupMenu_ = menu;
  if (popupMenu_) popupMenu_->form_ = this;
}

bool TForm::MenuMessage(TMessage& message) {
  // The menus that can send the form their messages: its bar, its
  // context menu and the context menus it owns.
  std::vector<TMenu*> menus;
  if (menu_) menus.push_back(menu_);
  if (popupMenu_) menus.push_back(popupMenu_);
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* popup = dynamic_cast<TPopupMenu*>(Component(i)); popup && popup != popupMenu_) menus.push_back(popup);
  switch (message.Msg) {
    case WM_COMMAND:
      if (message.LParam) return false;
      for (TMenu* menu : menus)
        if (HandleMenuCommand(menu, message.WParam)) return true;
      return false;
    case WM_MEASUREITEM:
      for (TMenu* menu : menus)
        if (MeasureMenuItem(menu, WindowHandle(), *reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam))) {
          message.Result = TRUE;
          return true;
        }
      return false;
    case WM_DRAWITEM:
      for (TMenu* menu : menus)
        if (DrawMenuItem(menu, *reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam))) {
          message.Result = TRUE;
          return true;
        }
      return false;
    case WM_CONTEXTMENU: {
      if (!popupMenu_ || reinterpret_cast<HWND>(message.WParam) != WindowHandle()) return false;
      POINT at = {GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
      // From the keyboard the position is -1, -1: the menu opens at the cursor.
      if (at.x == -1 && at.y == -1) GetCursorPos(&at);
      popupMenu_->SetPopupComponent(this);
      popupMenu_->Popup(at.x, at.y);
      popupMenu_->SetPopupComponent(nullptr);
      return true;
    }
    case WM_DESTROY:
      // A window destroys the menu it shows; the menu belongs to its
      // TMainMenu, so it is taken off first.
      ::SetMenu(WindowHandle(), nullptr);
      return false;
    default:
      return false;
  }
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
  borderStyle_ = value;
  if (HandleAllocated()) {
    SetWindowLongPtrW(WindowHandle(), GWL_STYLE,
                      static_cast<LONG_PTR>(WindowStyle() | (IsWindowVisible(WindowHandle()) ? WS_VISIBLE : 0)));
    SetWindowLongPtrW(WindowHandle(), GWL_EXSTYLE, static_cast<LONG_PTR>(WindowExStyle()));
    SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void TForm::SetBorderIcons(TBorderIcons value) {
  borderIcons_ = value;
  SetBorderStyle(borderStyle_);
}

RECT TForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  RECT frame = {0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WindowStyle(), FALSE, WindowExStyle());
  return {0, 0, std::max<LONG>(0, Width() - (frame.right - frame.left)),
          std::max<LONG>(0, Height() - (frame.bottom - frame.top))};
}

int32_t TForm::ClientWidth() const { return ClientRect().right; }
int32_t TForm::ClientHeight() const { return ClientRect().bottom; }

void TForm::SetClientWidth(int32_t value) { SetWidth(Width() - ClientWidth() + value); }
void TForm::SetClientHeight(int32_t value) { SetHeight(Height() - ClientHeight() + value); }

void TForm::PlaceForShowing() {
  placed_ = true;
  if (position_ != poScreenCenter && position_ != poDesktopCenter &&
      position_ != poMainFormCenter && position_ != poOwnerFormCenter)
    return;
  RECT area;
  TForm* mainForm = ApplicationExists() ? Application().MainForm() : nullptr;
  if ((position_ == poMainFormCenter || position_ == poOwnerFormCenter) && mainForm &&
      mainForm != this && mainForm->HandleAllocated()) {
    GetWindowRect(mainForm->WindowHandle(), &area);
  } else {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const HWND anchor = ownerWindow_ ? ownerWindow_ : GetActiveWindow();
    GetMonitorInfoW(MonitorFromWindow(anchor, MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
  }
  const int32_t x = area.left + (area.right - area.left - Width()) / 2;
  const int32_t y = area.top + (area.bottom - area.top - Height()) / 2;
  SetBounds(std::max<int32_t>(x, 0), std::max<int32_t>(y, 0), Width(), Height());
}

void TForm::Show() { SetVisible(true); }
void TForm::Hide() { SetVisible(false); }

void TForm::SetVisible(bool visible) {
  if (!visible) {
    visible_ = false;
    if (HandleAllocated()) ShowWindow(WindowHandle(), SW_HIDE);
    return;
  }
  // A stored Visible waits for the form to be shown by its creator.
  if (Loading()) {
    visible_ = true;
    return;
  }
  const HWND window = Handle();
  if (!placed_) PlaceForShowing();
  const bool first = !shownOnce_;
  shownOnce_ = true;
  visible_ = true;
  if (first && !activeControl_) SetActiveControl(FindFirstFocusable());
  ShowWindow(window, SW_SHOWNORMAL);
  if (activeControl_ && GetActiveWindow() == window && activeControl_->CanFocus())
    ::SetFocus(activeControl_->Handle());
  if (first && OnShow) OnShow(this);
}

void TForm::Close() {
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  if (ApplicationExists() && Application().MainForm() == this) {
    Application().Terminate();
    return;
  }
  switch (action) {
    case caMinimize:
      if (HandleAllocated()) ShowWindow(WindowHandle(), SW_MINIMIZE);
      break;
    case caFree:
      Release();
      break;
    default:
      Hide();
      break;
  }
}

void TForm::Release() {
  if (ApplicationExists())
    PostMessageW(Application().Handle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(this));
}

TModalResult TForm::ShowModal() {
  if (modal_ || (HandleAllocated() && IsWindowVisible(WindowHandle())))
    throw rt::Exception(u"Impossible de rendre modale une fenêtre visible");
  const HWND previousActive = GetActiveWindow();
  if (!HandleAllocated() && !ownerWindow_) ownerWindow_ = previousActive;
  TFlagScope modal(modal_);
  modalResult_ = mrNone;
  {
    rt::TTaskWindowsDisabler disabler(Handle());
    Show();
    while (modalResult_ == mrNone) {
      Application().HandleMessage();
      if (Application().Terminated()) modalResult_ = mrCancel;
    }
    disabler.Restore();
    Hide();
  }
  if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
  return modalResult_;
}

void TForm::SetActiveControl(TWinControl* control) {
  if (control && control->ParentForm() != this) return;
  if (control && HandleAllocated() && GetActiveWindow() == WindowHandle() && control->CanFocus()) {
    ::SetFocus(control->Handle());  // FocusChanged follows from WM_SETFOCUS
    return;
  }
  if (control == activeControl_) return;
  activeControl_ = control;
  Broadcast(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control), false);
}

void TForm::FocusChanged(TWinControl* control) {
  if (control == focused_) return;
  TWinControl* previous = focused_;
  focused_ = control;
  activeControl_ = control;
  if (previous) previous->Perform(CM_EXIT);
  if (control) control->Perform(CM_ENTER);
  Broadcast(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control), false);
}

void TForm::ForgetControl(TWinControl* control) {
  if (activeControl_ == control) activeControl_ = nullptr;
  if (focused_ == control) focused_ = nullptr;
}

std::vector<TControl*> TForm::AllControls() const {
  std::vector<TControl*> all;
  // Depth first, children in creation order.
  std::function<void(const TWinControl*)> walk = [&](const TWinControl* parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl* c = parent->Controls(i);
      all.push_back(c);
      if (auto* w = dynamic_cast<const TWinControl*>(c)) walk(w);
    }
  };
  walk(this);
  return all;
}

TWinControl* TForm::FindFirstFocusable() const { return FindNextControl(nullptr, true); }

TWinControl* TForm::FindNextControl(TWinControl* current, bool forward) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  std::vector<TWinControl*> stops;
  for (TWinControl* c : list)
    if (c->TabStop() && c->CanFocus()) stops.push_back(c);
  if (stops.empty()) return nullptr;
  const auto it = std::find(stops.begin(), stops.end(), current);
  if (it == stops.end()) return forward ? stops.front() : stops.back();
  const auto index = static_cast<size_t>(it - stops.begin());
  return forward ? stops[(index + 1) % stops.size()] : stops[(index + stops.size() - 1) % stops.size()];
}

void TForm::SelectNext(TWinControl* current, bool forward) {
  if (TWinControl* next = FindNextControl(current, forward)) next->SetFocus();
}

bool TForm::Broadcast(UINT msg, WPARAM wParam, LPARAM lParam, bool untilHandled) {
  for (TControl* c : AllControls())
    if (c->Perform(msg, wParam, lParam) && untilHandled) return true;
  return false;
}

bool TForm::DialogKey(WPARAM key) {
  if (key == VK_TAB) {
    if (KeyDown(VK_CONTROL) || KeyDown(VK_MENU)) return false;
    SelectNext(activeControl_, !KeyDown(VK_SHIFT));
    return true;
  }
  return Broadcast(CM_DIALOGKEY, key, 0, true);
}

void TForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_CLOSE:
      Close();
      message.Result = 0;
      return;
    case WM_ACTIVATE:
      DefaultHandler(message);
      // Windows gives the focus to the frame; it belongs to the control
      // that had it.
      if (LOWORD(message.WParam) != WA_INACTIVE && !HIWORD(message.WParam) && activeControl_ &&
          activeControl_->CanFocus())
        ::SetFocus(activeControl_->Handle());
      return;
    case WM_SETFOCUS:
      DefaultHandler(message);
      if (activeControl_ && activeControl_->CanFocus()) ::SetFocus(activeControl_->Handle());
      return;
    case CM_DIALOGKEY:
      message.Result = DialogKey(message.WParam) ? 1 : 0;
      return;
    case CM_DIALOGCHAR:
      message.Result = Broadcast(CM_DIALOGCHAR, message.WParam, message.LParam, true) ? 1 : 0;
      return;
    case CM_VISIBLECHANGED:
      return;
    case WM_COMMAND:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_CONTEXTMENU:
    case WM_DESTROY:
      if (MenuMessage(message)) return;
      break;
  }
  TWinControl::WndProc(message);
}

}  // namespace gui
