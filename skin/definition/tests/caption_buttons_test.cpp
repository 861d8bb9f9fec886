#include "skin/definition/caption_buttons.h"

#include <gtest/gtest.h>

#include "skin/definition/tests/test_skin_images.h"

namespace skin {
namespace {

using testimages::FakeImages;

std::vector<TDataSkinSysButton> Build(std::string_view text, FakeImages& images) {
  TQuickIni ini;
  ini.LoadFromText(text);
  return BuildCaptionButtons(ini, images.Loader());
}

TEST(CaptionButtons, OnlyButtonSectionsThatAreNotControlsAreKept) {
  FakeImages images;
  const auto buttons = Build(
      "[Button]\nAction=1\n[Buttons]\nAction=1\n[button.radio]\nAction=1\n"
      "[BUTTON.CHECKBOX]\nAction=1\n[Buttonx]\nAction=4\n[MyButton]\nAction=1\n"
      "[button.close]\nAction=0\n",
      images);
  ASSERT_EQ(buttons.size(), 2u + kMdiButtonCount);
  EXPECT_EQ(buttons[0].Name, u"BUTTONX");
  EXPECT_EQ(buttons[0].Action, 4);
  EXPECT_EQ(buttons[1].Name, u"BUTTON.CLOSE");
}

TEST(CaptionButtons, ActionMinusOneIsKeptOnlyWhenNeverVisible) {
  FakeImages images;
  const auto buttons = Build(
      "[Button1]\nAction=-1\n"                 // no Visibility: dropped
      "[Button2]\nAction=-1\nVisibility=1\n"   // dropped
      "[Button3]\nAction=-1\nVisibility=0\nButtonImage=b_96x16.bmp\n"
      "[Button4]\nAction=2\nVisibility=5\n",
      images);
  ASSERT_EQ(buttons.size(), 2u + kMdiButtonCount);
  const TDataSkinSysButton& hidden = buttons[0];
  EXPECT_EQ(hidden.Name, u"BUTTON3");
  EXPECT_EQ(hidden.Visibility1, -1);
  EXPECT_EQ(hidden.FrameCount, 6);
  EXPECT_EQ(hidden.CombineOp, -1);
  EXPECT_EQ(buttons[1].Visibility, 5);
  EXPECT_EQ(buttons[1].Visibility1, 0);
}

TEST(CaptionButtons, ReadsItsFields) {
  FakeImages images;
  const auto buttons = Build(
      "[Button.Max]\nAction=1\nAlign=1\nXcoord=48\nYcoord=4\nVisibility=6\nVisibility1=2\n"
      "CombineOp=3\nButtonImage=Images\\max_96x16.bmp\n",
      images);
  const TDataSkinSysButton& b = buttons[0];
  EXPECT_EQ(b.Action, 1);
  EXPECT_EQ(b.Align, 1);
  EXPECT_EQ(b.Xcoord, 48);
  EXPECT_EQ(b.Ycoord, 4);
  EXPECT_EQ(b.Visibility, 6);
  EXPECT_EQ(b.Visibility1, 2);
  EXPECT_EQ(b.CombineOp, 3);
  EXPECT_EQ(b.Image.Width(), 96);
  EXPECT_EQ(images.asked.front(), u"Images\\max_96x16.bmp");
}

struct FramesCase {
  const char* section;
  int32_t frames;
  bool keepsImage;
};

class CaptionButtonFrames : public ::testing::TestWithParam<FramesCase> {};

TEST_P(CaptionButtonFrames, AreGivenOrComputed) {
  FakeImages images;
  const auto buttons = Build(std::string("[Button1]\n") + GetParam().section, images);
  ASSERT_EQ(buttons.size(), 1u + kMdiButtonCount);
  EXPECT_EQ(buttons[0].FrameCount, GetParam().frames) << GetParam().section;
  EXPECT_EQ(buttons[0].Image.Empty(), !GetParam().keepsImage) << GetParam().section;
}

INSTANTIATE_TEST_SUITE_P(
    Sections, CaptionButtonFrames,
    ::testing::Values(
        FramesCase{"ButtonImage=a_96x16.bmp\n", 6, true},
        FramesCase{"ButtonImage=a_48x16.bmp\n", 3, true},
        // 3.8 times as wide as high is still 3 frames; a little more is 6.
        FramesCase{"ButtonImage=a_76x20.bmp\n", 3, true},
        FramesCase{"ButtonImage=a_77x20.bmp\n", 6, true},
        FramesCase{"ButtonImage=a_48x16.bmp\nAction=-2\n", 6, true},
        FramesCase{"Action=0\n", 6, false},
        FramesCase{"ButtonImage=a_48x16.bmp\nframe=2\n", 2, true},
        // Buttons that show the window icon drop their image unless their
        // section says how many frames it has.
        FramesCase{"ButtonImage=a_48x16.bmp\nAction=3\n", 3, false},
        FramesCase{"ButtonImage=a_96x16.bmp\nAction=11\n", 6, false},
        FramesCase{"ButtonImage=a_48x16.bmp\nAction=3\nframe=3\n", 3, true},
        // A frame count below 1 counts as not given.
        FramesCase{"ButtonImage=a_48x16.bmp\nframe=-4\n", 3, true},
        FramesCase{"ButtonImage=a_48x16.bmp\nframe=zero\n", 3, true}));

TEST(CaptionButtons, MdiButtonsAreCutFromOneStrip) {
  FakeImages images;
  const auto buttons = Build("[Button1]\nAction=0\n[MDICONTROLS]\nImage=mdi_180x15.bmp\n", images);
  ASSERT_EQ(buttons.size(), 1u + kMdiButtonCount);
  const TSkinBitmap strip = testimages::SizedImage(180, 15);
  for (int i = 0; i < kMdiButtonCount; ++i) {
    const TDataSkinSysButton& b = buttons[1 + static_cast<size_t>(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.Visibility1, 100);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_EQ(b.CombineOp, 0);
    EXPECT_EQ(b.Ycoord, 0);
    // a = 180 / 12 = 15: pieces of 60 x 15 from x = 60 i, placed (15 + 4) (3 - i).
    EXPECT_EQ(b.Xcoord, 19 * (3 - i));
    ASSERT_EQ(b.Image.Width(), 60);
    ASSERT_EQ(b.Image.Height(), 15);
    EXPECT_EQ(b.Image.Pixel(0, 0), strip.Pixel(60 * i, 0));
    EXPECT_EQ(b.Image.Pixel(59, 14), strip.Pixel(60 * i + 59, 14));
  }
}

TEST(CaptionButtons, MdiButtonsWithoutAStripHaveNoImage) {
  FakeImages images;
  const auto buttons = Build("[MDICONTROLS]\nImage=mdi.tga\n", images);
  ASSERT_EQ(buttons.size(), static_cast<size_t>(kMdiButtonCount));
  for (const TDataSkinSysButton& b : buttons) {
    EXPECT_TRUE(b.Image.Empty());
    EXPECT_EQ(b.Xcoord, 0);
  }
  // A strip narrower than 12 pixels has frames of no width.
  const auto narrow = Build("[MDICONTROLS]\nImage=mdi_11x15.bmp\n", images);
  EXPECT_TRUE(narrow[0].Image.Empty());
  EXPECT_EQ(narrow[0].Xcoord, 12);
}


TEST(CaptionButtons, ManySectionsAreCappedBeforeTheMdiButtons) {
  FakeImages images;
  std::string text;
  for (size_t i = 0; i < kMaxCaptionButtons + 10; ++i) text += "[Button1]\nButtonImage=a_96x16.bmp\n";
  text += "[MDICONTROLS]\nImage=mdi_180x15.bmp\n";
  const auto buttons = Build(text, images);
  ASSERT_EQ(buttons.size(), kMaxCaptionButtons + kMdiButtonCount);
  EXPECT_EQ(buttons[kMaxCaptionButtons - 1].Name, u"BUTTON1");
  EXPECT_EQ(buttons[kMaxCaptionButtons].Action, 7);
  EXPECT_EQ(images.asked.size(), kMaxCaptionButtons + 1);
}

}  // namespace
}  // namespace skin
