#include "skin/controls/property_values.h"

#include <limits>

namespace skin {

rt::WideString AsciiLower(rt::WideStringView text) {
  rt::WideString lower(text);
  for (char16_t& c : lower)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return lower;
}

bool IsTrueText(rt::WideStringView text) { return AsciiLower(text) == u"true"; }

bool ContainsText(rt::WideStringView text, rt::WideStringView part) {
  return AsciiLower(text).find(AsciiLower(part)) != rt::WideString::npos;
}

int32_t IntegerText(rt::WideStringView text, int32_t fallback) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (i == text.size()) return fallback;
  // The negative side reaches one further: -2147483648 is a value.
  const int64_t largest = int64_t{std::numeric_limits<int32_t>::max()} + (negative ? 1 : 0);
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return fallback;
    value = value * 10 + (text[i] - u'0');
    if (value > largest) return fallback;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace skin
