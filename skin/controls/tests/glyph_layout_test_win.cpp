// The glyph and caption of bitmap and speed buttons: where each layout
// puts the two, which frame of the glyph a state shows, and the property
// texts the painters read.
#include "skin/controls/glyph_layout_win.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "runtime/bmp.h"
#include "runtime/gui/handles.h"
#include "skin/controls/property_values.h"

namespace skin {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr int kGlyph = 10;  // each frame 10 x 10

// Four 10 x 10 frames side by side, each filled with its colour but for
// the bottom-left pixel of every frame, the transparent key colour.
gui::TBitmap FourFrames(const COLORREF (&colours)[4]) {
  rt::TBmpImage image;
  image.Width = 4 * kGlyph;
  image.Height = kGlyph;
  for (int y = 0; y < kGlyph; ++y)
    for (int x = 0; x < image.Width; ++x) {
      const COLORREF c = x % kGlyph == 0 && y == kGlyph - 1 ? kKey : colours[x / kGlyph];
      image.Pixels.push_back(0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }
  gui::TBitmap bitmap;
  bitmap.LoadFromImage(image);
  return bitmap;
}

constexpr COLORREF kFrames[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};

SIZE TextSize(HDC dc, HFONT font, const rt::WideString& text) {
  const gui::TSelectObject selected(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  return {size.cx, metrics.tmHeight};
}

class GlyphLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    what.Glyph = &glyph;
    what.NumGlyphs = 4;
    what.Caption = u"Abrir";
    what.Font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    text = TextSize(dc.get(), what.Font, what.Caption);
  }
  void Layout(const RECT& bounds) { LayoutGlyphCaption(dc.get(), what, bounds, glyphRect, textRect); }

  gui::UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
  gui::TBitmap glyph = FourFrames(kFrames);
  TGlyphCaption what;
  SIZE text{};
  RECT glyphRect{}, textRect{};
};

TEST_F(GlyphLayout, CentredTogetherAlongTheLayoutEachCentredAcross) {
  const RECT bounds{100, 50, 300, 90};  // 200 x 40
  const int along = kGlyph + 4 + text.cx;
  what.Layout = glGlyphLeft;
  Layout(bounds);
  const int left = 100 + (200 - along) / 2;
  EXPECT_EQ(glyphRect.left, left);
  EXPECT_EQ(glyphRect.top, 50 + 15);
  EXPECT_EQ(glyphRect.right, left + kGlyph);
  EXPECT_EQ(glyphRect.bottom, 50 + 25);
  EXPECT_EQ(textRect.left, left + kGlyph + 4);
  EXPECT_EQ(textRect.right - textRect.left, text.cx);
  EXPECT_EQ(textRect.top, 50 + (40 - text.cy) / 2);

  // Glyph right: the mirror image, the caption before the glyph.
  what.Layout = glGlyphRight;
  Layout(bounds);
  EXPECT_EQ(glyphRect.right, 300 - (200 - along) / 2);
  EXPECT_EQ(textRect.right, glyphRect.left - 4);

  const RECT tall{0, 0, 80, 100};
  const int down = kGlyph + 4 + text.cy;
  what.Layout = glGlyphTop;
  Layout(tall);
  EXPECT_EQ(glyphRect.left, 35);
  EXPECT_EQ(glyphRect.top, (100 - down) / 2);
  EXPECT_EQ(glyphRect.bottom - glyphRect.top, kGlyph);
  EXPECT_EQ(textRect.top, glyphRect.bottom + 4);
  EXPECT_EQ(textRect.left, (80 - text.cx) / 2);
  what.Layout = glGlyphBottom;
  Layout(tall);
  EXPECT_EQ(glyphRect.bottom, 100 - (100 - down) / 2);
  EXPECT_EQ(textRect.bottom, glyphRect.top - 4);
}

TEST_F(GlyphLayout, AMarginCountsFromTheGlyphsEdgeAndALoneGlyphOrCaptionHasNoSpacing) {
  const RECT bounds{0, 0, 200, 40};
  what.Margin = 6;
  what.Layout = glGlyphLeft;
  Layout(bounds);
  EXPECT_EQ(glyphRect.left, 6);
  what.Layout = glGlyphRight;
  Layout(bounds);
  EXPECT_EQ(glyphRect.right, 200 - 6);
  what.Layout = glGlyphBottom;
  Layout({0, 0, 80, 100});
  EXPECT_EQ(glyphRect.bottom, 100 - 6);

  // Without a caption the glyph alone is centred; without a glyph, the
  // caption.
  what.Margin = -1;
  what.Layout = glGlyphLeft;
  what.Caption.clear();
  Layout(bounds);
  EXPECT_EQ(glyphRect.left, (200 - kGlyph) / 2);
  what.Caption = u"Abrir";
  what.Glyph = nullptr;
  Layout(bounds);
  EXPECT_EQ(textRect.left, (200 - text.cx) / 2);
  EXPECT_EQ(glyphRect.right - glyphRect.left, 0);
}

TEST_F(GlyphLayout, TheStateShowsItsFrameAndAMissingFrameTheFirst) {
  const gui::UniqueBitmap canvas(CreateBitmap(60, 20, 1, 32, nullptr));
  const gui::TSelectObject selected(dc.get(), canvas.get());
  what.Caption.clear();
  const RECT bounds{0, 0, 60, 20};
  // The glyph lands at (25, 5); its bottom-left pixel is the key colour and
  // lets the white below show.
  const auto shown = [&](int frame, int frames) {
    FillRect(dc.get(), &bounds, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    what.GlyphFrame = frame;
    what.NumGlyphs = frames;
    DrawGlyphCaption(dc.get(), what, bounds);
    return GetPixel(dc.get(), 25 + 5, 5 + 5);
  };
  EXPECT_EQ(shown(0, 4), kFrames[0]);
  EXPECT_EQ(shown(2, 4), kFrames[2]);
  EXPECT_EQ(shown(3, 4), kFrames[3]);
  EXPECT_EQ(GetPixel(dc.get(), 25, 5 + kGlyph - 1), RGB(255, 255, 255)) << "the key colour is left out";
  // Read as two frames 20 pixels wide, placed at (20, 5): the probe falls
  // on the second half of a frame, and a state past them shows the first.
  EXPECT_EQ(shown(0, 2), kFrames[1]);
  EXPECT_EQ(shown(1, 2), kFrames[3]);
  EXPECT_EQ(shown(3, 2), kFrames[1]);
}

TEST(GlyphLayoutText, NamesTheLayoutsAndTakesAnythingElseAsLeft) {
  EXPECT_EQ(GlyphLayoutFromText(u"blGlyphRight"), glGlyphRight);
  EXPECT_EQ(GlyphLayoutFromText(u"blGlyphTop"), glGlyphTop);
  EXPECT_EQ(GlyphLayoutFromText(u"blGlyphBottom"), glGlyphBottom);
  EXPECT_EQ(GlyphLayoutFromText(u"blGlyphLeft"), glGlyphLeft);
  EXPECT_EQ(GlyphLayoutFromText(u"blglyphright"), glGlyphLeft);
  EXPECT_EQ(GlyphLayoutFromText(u""), glGlyphLeft);
}

TEST(PropertyValues, ReadTruthNumbersAndPartsAsThePaintersNeed) {
  EXPECT_TRUE(IsTrueText(u"True"));
  EXPECT_TRUE(IsTrueText(u"TRUE"));
  EXPECT_FALSE(IsTrueText(u"True "));
  EXPECT_FALSE(IsTrueText(u"1"));
  EXPECT_FALSE(IsTrueText(u""));

  EXPECT_EQ(IntegerText(u"42", 7), 42);
  EXPECT_EQ(IntegerText(u"-42", 7), -42);
  EXPECT_EQ(IntegerText(u"+42", 7), 42);
  EXPECT_EQ(IntegerText(u"2147483647", 7), 2147483647);
  EXPECT_EQ(IntegerText(u"2147483648", 7), 7) << "past the largest value";
  EXPECT_EQ(IntegerText(u"-2147483648", 7), INT32_MIN) << "the smallest value";
  EXPECT_EQ(IntegerText(u"-2147483649", 7), 7) << "past the smallest value";
  EXPECT_EQ(IntegerText(u"99999999999999999999", 7), 7);
  for (const char16_t* bad : {u"", u"-", u"+", u"4 2", u" 42", u"42px", u"0x10", u"٤٢"}) {
    SCOPED_TRACE(::testing::Message() << "text of " << std::u16string(bad).size() << " units");
    EXPECT_EQ(IntegerText(bad, 7), 7);
  }

  // Only ASCII letters fold: "É" stays as it is.
  EXPECT_EQ(AsciiLower(u"TfmMAIN Élan"), u"tfmmain Élan");
  EXPECT_TRUE(ContainsText(u"TAdvPageControl", u"pagecontrol"));
  EXPECT_TRUE(ContainsText(u"anything", u""));
  EXPECT_FALSE(ContainsText(u"TEdit", u"TEditor"));
  EXPECT_FALSE(ContainsText(u"Élan", u"élan"));
}

}  // namespace
}  // namespace skin
