// Menu items drawn in the skin's look: the framework menus of a form
// switched to owner drawing with the skin's handlers on their items, the
// owner-draw messages that a skinned window receives for its bar menus
// and its system menu, and the preparation of a bar popup.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "runtime/gui/menus.h"
#include "skin/windows/form_frame_win.h"

namespace skin {

// Makes the form's popup menus (popupMenus) and main menus (mainMenus)
// owner-drawn with the skin's drawing, or (on false) gives them back.
void OwnerDrawMenus(TSkinFormFrame& frame, bool popupMenus, bool mainMenus, bool on);

// WM_MEASUREITEM and WM_DRAWITEM of a skinned window; false when the
// message is not about an item the skin draws.
bool MenuItemMessage(TSkinFormFrame& frame, UINT msg, WPARAM wParam, LPARAM lParam);

// Hides the separators a popup would show first, last or twice in a row,
// in the item's sub-menu and below.
void TidySeparators(gui::TMenuItem& parent);

// Every entry of a menu and its sub-menus owner-drawn while the object
// lives; the entries it changed get their type back.
class TOwnerDrawMarks {
 public:
  explicit TOwnerDrawMarks(HMENU menu);
  ~TOwnerDrawMarks();
  TOwnerDrawMarks(const TOwnerDrawMarks&) = delete;
  TOwnerDrawMarks& operator=(const TOwnerDrawMarks&) = delete;

 private:
  void Mark(HMENU menu, int depth);

  std::vector<std::pair<HMENU, UINT>> marked_;
};

}  // namespace skin
