#include <locale.h>
#include <wctype.h>

#include "runtime/cp437.h"
#include "runtime/text.h"

namespace rt {

namespace {

// The C library's wide case mapping needs a Unicode locale; asking for one
// here leaves the process's global locale alone.
locale_t UnicodeLocale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
  }();
  return locale;
}

// ASCII letters map without asking the C library; every other code unit
// outside the surrogate range goes through map.
template <typename Map>
WideString MapCase(WideStringView text, char16_t from, char16_t to, Map map) {
  WideString out(text);
  for (auto& c : out) {
    if (c < 0x80) {
      if (c >= from && c <= to) c = static_cast<char16_t>(c ^ 0x20);
    } else if (c < 0xD800 || c > 0xDFFF) {
      c = static_cast<char16_t>(map(c, UnicodeLocale()));
    }
  }
  return out;
}

}  // namespace

WideString AnsiToWide(std::string_view ansi) { return Utf8ToWide(ansi); }
AnsiString WideToAnsi(WideStringView wide) { return WideToUtf8(wide); }

WideString OemToWide(std::string_view oem) {
  WideString out(oem.size(), u'\0');
  for (size_t i = 0; i < oem.size(); ++i) out[i] = Cp437ToWide(static_cast<unsigned char>(oem[i]));
  return out;
}

AnsiString OemToAnsi(std::string_view oem) { return WideToAnsi(OemToWide(oem)); }

WideString UpperText(WideStringView text) {
  return MapCase(text, u'a', u'z', [](char16_t c, locale_t l) { return towupper_l(c, l); });
}

WideString LowerText(WideStringView text) {
  return MapCase(text, u'A', u'Z', [](char16_t c, locale_t l) { return towlower_l(c, l); });
}

int CompareWide(WideStringView a, WideStringView b, bool ignoreCase) {
  const WideString x = ignoreCase ? LowerText(a) : WideString(a);
  const WideString y = ignoreCase ? LowerText(b) : WideString(b);
  return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
}

}  // namespace rt
