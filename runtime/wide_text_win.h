// The runtime's UTF-16 text at the Win32 boundary. Windows' wchar_t and the
// runtime's char16_t are both UTF-16 code units there, so a pointer to the
// one is a pointer to the other: these are the only places that say so.
// The W calls get their texts through AsWchar; what they hand back becomes
// a WideString through WideFromWchar.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/strings.h"

namespace rt {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W calls of Win32 take UTF-16 code units");

inline const wchar_t* AsWchar(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
// A writable buffer, such as a WideString's data(), for a call that fills it.
inline wchar_t* AsWchar(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
// Zero-terminated, for the calls that take no length.
inline const wchar_t* AsWchar(const WideString& text) { return AsWchar(text.c_str()); }

inline const char16_t* AsChar16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
inline char16_t* AsChar16(wchar_t* text) { return reinterpret_cast<char16_t*>(text); }

// A copy of a text a W call gave: up to its terminating zero, or of this length.
inline WideString WideFromWchar(std::wstring_view text) { return WideString(AsChar16(text.data()), text.size()); }
inline WideString WideFromWchar(const wchar_t* text, size_t length) {
  return WideString(AsChar16(text), length);
}

// A copy as std::wstring, for the code that keeps its Win32 texts so.
inline std::wstring WstringFromWide(WideStringView text) { return std::wstring(AsWchar(text.data()), text.size()); }

}  // namespace rt
