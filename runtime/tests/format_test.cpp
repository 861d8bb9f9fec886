#include "runtime/format.h"

#include <gtest/gtest.h>

#include "runtime/exceptions.h"

namespace rt {
namespace {

struct FormatCase {
  const char16_t* format;
  std::initializer_list<FormatArg> args;
  const char16_t* expected;
};

TEST(Format, Directives) {
  const FormatCase cases[] = {
      {u"plain", {}, u"plain"},
      {u"100%%", {}, u"100%"},
      {u"File \"%s\" not found", {u"C:\\a b.zip"}, u"File \"C:\\a b.zip\" not found"},
      {u"%5d", {12}, u"   12"},
      {u"%-5d|", {12}, u"12   |"},
      {u"%05d", {-12}, u"-0012"},
      {u"%.3u", {7u}, u"007"},
      {u"%.2d", {3}, u"03"},
      {u"%d", {-2147483647 - 1}, u"-2147483648"},
      {u"%u", {-1}, u"4294967295"},
      {u"%x %X %8.8x", {255, 255, 0xABCu}, u"ff FF 00000abc"},
      {u"%d", {int64_t{5000000000}}, u"5000000000"},
      {u"%.2f", {3.02}, u"3.02"},
      {u"%.0f|%.3f", {2.5, -0.1}, u"2|-0.100"},
      {u"%.3s|%6s", {u"abcdef", u"ab"}, u"abc|    ab"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.format, c.args), c.expected) << WideToUtf8(c.format);
}

TEST(Format, MismatchesRaiseConvertError) {
  EXPECT_THROW(Format(u"%d", {u"text"}), EConvertError);
  EXPECT_THROW(Format(u"%s", {1}), EConvertError);
  EXPECT_THROW(Format(u"%s %s", {u"one"}), EConvertError);
  EXPECT_THROW(Format(u"%q", {1}), EConvertError);
  EXPECT_THROW(Format(u"trailing %", {}), EConvertError);
  try {
    Format(u"%d", {u"x"});
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Format '%d' invalide ou incompatible avec l'argument");
  }
}

}  // namespace
}  // namespace rt
