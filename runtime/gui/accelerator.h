// Accelerator keys: a caption's "&x" makes Alt+x (or x in a dialog) its
// key; "&&" is a plain ampersand.
#pragma once

#include <windows.h>

#include "runtime/strings.h"

namespace gui {

// Whether the character typed is the caption's accelerator (letters
// compared without case).
bool IsAccel(WPARAM character, const rt::WideString& caption);

}  // namespace gui
