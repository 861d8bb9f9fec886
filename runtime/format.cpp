#include "runtime/format.h"

#include <charconv>
#include <vector>

#include "runtime/exceptions.h"
#include "runtime/stock_texts.h"

namespace rt {

namespace {

[[noreturn]] void BadFormat(WideStringView format) {
  throw EConvertError(Format(kSInvalidFormat, {WideString(format)}));
}

WideString Digits(uint64_t magnitude, int base, bool upper) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, base);
  WideString digits(buffer, result.ptr);
  if (upper)
    for (auto& c : digits)
      if (c >= u'a' && c <= u'f') c = static_cast<char16_t>(c - u'a' + u'A');
  return digits;
}

struct Directive {
  bool left = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
  char16_t type = 0;
};

WideString Pad(WideString body, const Directive& d, bool numeric) {
  if (static_cast<int>(body.size()) >= d.width) return body;
  const size_t fill = d.width - body.size();
  if (d.left) return body + WideString(fill, u' ');
  if (d.zero && numeric) {
    const size_t sign = (!body.empty() && body[0] == u'-') ? 1 : 0;
    return body.insert(sign, WideString(fill, u'0'));
  }
  return WideString(fill, u' ') + body;
}

WideString FormatInteger(const FormatArg& arg, const Directive& d, WideStringView format) {
  bool negative = false;
  uint64_t magnitude;
  if (auto* s = std::get_if<int64_t>(&arg.value())) {
    negative = *s < 0 && d.type == u'd';
    // Unsigned and hexadecimal directives show the 32-bit pattern of a
    // negative 32-bit value, as the C library does.
    if (*s < 0 && d.type != u'd')
      magnitude = (*s >= INT32_MIN) ? static_cast<uint32_t>(*s) : static_cast<uint64_t>(*s);
    else
      magnitude = negative ? 0 - static_cast<uint64_t>(*s) : static_cast<uint64_t>(*s);
  } else if (auto* u = std::get_if<uint64_t>(&arg.value())) {
    magnitude = *u;
  } else {
    BadFormat(format);
  }
  const int base = (d.type == u'x' || d.type == u'X') ? 16 : 10;
  WideString digits = Digits(magnitude, base, d.type == u'X');
  if (d.precision > static_cast<int>(digits.size()))
    digits.insert(0, WideString(d.precision - digits.size(), u'0'));
  if (negative) digits.insert(0, 1, u'-');
  return Pad(std::move(digits), d, d.precision < 0);
}

WideString FormatFixed(const FormatArg& arg, const Directive& d, WideStringView format) {
  double v;
  if (auto* f = std::get_if<double>(&arg.value())) v = *f;
  else if (auto* s = std::get_if<int64_t>(&arg.value())) v = static_cast<double>(*s);
  else if (auto* u = std::get_if<uint64_t>(&arg.value())) v = static_cast<double>(*u);
  else BadFormat(format);
  char buffer[512];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed,
                              d.precision < 0 ? 2 : d.precision);
  if (result.ec != std::errc()) BadFormat(format);
  return Pad(WideString(buffer, result.ptr), d, true);
}

WideString FormatString(const FormatArg& arg, const Directive& d, WideStringView format) {
  auto* s = std::get_if<WideString>(&arg.value());
  if (!s) BadFormat(format);
  WideString body = *s;
  if (d.precision >= 0 && static_cast<int>(body.size()) > d.precision) body.resize(d.precision);
  return Pad(std::move(body), d, false);
}

}  // namespace

WideString Format(WideStringView format, std::initializer_list<FormatArg> args) {
  std::vector<const FormatArg*> list;
  for (const auto& a : args) list.push_back(&a);
  WideString out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%') {
      out.push_back(format[i]);
      continue;
    }
    if (++i >= format.size()) BadFormat(format);
    if (format[i] == u'%') {
      out.push_back(u'%');
      continue;
    }
    Directive d;
    for (; i < format.size() && (format[i] == u'-' || format[i] == u'0'); ++i)
      (format[i] == u'-' ? d.left : d.zero) = true;
    for (; i < format.size() && format[i] >= u'0' && format[i] <= u'9'; ++i)
      d.width = d.width * 10 + (format[i] - u'0');
    if (i < format.size() && format[i] == u'.') {
      d.precision = 0;
      for (++i; i < format.size() && format[i] >= u'0' && format[i] <= u'9'; ++i)
        d.precision = d.precision * 10 + (format[i] - u'0');
    }
    if (i >= format.size() || next >= list.size() || d.width > 1000 || d.precision > 1000)
      BadFormat(format);
    d.type = format[i];
    const FormatArg& arg = *list[next++];
    switch (d.type) {
      case u'd': case u'u': case u'x': case u'X':
        out += FormatInteger(arg, d, format);
        break;
      case u'f':
        out += FormatFixed(arg, d, format);
        break;
      case u's':
        out += FormatString(arg, d, format);
        break;
      default:
        BadFormat(format);
    }
  }
  return out;
}

}  // namespace rt
