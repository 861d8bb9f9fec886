#include "runtime/text.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

// These hold for the platform's own conversions as well as for the POSIX
// backend: the OEM code page is 437 in both test environments.
TEST(CodePages, OemTextIsCodePage437) {
  EXPECT_EQ(OemToWide("caf\x82 \x81\x9A \xE1"), u"caf\u00e9 \u00fc\u00dc \u00df");
  EXPECT_EQ(OemToWide("plain ASCII"), u"plain ASCII");
  EXPECT_EQ(AnsiToWide(OemToAnsi("\x82t\x82")), u"\u00e9t\u00e9");
}

TEST(CodePages, AnsiRoundTripsWhatTheCodePageHolds) {
  const WideString text = u"Programa Quimora \u00e9\u00f1";
  EXPECT_EQ(AnsiToWide(WideToAnsi(text)), text);
  EXPECT_EQ(AnsiToWide(""), u"");
  EXPECT_EQ(WideToAnsi(u""), "");
}

TEST(CaseMapping, MapsBeyondAscii) {
  EXPECT_EQ(UpperText(u"abc\u00e9\u00f1z"), u"ABC\u00c9\u00d1Z");
  EXPECT_EQ(LowerText(u"ABC\u00c9\u00d1Z"), u"abc\u00e9\u00f1z");
  EXPECT_EQ(LowerText(u"\u0414\u041e\u041c"), u"\u0434\u043e\u043c");
  // One code unit at a time: a surrogate pair passes through unchanged.
  EXPECT_EQ(UpperText(u"\U0001F600"), u"\U0001F600");
}

TEST(CaseMapping, CompareIgnoringCase) {
  EXPECT_EQ(CompareWide(u"Readme.TXT", u"README.txt", true), 0);
  EXPECT_NE(CompareWide(u"Readme.TXT", u"README.txt", false), 0);
  EXPECT_LT(CompareWide(u"a", u"b", true), 0);
  EXPECT_GT(CompareWide(u"b", u"A", true), 0);
}

}  // namespace
}  // namespace rt
