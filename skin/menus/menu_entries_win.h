// Reading one entry of a system menu by position.
#pragma once

#include <windows.h>

namespace skin {

// The fields of mask of the entry at position; false when there is none.
inline bool ReadEntry(HMENU menu, UINT position, UINT mask, MENUITEMINFOW& info) {
  info = MENUITEMINFOW{};
  info.cbSize = sizeof info;
  info.fMask = mask;
  return GetMenuItemInfoW(menu, position, TRUE, &info) != FALSE;
}

}  // namespace skin
