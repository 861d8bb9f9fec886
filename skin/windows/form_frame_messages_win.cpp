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
      if (!Form && SkinData->FaceBrush()) {
        RECT client{};
        GetClientRect(Handle, &client);
        FillRect(reinterpret_cast<HDC>(m.WParam), &client, SkinData->FaceBrush());
        m.Result = 1;
      }
      return;
    case WM_NCDESTROY:
      Phase = phDestroying;
      DetachOnDestroy();
      Forward(m);
      Phase = phDestroyed;
      return;
    case WM_INITMENUPOPUP:
      // A context menu that the window tracks itself stays a popup menu.
      if (TSkinManage* manager = Manager()) {
        if (reinterpret_cast<HMENU>(m.WParam) == SystemMenu)
          manager->MenuKind = mkSystemMenu;
        else if (InMenuLoop || !Form)
          manager->MenuKind = mkMenuBarItem;
      }
      Forward(m);
      return;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      Forward(m);
      if (!Form) {
        SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        if (m.Msg == WM_CTLCOLORSTATIC && SkinData->FaceBrush())
          m.Result = reinterpret_cast<LRESULT>(SkinData->FaceBrush());
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
  if (!FrameSkinning || !attached_) {
    Forward(m);
    return;
  }
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  if ((style & WS_CHILD) && MdiKind != mdChild) {
    Forward(m);
    return;
  }
  const bool handled = FrameMessage(m);
  const bool mdiChildNotNormal = MdiKind == mdChild && WindowState != wsNormal;
  if (Phase != phCreated && WindowState != wsMinimized && !mdiChildNotNormal) {
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
        PostMessageW(Handle, WM_SYSCOMMAND, id, 0);
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
      Active = static_cast<uint8_t>(m.WParam & 0xFF);
      return false;
    case WM_GETMINMAXINFO:
      GetMinMaxInfo(m);
      return true;
    case WM_SIZE: {
      Forward(m);
      if (m.WParam == SIZE_RESTORED) WindowState = wsNormal;
      if (m.WParam == SIZE_MINIMIZED) WindowState = wsMinimized;
      if (m.WParam == SIZE_MAXIMIZED) WindowState = wsMaximized;
      const TSkinManage* manager = Manager();
      const bool mdiHeld = MdiKind == mdChild && (WindowState != wsNormal || (manager && manager->MDIMaximized));
      if (WindowState != wsMinimized && !mdiHeld && (Phase == phRunning || Phase == phRecolor)) BuildRegion();
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
      if (!SkinData->FramePaintEnabled()) {
        m.Result = 0;
      } else if (FrameKind == fkNone) {
        Forward(m);
      } else {
        RepaintFrame();
        m.Result = 0;
      }
      return true;
    case WM_NCACTIVATE:
      Active = static_cast<uint8_t>(m.WParam & 0xFF);
      timer_.SetEnabled(Active != 0);
      if (!Active && HotButton) {
        HotButton->MouseLeave();
        HotButton = nullptr;
      }
      if (MdiKind == mdFrame && MdiClient) SendMessageW(MdiClient, WM_NCACTIVATE, m.WParam, 0);
      if (!(MdiKind == mdChild && WindowState != wsNormal)) RepaintFrame();
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
  if (Phase == phCreated) {
    const TSkinManage* manager = Manager();
    if (MdiKind == mdChild && manager && manager->MDIMaximized) {
      RestoreCaptionStyle();
      SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
    } else if (WindowState != wsMinimized && FrameKind != fkNone) {
      Phase = phStarting;
      Resize(true);
      Phase = phRunning;
      BuildRegion();
    }
  }
  Phase = phRunning;
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
  if ((MdiKind == mdChild && WindowState != wsNormal) || FrameKind == fkNone) {
    params.rgrc[1] = params.rgrc[0];
    m.Result = WVR_VALIDRECTS;
    return;
  }
  RECT client{window.left + FrameLeft, window.top + FrameTop + MenuHeight, window.right - FrameRight,
              window.bottom - FrameBottom};
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
  ScreenToClient(Handle, &point);
  if (WindowState != wsMinimized) point.y += FrameTop + MenuHeight;
  if (point.y > 3) {
    m.Result = HTCAPTION;
    if (point.y > FrameTop) m.Result = HTMENU;
  }
}

void TSkinFormFrame::GetMinMaxInfo(gui::TMessage& m) {
  Forward(m);
  ReadWindowState();
  if (WindowState == wsMinimized)
    RestoreCaptionStyle();
  else if (MdiKind != mdChild || WindowState == wsNormal)
    RemoveCaptionStyle();
  else if (WindowState == wsMaximized)
    RestoreCaptionStyle();
  if (FrameKind == fkSizeable) {
    auto& info = *reinterpret_cast<MINMAXINFO*>(m.LParam);
    info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  }
}

void TSkinFormFrame::SysCommand(gui::TMessage& m) {
  const unsigned command = static_cast<unsigned>(m.WParam) & 0xFFF0;
  if (!InMenuLoop && command == SC_KEYMENU && m.LParam != ' ' && m.LParam != '-' && !GetCapture()) {
    // Alt or F10 alone would put the window into menu mode with no menu
    // to show; a menu-bar accelerator is the menu bar's.
    if (m.LParam == 0) {
      m.Result = 1;
      return;
    }
    // The menu-bar accelerator of a window whose keys reach the system.
    if (TNCObject* button = SkinMenu ? SkinMenu->AcceleratorButton(static_cast<wchar_t>(m.LParam)) : nullptr) {
      ClickLater(*button);
      m.Result = 1;
      return;
    }
  }
  switch (command) {
    case SC_MINIMIZE:
      WindowState = wsMinimized;
      if (MdiKind == mdChild) RestoreCaptionStyle();
      break;
    case SC_MAXIMIZE:
      WindowState = wsMaximized;
      break;
    case SC_RESTORE:
      WindowState = wsNormal;
      if (MdiKind == mdChild) RemoveCaptionStyle();
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
      Form->WndProc(m);
  };
  switch (m.Msg) {
    case WM_SETTEXT:
      previous();
      if (*alive && attached_) SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
      return;
    case SKINMSG_RECOLOR:
      Recolor();
      return;
    case gui::CM_MENUCHANGED:
      SkinData->SetFramePaintEnabled(false);
      previous();
      if (!*alive) return;
      SkinData->SetFramePaintEnabled(true);
      if (SkinData->MenuUpdate()) MenuBarChanged();
      return;
    case gui::CM_DIALOGCHAR: {
      if (MdiKind == mdChild) {
        TSkinManage* manager = Manager();
        if (manager && manager->MdiFrameForm && manager->MdiFrameForm->Perform(gui::CM_DIALOGCHAR, m.WParam, m.LParam)) {
          m.Result = 1;
          return;
        }
      }
      const bool altAlone = (GetKeyState(VK_MENU) < 0) && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
      if (altAlone && SkinMenu) {
        if (TNCObject* button = SkinMenu->AcceleratorButton(static_cast<wchar_t>(m.WParam))) {
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
  const bool hasMenu = GetMenu(Handle) || (Form && Form->Menu());
  if (!SkinMenu && hasMenu) {
    CreateMenuBar();
    return;
  }
  if (SkinMenu && !hasMenu) {
    SkinMenu.reset();
    MenuHandle = nullptr;
    MenuHeight = 0;
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
    return;
  }
  if (SkinMenu) SkinMenu->ReadMenu();
}

void TSkinFormFrame::Recolor() {
  if (!Form) return;
  const rt::TColor face = SkinData->Model().SkinColours.ButtonFace;
  Form->SetColor(face);
  auto& screen = gui::Screen();
  for (int i = 0; i < screen.FormCount(); ++i)
    if (screen.Forms(i)->Owner() == Form) screen.Forms(i)->SetColor(face);
  for (TSkinControlPainter* painter : std::vector<TSkinControlPainter*>(controls_)) painter->Refresh();
  Phase = phRecolor;
  if (MenuSkinning().OwnerDrawMenus)
    MenuSkinning().OwnerDrawMenus(*this, Has(SkinData->SkinControls(), xcPopupMenu), false, true);
  gui::TWinControl* focused = Form->ActiveControl();
  Resize(false);
  // A full realignment of the form's controls under the new frame.
  Form->SetHeight(Form->Height() + 1);
  Form->SetHeight(Form->Height() - 1);
  if (focused && focused->CanFocus()) focused->SetFocus();
  Phase = phRunning;
}

void TSkinFormFrame::MdiClientMessage(gui::TMessage& m) {
  TSkinManage* manager = Manager();
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      if (FrameSkinning && !Has(SkinData->Options(), xoMDIScrollbar)) {
        const auto style = GetWindowLongPtrW(MdiClient, GWL_STYLE);
        if (style & (WS_VSCROLL | WS_HSCROLL))
          SetWindowLongPtrW(MdiClient, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
      }
      clientSubclass_.CallPrevious(m);
      return;
    case WM_MDICREATE:
      SkinData->SetMenuUpdate(false);
      clientSubclass_.CallPrevious(m);
      createdMdiChild_ = reinterpret_cast<HWND>(m.Result);
      return;
    case WM_MDIDESTROY: {
      clientSubclass_.CallPrevious(m);
      BOOL maximized = FALSE;
      const auto active = reinterpret_cast<HWND>(SendMessageW(MdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
      if (manager) manager->SetMDIMaximized(active && maximized);
      if (!active) {
        SkinData->SetMenuUpdate(oldMenuUpdate_);
        if (SkinMenu) SkinMenu->ReadMenu();
      }
      return;
    }
    case WM_MDIRESTORE:
    case WM_MDIMAXIMIZE:
      if (manager) manager->MDIMaximized = false;
      clientSubclass_.CallPrevious(m);
      return;
    case WM_MDISETMENU: {
      const HMENU before = GetMenu(Handle);
      clientSubclass_.CallPrevious(m);
      const HMENU after = GetMenu(Handle);
      if (SkinMenu && (after != before || createdMdiChild_)) {
        SkinMenu->ReadMenu();
        SetMenu(Handle, nullptr);
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
      PostMessageW(Handle, SKINMSG_REFRESH, 0, 0);
      return;
    default:
      clientSubclass_.CallPrevious(m);
      return;
  }
}

}  // namespace skin
