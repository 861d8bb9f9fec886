#include "runtime/strings.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
  const WideString text = u"a\u00e9\u20ac\U0001F600z";
  EXPECT_EQ(WideToUtf8(text), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToWide("\xC3"), u"\uFFFD");                  // truncated
  EXPECT_EQ(Utf8ToWide("\xC0\xAF"), u"\uFFFD");              // overlong "/"
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80x"), u"\uFFFDx");        // encoded surrogate
  EXPECT_EQ(Utf8ToWide("\xF4\x90\x80\x80"), u"\uFFFD");      // past U+10FFFF
  EXPECT_EQ(Utf8ToWide("\xFF\x41"), u"\uFFFDA");
  EXPECT_EQ(WideToUtf8(WideString(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace rt
