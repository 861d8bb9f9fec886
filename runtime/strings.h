// Text types of the runtime and the portable conversions between them.
//
// Wide strings are UTF-16 throughout; 8-bit strings carry bytes in whatever
// code page their producer used (the system ANSI code page, the OEM code page
// of an archive, or UTF-8), which is why they are plain byte strings.
#pragma once

#include <string>
#include <string_view>

namespace rt {

using WideString = std::u16string;
using WideStringView = std::u16string_view;
using AnsiString = std::string;

// UTF-8 <-> UTF-16. Malformed input never fails: a bad UTF-8 sequence or a
// lone surrogate becomes U+FFFD.
WideString Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(WideStringView wide);
// The UTF-8 sequence at the start of bytes (which must not be empty): its
// code point and its length. A malformed sequence (a stray continuation
// byte, a lead byte past 0xF7, a sequence cut short, an overlong form, a
// surrogate or a value past U+10FFFF) is not valid; its length is then the
// bytes it spans, to be skipped as one.
struct TUtf8Sequence {
  char32_t codePoint;
  size_t length;
  bool valid;
};
TUtf8Sequence DecodeUtf8Sequence(std::string_view bytes);
// Appends a code point (at most U+10FFFF) as one or two UTF-16 units.
void AppendUtf16(WideString& out, char32_t cp);
// Appends the UTF-8 form of wide to out.
void AppendUtf8(std::string& out, WideStringView wide);

// ASCII-only literal widening, for texts the code itself writes.
WideString Widen(std::string_view ascii);

}  // namespace rt
