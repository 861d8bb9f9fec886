// Pure functions on wide path strings. The delimiters are "\" and ":".
#pragma once

#include "runtime/strings.h"

namespace zip {

using rt::WideString;
using rt::WideStringView;

// Everything up to and including the last delimiter; empty without one.
WideString PathOf(WideStringView name);
// Everything after the last delimiter.
WideString NameOf(WideStringView name);
// From the last "." to the end when it follows the last delimiter.
WideString ExtOf(WideStringView name);
// "X:" for a drive name; "\\server\share" for a UNC name; else empty.
WideString DriveOf(WideStringView name);
WideString WithTrailingBackslash(WideStringView name);
WideString WithoutTrailingBackslash(WideStringView name);

enum ReplaceFlags : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
WideString ReplaceText(WideStringView text, WideStringView oldPattern, WideStringView newPattern,
                       unsigned flags);

}  // namespace zip
