// The skinned window's messages: what the frame skinner answers itself
// before the window's own procedure (and, for a framework form, before
// the form's message handler) sees them.
#include <windowsx.h>

#include "runtime/gui/application.h"
#include "skin/windows/form_frame_win.h"
#include "skin/windows/skin_manager_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace skin {
namespace {

bool IsWindowCommand(unsigned id) {
  switch (id) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
      return true;
    default:
      return false;
  }
}

// Counts the messages being handled, nested ones included.
class TMessageScope {
 public:
  explicit TMessageScope(int& depth) : depth_(depth) { ++depth_; }
  ~TMessageScope() { --depth_; }
  TMessageScope(const TMessageScope&) = delete;
  TMessageScope& operator=(const TMessageScope&) = delete;

 private:
  int& depth_;
};

}  // namespace

void TSkinFormFrame::WindowMessage(gui::TMessage& m) {
  TMessageScope scope(messageDepth_);
  switch (m.Msg) {
    case WM_ERASEBKGND:
      Forward(m);
      if (!form_ && skinData_->FaceBrush()) {
        RECT client{};
        GetClientRect(handle_, &client);
        FillRect(reinterpret_cast<HDC>(m.WParam), &client, skinData_->FaceBrush());
        m.Result = 1;
      }
      return;
    case WM_NCDESTROY:
      phase_ = phDestroying;
      DetachOnDestroy();
      Forward(m);
      phase_ = phDestroyed;
      return;
    case WM_INITMENUPOPUP:
      // A context menu that the window tracks itself stays a popup menu.
      if (TSkinManage* manager = Manager()) {
        if (reinterpret_cast<HMENU>(m.WParam) == systemMenu_)
          manager->AnnounceMenu(mkSystemMenu);
        else if (inMenuLoop_ || !form_)
          manager->AnnounceMenu(mkMenuBarItem);
      }
      Forward(m);
      return;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      Forward(m);
      if (!form_) {
        SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        if (m.Msg == WM_CTLCOLORSTATIC && skinData_->FaceBrush())
          m.Result = reinterpret_cast<LRESULT>(skinData_->FaceBrush());
      }
      return;
    case SKINMSG_START:
      Start();
      return;
    case SKINMSG_QUERY:
      m.Result = 1;
      return;
    default:
      break;
  }
  if (!frameSkinning_ || !attached_) {
    Forward(m);
    return;
  }
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
  if ((style & WS_CHILD) && mdiKind_ != mdChild) {
    Forward(m);
    return;
  }
  const bool handled = FrameMessage(m);
  const bool mdiChildNotNormal = mdiKind_ == mdChild && windowState_ != wsNormal;
  if (phase_ != phCreated && windowState_ != wsMinimized && !mdiChildNotNormal) {
    if (NonClientMessage(m)) return;
  }
  if (!handled) Forward(m);
}

bool TSkinFormFrame::FrameMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case WM_SYSCOMMAND:
      SysCommand(m);
      return true;
    case WM_COMMAND: {
      const unsigned id = LOWORD(m.WParam);
      if (id < 0xFF00 && IsWindowCommand(id)) {
        PostMessageW(handle_, WM_SYSCOMMAND, id, 0);
        return true;
      }
      Forward(m);
      return true;
    }
    case WM_WINDOWPOSCHANGED:
      ReadWindowState();
      Forward(m);
      return true;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      active_ = static_cast<uint8_t>(m.WParam & 0xFF);
      return false;
    case WM_GETMINMAXINFO:
      GetMinMaxInfo(m);
      return true;
    case WM_SIZE: {
      Forward(m);
      if (m.WParam == SIZE_RESTORED) windowState_ = wsNormal;
      if (m.WParam == SIZE_MINIMIZED) windowState_ = wsMinimized;
      if (m.WParam == SIZE_MAXIMIZED) windowState_ = wsMaximized;
      const TSkinManage* manager = Manager();
      const bool mdiHeld = mdiKind_ == mdChild && (windowState_ != wsNormal || (manager && manager->MDIMaximized()));
      if (windowState_ != wsMinimized && !mdiHeld && (phase_ == phRunning || phase_ == phRecolor)) BuildRegion();
      return true;
    }
    default:
      return false;
  }
}

