// Reading the published properties that painters get as text.
#pragma once

#include <cstdint>

#include "runtime/strings.h"

namespace skin {

// "True" in any case.
bool IsTrueText(rt::WideStringView text);
// A decimal integer (optionally signed); fallback when the text is none.
int32_t IntegerText(rt::WideStringView text, int32_t fallback);
// The text in ASCII lower case.
rt::WideString AsciiLower(rt::WideStringView text);
// Whether text holds part, ASCII case ignored.
bool ContainsText(rt::WideStringView text, rt::WideStringView part);

}  // namespace skin
