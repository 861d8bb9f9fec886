// Non-client mouse input of a skinned window: its caption buttons, the
// caption's clicks, the system menu, and the timer that notices the
// mouse leaving a button.
#include <windowsx.h>

#include "skin/windows/form_frame_win.h"
#include "skin/windows/skin_manager_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace skin {

POINT TSkinFormFrame::WindowPoint(LPARAM screenPoint) const {
  POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  ScreenToClient(handle_, &point);
  if (windowState_ != wsMinimized) {
    point.x += frameLeft_;
    point.y += frameTop_ + menuHeight_;
  }
  return point;
}

TNCObject* TSkinFormFrame::ObjectAt(POINT point) {
  for (const auto& button : sysButtons_)
    if (button->Visible && PtInRect(&button->Bounds, point)) return button.get();
  if (skinMenu_) return skinMenu_->ObjectAt(point);
  return nullptr;
}

void TSkinFormFrame::NcMouse(gui::TMessage& m, bool& handled) {
  const POINT point = WindowPoint(m.LParam);
  TNCObject* object = ObjectAt(point);
  handled = false;
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      if (!active_) {
        m.Result = 0;
        handled = true;
        return;
      }
      if (object) {
        object->MouseEnter();
        m.Result = 0;
        handled = true;
        return;
      }
      if (hotObject_) hotObject_->MouseLeave();
      return;
    case WM_NCLBUTTONDOWN:
      if (object) {
        if (!active_) SetForegroundWindow(handle_);
        object->MouseDown();
        if (skinMenu_ && !dynamic_cast<TWinSysButton*>(object)) skinMenu_->OpenButton(*object);
        m.Result = 0;
        handled = true;
        return;
      }
      // A maximized window stays where it is.
      if (m.WParam == HTCAPTION && windowState_ == wsMaximized && active_) m.WParam = HTMENU;
      return;
    case WM_NCLBUTTONUP:
      if (auto* button = dynamic_cast<TWinSysButton*>(object); button && button == hotObject_) {
        button->MouseUp();
        PerformAction(button->Button().Data.Action, point);
      }
      if (object) {
        m.Result = 0;
        handled = true;
      }
      return;
    case WM_NCRBUTTONDOWN:
      if (m.WParam == HTCAPTION && mdiKind_ != mdChild) {
        OpenSystemMenu({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, false);
        m.Result = 0;
        handled = true;
      }
      return;
    case WM_NCLBUTTONDBLCLK:
      if (windowState_ == wsMaximized)
        Restore();
      else if (windowState_ == wsNormal && (boxFlags_ & kBoxMaximize))
        ToggleMaximize();
      m.Result = 0;
      handled = true;
      return;
    default:
      return;
  }
}

void TSkinFormFrame::ClickLater(const TNCObject& object) {
  RECT window{};
  GetWindowRect(handle_, &window);
  PostMessageW(handle_, WM_NCLBUTTONDOWN, HTCLIENT,
               MAKELPARAM(window.left + object.Bounds.left + 1, window.top + object.Bounds.top + 1));
}

void TSkinFormFrame::TimerTick() {
  if (inMenuLoop_) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (hotObject_) {
    RECT window{};
    GetWindowRect(handle_, &window);
    const POINT point{cursor.x - window.left, cursor.y - window.top};
    if (!PtInRect(&hotObject_->Bounds, point)) hotObject_->MouseLeave();
  }
  if (!form_ && hotButton_) {
    const RECT bounds = hotButton_->ScreenRect();
    if (!PtInRect(&bounds, cursor)) {
      hotButton_->MouseLeave();
      hotButton_ = nullptr;
    }
  }
}