bool TSkinFormFrame::NonClientMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      NcCalcSize(m);
      return true;
    case WM_NCHITTEST:
      NcHitTest(m);
      return true;
    case WM_NCPAINT:
      if (!skinData_->FramePaintEnabled()) {
        m.Result = 0;
      } else if (frameKind_ == fkNone) {
        Forward(m);
      } else {
        RepaintFrame();
        m.Result = 0;
      }
      return true;
    case WM_NCACTIVATE:
      active_ = static_cast<uint8_t>(m.WParam & 0xFF);
      timer_.SetEnabled(active_ != 0);
      if (!active_ && hotButton_) {
        hotButton_->MouseLeave();
        hotButton_ = nullptr;
      }
      if (mdiKind_ == mdFrame && mdiClient_) SendMessageW(mdiClient_, WM_NCACTIVATE, m.WParam, 0);
      if (!(mdiKind_ == mdChild && windowState_ != wsNormal)) RepaintFrame();
      m.Result = 1;
      return true;
    case WM_WINDOWPOSCHANGING:
      Forward(m);
      return true;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (!MenuSkinning().MenuItemMessage || !MenuSkinning().MenuItemMessage(*this, m.Msg, m.WParam, m.LParam))
        return false;
      m.Result = TRUE;
      return true;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      bool handled = false;
      NcMouse(m, handled);
      return handled;
    }
    case SKINMSG_REFRESH:
      RepaintFrame();
      return true;
    default:
      return false;
  }
}

