#include <locale.h>
#include <wctype.h>

#include "runtime/text.h"

namespace rt {

namespace {

// Code page 437 from 0x80 up; the lower half is ASCII.
constexpr char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8,
    0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2,
    0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1,
    0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD,
    0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562,
    0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560,
    0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393,
    0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6,
    0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0,
    0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

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
  for (size_t i = 0; i < oem.size(); ++i) {
    const auto c = static_cast<unsigned char>(oem[i]);
    out[i] = c < 0x80 ? c : kCp437High[c - 0x80];
  }
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