void TSkinFormFrame::PerformAction(int action, POINT at) {
  RECT window{};
  GetWindowRect(handle_, &window);
  const POINT screen{window.left + at.x + 1, window.top + at.y + 1};
  auto toActiveChild = [this](WPARAM command) {
    if (mdiKind_ != mdFrame || !mdiClient_) return;
    BOOL maximized = FALSE;
    const auto child =
        reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    if (!child) return;
    SendMessageW(child, WM_SYSCOMMAND, command, 0);
    TSkinManage* manager = Manager();
    if (manager && manager->MDIMaximized()) {
      BOOL stillMaximized = FALSE;
      SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&stillMaximized));
      if (!stillMaximized) manager->SetMDIMaximized(false);
    }
  };
  switch (action) {
    case 0:
      timer_.SetEnabled(false);
      PostMessageW(handle_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case 1:
    case 22:
      ToggleMaximize();
      return;
    case 2:
    case 23:
      ToggleMinimize();
      return;
    case 3:
    case 11:
    case 12:
      OpenSystemMenu(screen, true);
      return;
    case 7:
    case 60:
      toActiveChild(SC_MINIMIZE);
      return;
    case 8:
    case 61:
      toActiveChild(SC_RESTORE);
      return;
    case 9:
    case 62:
      toActiveChild(SC_CLOSE);
      return;
    default:
      PostMessageW(handle_, SKINMSG_BUTTON, static_cast<WPARAM>(action), 0);
      return;
  }
}

void TSkinFormFrame::ToggleMaximize() {
  if (windowState_ == wsMaximized) {
    Restore();
    return;
  }
  if (mdiKind_ == mdChild)
    if (TSkinManage* manager = Manager()) manager->SetMDIMaximized(true);
  windowState_ = wsMaximized;
  PostMessageW(handle_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  hotObject_ = nullptr;
}

void TSkinFormFrame::ToggleMinimize() {
  if (windowState_ == wsMinimized) {
    Restore();
    return;
  }
  windowState_ = wsMinimized;
  PostMessageW(handle_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TSkinFormFrame::Restore() {
  windowState_ = wsNormal;
  PostMessageW(handle_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TSkinFormFrame::Close() {
  timer_.SetEnabled(false);
  PostMessageW(handle_, WM_CLOSE, 0, 0);
}

void TSkinFormFrame::BuildSystemPopup() {
  sysPopup_.Clear();
  // Owner-drawn only when the menu painters are there to draw it.
  sysPopup_.SetOwnerDraw(MenuSkinning().MenuItemMessage != nullptr);
  sysPopup_.Add({u" Restore ", stRestore, {}, true});
  if (boxFlags_ & kBoxMaximize) sysPopup_.Add({u" Maximize ", stMaximize, {}, true});
  if (boxFlags_ & kBoxMinimize) sysPopup_.Add({u" Minimize ", stMinimize, {}, true});
  sysPopup_.Add({u"-", stSeparator, {}, true});
  sysPopup_.Add({u" Close ", stClose, u"Shift+F4", true});
}

void TSkinFormFrame::OpenSystemMenu(POINT at, bool fromButton) {
  sysPopup_.Enable(stRestore, windowState_ != wsNormal);
  sysPopup_.Enable(stMaximize, windowState_ != wsMaximized);
  sysPopup_.Enable(stMinimize, windowState_ != wsMinimized);
  const DWORD now = GetTickCount();
  // Only two openings from the icon button, as quick as a double click,
  // close the window: a right click on the caption before the icon's
  // click is no double click.
  if (fromButton && iconClicked_ && now - lastIconClick_ <= doubleClickTime_) {
    iconClicked_ = false;
    // The first menu may still be open: it goes before the window.
    EndMenu();
    Close();
    return;
  }
  if (TSkinManage* manager = Manager()) manager->AnnounceMenu(mkSystemMenu);
  lastIconClick_ = now;
  iconClicked_ = fromButton;
  const bool skinned = Has(skinData_->SkinControls(), xcSystemMenu) && mdiKind_ != mdChild;
  if (!skinned) {
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(GetSystemMenu(handle_, FALSE), TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, handle_, nullptr));
    if (command) PostMessageW(handle_, WM_SYSCOMMAND, command, 0);
    return;
  }
  switch (sysPopup_.Popup(handle_, at)) {
    case stRestore: Restore(); break;
    case stMaximize: ToggleMaximize(); break;
    case stMinimize: ToggleMinimize(); break;
    case stClose: Close(); break;
    default: break;
  }
}

}  // namespace skin