void TSkinFormFrame::Start() {
  if (ControlSkinning().SkinControls) ControlSkinning().SkinControls(*this);
  if (phase_ == phCreated) {
    const TSkinManage* manager = Manager();
    if (mdiKind_ == mdChild && manager && manager->MDIMaximized()) {
      RestoreCaptionStyle();
      SetWindowPos(handle_, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
    } else if (windowState_ != wsMinimized && frameKind_ != fkNone) {
      phase_ = phStarting;
      Resize(true);
      phase_ = phRunning;
      BuildRegion();
    }
  }
  phase_ = phRunning;
  timer_.SetEnabled(true);
}

void TSkinFormFrame::NcCalcSize(gui::TMessage& m) {
  if (!m.WParam) {
    Forward(m);
    m.Result = 0;
    return;
  }
  auto& params = *reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
  // The window's new rectangle, before the system turns it into its own
  // idea of the client area.
  const RECT window = params.rgrc[0];
  Forward(m);
  if ((mdiKind_ == mdChild && windowState_ != wsNormal) || frameKind_ == fkNone) {
    params.rgrc[1] = params.rgrc[0];
    m.Result = WVR_VALIDRECTS;
    return;
  }
  RECT client{window.left + frameLeft_, window.top + frameTop_ + menuHeight_, window.right - frameRight_,
              window.bottom - frameBottom_};
  if (client.right < client.left) client.right = client.left;
  if (client.bottom < client.top) client.bottom = client.top;
  params.rgrc[0] = client;
  params.rgrc[1] = client;
  m.Result = WVR_VALIDRECTS;
}

void TSkinFormFrame::NcHitTest(gui::TMessage& m) {
  Forward(m);
  if (m.Result != HTNOWHERE && m.Result != HTCAPTION) return;
  POINT point{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  ScreenToClient(handle_, &point);
  if (windowState_ != wsMinimized) point.y += frameTop_ + menuHeight_;
  if (point.y > 3) {
    m.Result = HTCAPTION;
    if (point.y > frameTop_) m.Result = HTMENU;
  }
}

void TSkinFormFrame::GetMinMaxInfo(gui::TMessage& m) {
  Forward(m);
  ReadWindowState();
  if (windowState_ == wsMinimized)
    RestoreCaptionStyle();
  else if (mdiKind_ != mdChild || windowState_ == wsNormal)
    RemoveCaptionStyle();
  else if (windowState_ == wsMaximized)
    RestoreCaptionStyle();
  if (frameKind_ == fkSizeable) {
    auto& info = *reinterpret_cast<MINMAXINFO*>(m.LParam);
    info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  }
}

void TSkinFormFrame::SysCommand(gui::TMessage& m) {
  const unsigned command = static_cast<unsigned>(m.WParam) & 0xFFF0;
  if (!inMenuLoop_ && command == SC_KEYMENU && m.LParam != ' ' && m.LParam != '-' && !GetCapture()) {
    // Alt or F10 alone would put the window into menu mode with no menu
    // to show; a menu-bar accelerator is the menu bar's.
    if (m.LParam == 0) {
      m.Result = 1;
      return;
    }
    // The menu-bar accelerator of a window whose keys reach the system.
    if (TNCObject* button = skinMenu_ ? skinMenu_->AcceleratorButton(static_cast<wchar_t>(m.LParam)) : nullptr) {
      ClickLater(*button);
      m.Result = 1;
      return;
    }
  }
  switch (command) {
    case SC_MINIMIZE:
      windowState_ = wsMinimized;
      if (mdiKind_ == mdChild) RestoreCaptionStyle();
      break;
    case SC_MAXIMIZE:
      windowState_ = wsMaximized;
      break;
    case SC_RESTORE:
      windowState_ = wsNormal;
      if (mdiKind_ == mdChild) RemoveCaptionStyle();
      break;
    default:
      break;
  }
  Forward(m);
}

void TSkinFormFrame::FormHook(gui::TMessage& m) {
  const std::shared_ptr<bool> alive = alive_;
  auto previous = [this, &m] {
    const gui::TWndMethod handler = oldFormWindowProc_;
    if (handler)
      handler(m);
    else
      form_->WndProc(m);
  };
  switch (m.Msg) {
    case WM_SETTEXT:
      previous();
      if (*alive && attached_) SetWindowPos(handle_, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
      return;
    case SKINMSG_RECOLOR:
      Recolor();
      return;
    case gui::CM_MENUCHANGED:
      skinData_->SetFramePaintEnabled(false);
      previous();
      if (!*alive) return;
      skinData_->SetFramePaintEnabled(true);
      if (skinData_->MenuUpdate()) MenuBarChanged();
      return;
    case gui::CM_DIALOGCHAR: {
      if (mdiKind_ == mdChild) {
        TSkinManage* manager = Manager();
        if (manager && manager->MdiFrameForm() && manager->MdiFrameForm()->Perform(gui::CM_DIALOGCHAR, m.WParam, m.LParam)) {
          m.Result = 1;
          return;
        }
      }
      const bool altAlone = (GetKeyState(VK_MENU) < 0) && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
      if (altAlone && skinMenu_) {
        if (TNCObject* button = skinMenu_->AcceleratorButton(static_cast<wchar_t>(m.WParam))) {
          ClickLater(*button);
          m.Result = 1;
          return;
        }
      }
      previous();
      return;
    }
    default:
      previous();
      return;
  }
}

void TSkinFormFrame::MenuBarChanged() {
  // The form may have got its first menu, or lost its only one.
  const bool hasMenu = GetMenu(handle_) || (form_ && form_->Menu());
  if (!skinMenu_ && hasMenu) {
    CreateMenuBar();
    return;
  }
  if (skinMenu_ && !hasMenu) {
    skinMenu_.reset();
    menuHandle_ = nullptr;
    menuHeight_ = 0;
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
    return;
  }
  if (skinMenu_) skinMenu_->ReadMenu();
}

void TSkinFormFrame::Recolor() {
  if (!form_) return;
  const rt::TColor face = skinData_->Model().SkinColours.ButtonFace;
  form_->SetColor(face);
  auto& screen = gui::Screen();
  for (int i = 0; i < screen.FormCount(); ++i)
    if (screen.Forms(i)->Owner() == form_) screen.Forms(i)->SetColor(face);
  for (TSkinControlPainter* painter : std::vector<TSkinControlPainter*>(controls_)) painter->Refresh();
  phase_ = phRecolor;
  if (MenuSkinning().OwnerDrawMenus)
    MenuSkinning().OwnerDrawMenus(*this, Has(skinData_->SkinControls(), xcPopupMenu), false, true);
  gui::TWinControl* focused = form_->ActiveControl();
  Resize(false);
  // A full realignment of the form's controls under the new frame.
  form_->SetHeight(form_->Height() + 1);
  form_->SetHeight(form_->Height() - 1);
  if (focused && focused->CanFocus()) focused->SetFocus();
  phase_ = phRunning;
}

void TSkinFormFrame::MdiClientMessage(gui::TMessage& m) {
  TSkinManage* manager = Manager();
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      if (frameSkinning_ && !Has(skinData_->Options(), xoMDIScrollbar)) {
        const auto style = GetWindowLongPtrW(mdiClient_, GWL_STYLE);
        if (style & (WS_VSCROLL | WS_HSCROLL))
          SetWindowLongPtrW(mdiClient_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
      }
      clientSubclass_.CallPrevious(m);
      return;
    case WM_MDICREATE:
      skinData_->SetMenuUpdate(false);
      clientSubclass_.CallPrevious(m);
      createdMdiChild_ = reinterpret_cast<HWND>(m.Result);
      return;
    case WM_MDIDESTROY: {
      clientSubclass_.CallPrevious(m);
      BOOL maximized = FALSE;
      const auto active = reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
      if (manager) manager->SetMDIMaximized(active && maximized);
      if (!active) {
        skinData_->SetMenuUpdate(oldMenuUpdate_);
        if (skinMenu_) skinMenu_->ReadMenu();
      }
      return;
    }
    case WM_MDIRESTORE:
    case WM_MDIMAXIMIZE:
      if (manager) manager->ForgetMDIMaximized();
      clientSubclass_.CallPrevious(m);
      return;
    case WM_MDISETMENU: {
      const HMENU before = GetMenu(handle_);
      clientSubclass_.CallPrevious(m);
      const HMENU after = GetMenu(handle_);
      if (skinMenu_ && (after != before || createdMdiChild_)) {
        skinMenu_->ReadMenu();
        SetMenu(handle_, nullptr);
      }
      return;
    }
    case WM_MDIREFRESHMENU:
      clientSubclass_.CallPrevious(m);
      if (manager && createdMdiChild_) {
        const HWND child = createdMdiChild_;
        createdMdiChild_ = nullptr;
        manager->SkinWindow(child);
      }
      PostMessageW(handle_, SKINMSG_REFRESH, 0, 0);
      return;
    default:
      clientSubclass_.CallPrevious(m);
      return;
  }
}

}  // namespace skin
