#include "skin/definition/skin_colours.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

struct ColourCase {
  const char16_t* text;
  rt::TColor expected;
};

class Colour : public testing::TestWithParam<ColourCase> {};

TEST_P(Colour, Parses) {
  const ColourCase& c = GetParam();
  EXPECT_EQ(ParseColour(c.text), c.expected) << "text \"" << rt::WideToUtf8(c.text) << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Colour,
    testing::Values(ColourCase{u"55 82 116", rt::RGBColor(55, 82, 116)},
                    ColourCase{u"  55,82;116  ", rt::RGBColor(55, 82, 116)},
                    ColourCase{u"R55 G82 B116", rt::RGBColor(55, 82, 116)},
                    ColourCase{u"1,2,3,", rt::RGBColor(1, 2, 3)},
                    ColourCase{u"1 2 3 4 5", rt::RGBColor(1, 2, 3)},
                    // One number is black, two are only red.
                    ColourCase{u"200", rt::clBlack}, ColourCase{u"10 20", rt::RGBColor(10, 0, 0)},
                    ColourCase{u"10 20;", rt::RGBColor(10, 20, 0)},
                    ColourCase{u"", rt::clBlack}, ColourCase{u"white", rt::clBlack},
                    // Each number keeps its low 8 bits, however long it is.
                    ColourCase{u"300 256 257", rt::RGBColor(44, 0, 1)},
                    ColourCase{u"99999999999999999999 0 1", rt::RGBColor(255, 0, 1)},
                    // Only ASCII digits are digits.
                    ColourCase{u"1\u0663 2 3", rt::RGBColor(1, 2, 3)}));

TEST(ReadColour, AbsentOrEmptyGivesTheDefault) {
  TQuickIni ini;
  ini.LoadFromText("[Colours]\nMenu=1 2 3\nMenuText=\nHilight=x\n");
  EXPECT_EQ(ReadColour(ini, u"colours", u"menu", rt::clMenu), rt::RGBColor(1, 2, 3));
  EXPECT_EQ(ReadColour(ini, u"Colours", u"MenuText", rt::clMenuText), rt::clMenuText);
  EXPECT_EQ(ReadColour(ini, u"Colours", u"Scrollbar", rt::clScrollBar), rt::clScrollBar);
  EXPECT_EQ(ReadColour(ini, u"Colours", u"Hilight", rt::clHighlight), rt::clBlack);
}

TEST(ReadRGBKeys, SetsTheColourOnlyFromThreeUsableNumbers) {
  TQuickIni ini;
  ini.LoadFromText(
      "[P]\nActiveTextR=55\nActiveTextG=82\nActiveTextB=$74\n"
      "HalfR=1\nHalfG=2\n"
      "NegR=1\nNegG=-1\nNegB=3\n"
      "WideR=256\nWideG=511\nWideB=0\n"
      "BadR=1\nBadG=2\nBadB=3x\n");
  const auto read = [&](const char16_t* prefix) {
    rt::TColor colour = rt::clNone;
    ReadRGBKeys(ini, u"P", prefix, colour);
    return colour;
  };
  EXPECT_EQ(read(u"ActiveText"), rt::RGBColor(55, 82, 116));
  EXPECT_EQ(read(u"Half"), rt::clNone);
  EXPECT_EQ(read(u"Neg"), rt::clNone);
  EXPECT_EQ(read(u"Wide"), rt::RGBColor(0, 255, 0));
  EXPECT_EQ(read(u"Bad"), rt::clNone);
  EXPECT_EQ(read(u"Missing"), rt::clNone);
}

}  // namespace
}  // namespace skin
