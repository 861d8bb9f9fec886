#include "skin/menus/menu_loop_win.h"

#include "runtime/gui/accelerator.h"
#include "runtime/gui/application.h"
#include "skin/menus/menu_bar_win.h"
#include "skin/menus/menu_entries_win.h"
#include "skin/menus/menu_item_painting_win.h"
#include "skin/menus/owner_drawn_menus_win.h"
#include "skin/windows/skin_manager_win.h"

namespace skin {
namespace {

// The loop running on this thread, innermost; a thread tracks one menu
// at a time, but a command run from a menu may open another window's.
thread_local TMenuLoop* gLoop = nullptr;

// WM_MENUSELECT's flags when the menu closes.
constexpr UINT kMenuClosing = 0xFFFF;

}  // namespace

int CurrentBarIndex() { return gLoop ? gLoop->CurrentIndex() : -1; }

TMenuLoop::TMenuLoop(TSkinMenuBar& bar) : bar_(bar), outer_(gLoop) { gLoop = this; }

TMenuLoop::~TMenuLoop() { gLoop = outer_; }

void TMenuLoop::Run(int index) {
  // Each neighbour opens once the popup before it has closed.
  for (int next = index; next >= 0;) next = Open(next);
}

int TMenuLoop::Open(int index) {
  if (index < 0 || index >= static_cast<int>(bar_.MenuButtons.size())) return -1;
  TSkinFormFrame& frame = bar_.Frame;
  const HWND window = frame.Handle();
  TMenuBtn& button = *bar_.MenuButtons[static_cast<size_t>(index)];
  if (button.Command != kNoCommand) PostMessageW(window, WM_COMMAND, button.Command, 0);
  if (!button.SubMenu) return -1;
  // Read before the menu is tidied: hiding items makes the bar read its
  // menu again.
  const HMENU subMenu = button.SubMenu;
  const bool enabled = button.Enabled;
  RECT windowRect{};
  GetWindowRect(window, &windowRect);
  const POINT at{windowRect.left + button.Bounds.left, windowRect.top + button.Bounds.bottom};
  if (button.Item) TidySeparators(*button.Item);
  current_ = index;
  TOwnerDrawMarks marks(subMenu);
  // A neighbour opened from the keyboard shows pressed as a clicked one.
  if (frame.HotObject() != &button) button.MouseDown();

  frame.BeginMenuTracking(subMenu);
  if (TSkinManage* manager = Manager()) manager->AnnounceMenu(mkMenuBarItem, true);
  tracked_ = subMenu;
  firstMessage_ = true;
  switching_ = false;
  next_ = -1;
  selectedMenu_ = nullptr;
  selectedFlags_ = 0;
  GetCursorPos(&lastCursor_);
  watch_.Install(window, [this](gui::TMessage& m) { WindowMessage(m); });
  filter_.reset(SetWindowsHookExW(WH_MSGFILTER, FilterProcedure, nullptr, GetCurrentThreadId()));
  if (enabled) TrackPopupMenu(subMenu, TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, 0, window, nullptr);
  filter_.reset();
  watch_.Remove();
  current_ = -1;
  tracked_ = nullptr;
  frame.EndMenuTracking();
  // The button that opened the menu is no longer pressed.
  if (index < static_cast<int>(bar_.MenuButtons.size())) {
    TMenuBtn& opened = *bar_.MenuButtons[static_cast<size_t>(index)];
    if (frame.HotObject() == &opened) opened.MouseLeave();
  }
  return next_;
}

LRESULT CALLBACK TMenuLoop::FilterProcedure(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && gLoop && lParam) {
    try {
      if (gLoop->Filter(*reinterpret_cast<MSG*>(lParam))) return 1;
    } catch (...) {
      gui::HandleCurrentException();
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

HWND TMenuLoop::MenuWindow(HWND fallback) const {
  const TSkinManage* manager = Manager();
  if (TPopupMenuPainter* popup = manager ? manager->PopupShowing(tracked_) : nullptr) return popup->Handle();
  return fallback;
}

bool TMenuLoop::Filter(MSG& m) {
  const bool key = m.message == WM_KEYDOWN || m.message == WM_KEYUP;
  if (key && bar_.RightToLeft()) {
    if (m.wParam == VK_LEFT)
      m.wParam = VK_RIGHT;
    else if (m.wParam == VK_RIGHT)
      m.wParam = VK_LEFT;
  }
  if (firstMessage_) {
    firstMessage_ = false;
    // The first item is selected at once, as on the system's bar.
    PostMessageW(MenuWindow(m.hwnd), WM_KEYDOWN, VK_DOWN, 0);
  }
  int found = -1;
  switch (m.message) {
    case WM_KEYDOWN:
      if (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE) switching_ = false;
      // Left in the top popup and Right on an item without sub-items go
      // to the neighbouring bar menus.
      if (m.wParam == VK_LEFT && (!selectedMenu_ || selectedMenu_ == tracked_)) found = bar_.Neighbour(current_, -1);
      if (m.wParam == VK_RIGHT && !(selectedFlags_ & MF_POPUP)) found = bar_.Neighbour(current_, 1);
      break;
    case WM_SYSKEYDOWN:
      if (m.wParam == VK_MENU) bar_.Frame.LeaveMenuLoop();
      break;
    case WM_MOUSEMOVE: {
      const POINT cursor = m.pt;
      if (cursor.x == lastCursor_.x && cursor.y == lastCursor_.y) break;
      lastCursor_ = cursor;
      RECT windowRect{};
      GetWindowRect(bar_.Frame.Handle(), &windowRect);
      if (TMenuBtn* button = bar_.ButtonAt({cursor.x - windowRect.left, cursor.y - windowRect.top}))
        found = button->Index;
      break;
    }
    default:
      break;
  }
  return found >= 0 && found != current_ && SwitchTo(found);
}

bool TMenuLoop::SwitchTo(int index) {
  switching_ = true;
  next_ = index;
  // The open popup closes; Run opens the next one.
  EndMenu();
  return true;
}

void TMenuLoop::WindowMessage(gui::TMessage& m) {
  switch (m.Msg) {
    case WM_MENUSELECT:
      MenuSelect(m.WParam, m.LParam);
      break;
    case WM_MENUCHAR:
      if (LRESULT chosen = MenuChar(m.WParam, m.LParam)) {
        m.Result = chosen;
        return;
      }
      break;
    default:
      break;
  }
  watch_.CallPrevious(m);
}

void TMenuLoop::MenuSelect(WPARAM wParam, LPARAM lParam) {
  const UINT flags = HIWORD(wParam);
  const auto menu = reinterpret_cast<HMENU>(lParam);
  if (flags == kMenuClosing && !menu) {
    if (!switching_) bar_.Frame.LeaveMenuLoop();
    return;
  }
  switching_ = false;
  selectedMenu_ = menu;
  selectedFlags_ = flags;
}

LRESULT TMenuLoop::MenuChar(WPARAM wParam, LPARAM lParam) {
  // Owner-drawn entries have no text for the system to find their keys in.
  const auto menu = reinterpret_cast<HMENU>(lParam);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info;
    if (!ReadEntry(menu, static_cast<UINT>(i), MIIM_ID | MIIM_DATA | MIIM_SUBMENU, info)) continue;
    gui::TMenuItem* item = bar_.MainMenu ? bar_.MainMenu->FindItem(info.wID) : nullptr;
    const TMenuItemLook look =
        item && reinterpret_cast<ULONG_PTR>(item) == info.dwItemData ? LookOf(*item) : LookOf(menu, i);
    if (look.Enabled && gui::IsAccel(LOWORD(wParam), look.Caption))
      return MAKELRESULT(i, info.hSubMenu ? MNC_SELECT : MNC_EXECUTE);
  }
  return 0;
}

}  // namespace skin
