#include "runtime/window_class_win.h"

#include "runtime/wide_text_win.h"

namespace rt {

WideString WindowClassName(HWND window) {
  // A class name has at most 256 characters, and the call counts the
  // terminating zero in the room it is given.
  wchar_t name[257];
  const int length = GetClassNameW(window, name, 257);
  return WideFromWchar(name, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace rt
