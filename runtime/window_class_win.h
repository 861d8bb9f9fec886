// The name of a window's class, as RegisterClass took it.
#pragma once

#include <windows.h>

#include "runtime/strings.h"

namespace rt {

// Empty when the window does not exist.
WideString WindowClassName(HWND window);

}  // namespace rt
