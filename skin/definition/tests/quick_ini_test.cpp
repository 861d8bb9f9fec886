#include "skin/definition/quick_ini.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/streams.h"

namespace skin {
namespace {

TQuickIni Ini(std::string_view text) {
  TQuickIni ini;
  ini.LoadFromText(text);
  return ini;
}

TEST(QuickIni, SectionsAndKeysIgnoreCase) {
  const TQuickIni ini = Ini("[toolbars]\nimage=bar.bmp\n[Personality]\nmenubar=menu.bmp\n");
  EXPECT_EQ(ini.ReadString(u"Toolbars", u"Image", u"-"), u"bar.bmp");
  EXPECT_EQ(ini.ReadString(u"PERSONALITY", u"Menubar", u"-"), u"menu.bmp");
  EXPECT_EQ(ini.ReadString(u"Toolbar", u"Image", u"-"), u"-");
}

TEST(QuickIni, FirstLineOfAKeyWinsEvenWhenItIsEmpty) {
  const TQuickIni ini = Ini(
      "[A]\nkey=first\nKEY=second\n"
      "[B]\nkey=\nkey=later\n"
      "[C]\nkey  =   spaced value  \n");
  EXPECT_EQ(ini.ReadString(u"A", u"key", u"-"), u"first");
  // An empty value counts as absent, and the later line is not consulted.
  EXPECT_EQ(ini.ReadString(u"B", u"key", u"-"), u"-");
  EXPECT_FALSE(ini.HasValue(u"B", u"key"));
  EXPECT_EQ(ini.ReadString(u"C", u"key", u"-"), u"spaced value");
}

TEST(QuickIni, FirstOfTwoSectionsWithTheSameNameCounts) {
  const TQuickIni ini = Ini("[Tabs]\nImage=a.bmp\n[TABS]\nImage=b.bmp\nBorder=c.bmp\n");
  EXPECT_EQ(ini.ReadString(u"Tabs", u"Image", u""), u"a.bmp");
  EXPECT_EQ(ini.ReadString(u"Tabs", u"Border", u"-"), u"-");
  EXPECT_EQ(ini.FindSection(u"tabs"), 0);
  EXPECT_EQ(ini.ReadSections(), (std::vector<rt::WideString>{u"Tabs", u"TABS"}));
}

TEST(QuickIni, LinesEndsCommentsAndTrimming) {
  // CR, LF and CR LF end lines; blank and comment lines are dropped; tabs
  // and control characters are trimmed like blanks.
  const TQuickIni ini = Ini(
      "orphan=1\r\n; comment\r[ S ]\n\n  \t\x01 a = 1 \x02\r\n;b=2\nb 2\nc==3\r\rd=4");
  EXPECT_EQ(ini.Lines(),
            (std::vector<rt::WideString>{u"orphan=1", u"[ S ]", u"a = 1", u"b 2", u"c==3", u"d=4"}));
  EXPECT_EQ(ini.ReadSections(), (std::vector<rt::WideString>{u"S"}));
  EXPECT_EQ(ini.FindSection(u"s"), 1);
  EXPECT_EQ(ini.FindSection(u"none"), -1);
  EXPECT_EQ(ini.ReadString(u"S", u"a", u""), u"1");
  // A line without "=" names no key; the value runs from the first "=".
  EXPECT_EQ(ini.ReadString(u"S", u"b 2", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u"S", u"c", u""), u"=3");
  EXPECT_EQ(ini.ReadString(u"S", u"d", u""), u"4");
}

TEST(QuickIni, NulEndsTheText) {
  const std::string text("[S]\na=1\0\nb=2\n", 13);
  const TQuickIni ini = Ini(text);
  EXPECT_EQ(ini.ReadString(u"S", u"a", u""), u"1");
  EXPECT_EQ(ini.ReadString(u"S", u"b", u"-"), u"-");
}

TEST(QuickIni, LoadsFromTheStreamPositionAndReplacesEarlierContent) {
  TQuickIni ini = Ini("[Old]\nk=1\n");
  const std::string text = "[Skip]\nk=0\n[New]\nk=2\n";
  rt::TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
  stream.SetPosition(11);
  ini.LoadFromStream(stream);
  EXPECT_EQ(ini.FindSection(u"Old"), -1);
  EXPECT_EQ(ini.FindSection(u"Skip"), -1);
  EXPECT_EQ(ini.ReadInteger(u"New", u"k", -1), 2);

  rt::TMemoryStream empty;
  ini.LoadFromStream(empty);
  EXPECT_TRUE(ini.Lines().empty());
  EXPECT_EQ(ini.ReadInteger(u"New", u"k", -1), -1);
}

struct IntegerCase {
  const char* value;
  int32_t expected;
};

class IniInteger : public testing::TestWithParam<IntegerCase> {};

TEST_P(IniInteger, ReadsOrFallsBackToTheDefault) {
  const IntegerCase& c = GetParam();
  const TQuickIni ini = Ini(std::string("[S]\nk=") + c.value + "\n");
  EXPECT_EQ(ini.ReadInteger(u"S", u"k", -77), c.expected) << "value " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniInteger,
    testing::Values(IntegerCase{"31", 31}, IntegerCase{"0x1F", 31}, IntegerCase{"0X1f", 31},
                    IntegerCase{"$1F", 31}, IntegerCase{"-5", -5}, IntegerCase{"+7", 7},
                    IntegerCase{"007", 7}, IntegerCase{"2147483647", 2147483647},
                    IntegerCase{"-2147483648", INT32_MIN}, IntegerCase{"$FFFFFFFF", -1},
                    IntegerCase{"$000000010", 16},
                    // Nothing of these converts.
                    IntegerCase{"12abc", -77}, IntegerCase{"2147483648", -77},
                    IntegerCase{"-2147483649", -77}, IntegerCase{"$100000000", -77},
                    IntegerCase{"0x", -77}, IntegerCase{"$", -77}, IntegerCase{"-", -77},
                    IntegerCase{"-$10", -77}, IntegerCase{"1 2", -77}, IntegerCase{"1.5", -77},
                    IntegerCase{"", -77}, IntegerCase{"99999999999999999999", -77}));

}  // namespace
}  // namespace skin
