#include <windows.h>
// winuser.h maps these old names onto its own functions.
#undef OemToAnsi
#undef AnsiToOem

#include <climits>
#include <stdexcept>

#include "runtime/text.h"
#include "runtime/wide_text_win.h"

namespace rt {

namespace {

int CheckedLength(size_t n) {
  if (n > static_cast<size_t>(INT_MAX)) throw std::length_error("text too long");
  return static_cast<int>(n);
}

WideString MultiByteToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int n = CheckedLength(text.size());
  const int needed = MultiByteToWideChar(codePage, 0, text.data(), n, nullptr, 0);
  WideString out(needed, u'\0');
  MultiByteToWideChar(codePage, 0, text.data(), n, AsWchar(out.data()), needed);
  return out;
}

WideString MapCase(WideStringView text, DWORD (WINAPI* map)(LPWSTR, DWORD)) {
  WideString out(text);
  if (!out.empty()) map(AsWchar(out.data()), static_cast<DWORD>(out.size()));
  return out;
}

}  // namespace

WideString AnsiToWide(std::string_view ansi) { return MultiByteToWide(CP_ACP, ansi); }

AnsiString WideToAnsi(WideStringView wide) {
  if (wide.empty()) return {};
  const int n = CheckedLength(wide.size());
  auto* src = AsWchar(wide.data());
  const int needed = WideCharToMultiByte(CP_ACP, 0, src, n, nullptr, 0, nullptr, nullptr);
  AnsiString out(needed, '\0');
  WideCharToMultiByte(CP_ACP, 0, src, n, out.data(), needed, nullptr, nullptr);
  return out;
}

AnsiString OemToAnsi(std::string_view oem) {
  AnsiString out(oem);
  if (!out.empty()) OemToCharBuffA(out.data(), out.data(), static_cast<DWORD>(out.size()));
  return out;
}

WideString OemToWide(std::string_view oem) { return AnsiToWide(OemToAnsi(oem)); }

WideString UpperText(WideStringView text) { return MapCase(text, CharUpperBuffW); }
WideString LowerText(WideStringView text) { return MapCase(text, CharLowerBuffW); }

int CompareWide(WideStringView a, WideStringView b, bool ignoreCase) {
  const int r = CompareStringW(LOCALE_USER_DEFAULT, ignoreCase ? NORM_IGNORECASE : 0,
                               AsWchar(a.data()), CheckedLength(a.size()),
                               AsWchar(b.data()), CheckedLength(b.size()));
  return r - CSTR_EQUAL;
}

}  // namespace rt
