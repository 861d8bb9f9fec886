// Format: printf-like formatting of wide strings, locale-independent.
//
// Directives are %[-][0][width][.precision]type with type one of d, u, x, X,
// s, f and %% for a percent sign. For the integer types the precision is
// the minimum number of digits ("%.3u" of 7 is "007"), for f the number of
// decimals; the decimal separator is always ".". A directive that does not
// fit its argument, or a missing argument, raises EConvertError.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <variant>

#include "runtime/strings.h"

namespace rt {

class FormatArg {
 public:
  FormatArg(int v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(long v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(long long v) : value_(static_cast<int64_t>(v)) {}
  FormatArg(unsigned v) : value_(static_cast<uint64_t>(v)) {}
  FormatArg(unsigned long v) : value_(static_cast<uint64_t>(v)) {}
  FormatArg(unsigned long long v) : value_(static_cast<uint64_t>(v)) {}
  FormatArg(double v) : value_(v) {}
  FormatArg(WideStringView v) : value_(WideString(v)) {}
  FormatArg(const WideString& v) : value_(v) {}
  FormatArg(const char16_t* v) : value_(WideString(v)) {}

  const std::variant<int64_t, uint64_t, double, WideString>& value() const { return value_; }

 private:
  std::variant<int64_t, uint64_t, double, WideString> value_;
};

WideString Format(WideStringView format, std::initializer_list<FormatArg> args);

}  // namespace rt
