// Code-page conversions and case mapping, done the way the platform does
// them. On Windows these are the system's own functions; elsewhere the
// "ANSI" code page is UTF-8 and the OEM code page is 437.
#pragma once

#include "runtime/strings.h"

namespace rt {

// 8-bit text in the system ANSI code page <-> UTF-16.
WideString AnsiToWide(std::string_view ansi);
AnsiString WideToAnsi(WideStringView wide);
// The text as the system's 8-bit functions see it: what the ANSI code page
// cannot hold comes back as its replacement.
WideString ThroughAnsi(WideStringView wide);

// 8-bit text in the OEM code page to the ANSI code page and to UTF-16.
AnsiString OemToAnsi(std::string_view oem);
WideString OemToWide(std::string_view oem);

// The system's Unicode case mapping, one UTF-16 code unit at a time.
WideString UpperText(WideStringView text);
WideString LowerText(WideStringView text);

// Compares with the system's locale rules, ignoring case when asked:
// negative, zero or positive like strcmp.
int CompareWide(WideStringView a, WideStringView b, bool ignoreCase);

}  // namespace rt
