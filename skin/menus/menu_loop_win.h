// The modal loop of a menu-bar popup: the system tracks the popup while
// a message filter of the thread watches its keys and the mouse, so that
// Left and Right and moving over the bar go on to the neighbouring bar
// menus as they would on the system's own bar.
#pragma once

#include <windows.h>

#include "runtime/gui/handles.h"
#include "runtime/gui/window_subclass.h"

namespace skin {

class TSkinMenuBar;

class TMenuLoop {
 public:
  explicit TMenuLoop(TSkinMenuBar& bar);
  ~TMenuLoop();
  TMenuLoop(const TMenuLoop&) = delete;
  TMenuLoop& operator=(const TMenuLoop&) = delete;

  // Opens the popup of a bar button, then of each neighbour the user
  // goes on to, until a popup closes for good.
  void Run(int index);

  int CurrentIndex() const { return current_; }

 private:
  static LRESULT CALLBACK FilterProcedure(int code, WPARAM wParam, LPARAM lParam);
  // Runs the item's command and tracks its popup; the button to open
  // next, or -1.
  int Open(int index);
  // A message of the menu's loop; true when it is taken.
  bool Filter(MSG& message);
  // The bar window's messages while the popup is open.
  void WindowMessage(gui::TMessage& message);
  void MenuSelect(WPARAM wParam, LPARAM lParam);
  LRESULT MenuChar(WPARAM wParam, LPARAM lParam);
  bool SwitchTo(int index);
  HWND MenuWindow(HWND fallback) const;

  TSkinMenuBar& bar_;
  TMenuLoop* outer_ = nullptr;
  int current_ = -1;
  int next_ = -1;
  HMENU tracked_ = nullptr;
  bool firstMessage_ = true;
  bool switching_ = false;
  // What WM_MENUSELECT last told: the menu and the flags of the item.
  HMENU selectedMenu_ = nullptr;
  UINT selectedFlags_ = 0;
  POINT lastCursor_{-1, -1};
  gui::UniqueHook filter_;
  gui::TWindowSubclass watch_;
};

}  // namespace skin
