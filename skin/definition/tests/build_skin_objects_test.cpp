#include <gtest/gtest.h>

#include "skin/definition/bitmap_transforms.h"
#include "skin/definition/skin_model.h"
#include "skin/definition/tests/test_skin_images.h"

namespace skin {
namespace {

using testimages::FakeImages;
using testimages::SizedImage;

// A small skin with one section of every kind the builder reads.
constexpr std::string_view kSkin = R"ini(
[TitlebarSkin]
SkinName=Small

[Personality]
Left=Images\left_10x65.bmp
LeftFrame=2
LeftStretch=0
LeftTopHeight=29
LeftBotHeight=6
Top=top_170x58.bmp
TopFrame=2
TopTrans=0
TopTopHeight=24
TopBotHeight=103
TextShift=15
TextRightClip=97
TextShiftVert=2
TextAlignment=1
ActiveTextR=255
ActiveTextG=255
ActiveTextB=255
InActiveTextR=55
InActiveTextG=82
InActiveTextB=116
menuBar=menubar_320x13.bmp
TileMenu=1
TileRightMenu=0

[Fonts]
FontHeight=16

[Colours]
WindowText=0 0 0
ButtonFace=241 217 192
ButtonText=1,2,3

[Colour1]
color=10 20 30
[Colours2]
color=40 50 60
[Colour3]

[Customcolors]
Color0=1 1 1
Color9=9 9 9

[Button.Close]
Action=2
Align=1
Xcoord=68
ButtonImage=close_96x16.bmp

[MDICONTROLS]
Image=mdi_180x15.bmp

[Buttons]
Bitmap=button_375x23.bmp
CheckButton=check_65x13.bmp
RadioButton=radio_40x16.bmp
LeftWidth=6
TopHeight=11
RightWidth=6
BottomHeight=11
NormalColour=0
MouseOverColour=2
PressedColour=$2
MouseOverColour2=200 0 0

[Progress]
Bitmap=progress_36x29.bmp
Chunk=chunk_8x10.bmp
LeftWidth=4
TopHeight=3
RightWidth=6
BottomHeight=3
Trans=1
Tile=3

[Tabs]
Image=tabs_90x18.bmp
Border=tabborder_48x48.bmp
LeftWidth=3
TopHeight=3
RightWidth=3
Trans=1
Style=4
NormalColour=7
NormalColour2=55 82 116

[toolbars]
image=toolbars_100x40.bmp
Tile=2
Style=1

[GroupBox]
Image=groupbox_20x20.bmp
BackgroundAlignment=2
BackgroundLeftShift=5
BackgroundRightShift=6

[ComboButton]
Image=combo_60x20.bmp

[StatusBarEdges]
Image=status.tga

[Headerbar]
Trans=1

[HorzScrollThumb]
Image=hthumb_66x17.bmp
FrameCount=0

[VertScrollThumb]
Image=vthumb_51x22.bmp
FrameCount=7

[Trackbar.ThumbLeft]
Image=tleft_55x21.bmp

[UpDown.Vert]
Image=updown_120x10.bmp
GlyphImage=glyph_48x7.bmp
)ini";

struct Built {
  TSkinModel model;
  FakeImages images;
};

void Load(std::string_view text, Built& built) {
  TQuickIni ini;
  ini.LoadFromText(text);
  BuildSkinObjects(ini, built.model, built.images.Loader());
}

TEST(BuildSkinObjects, WindowBordersLieAlongTheirEdge) {
  Built b;
  Load(kSkin, b);
  const TDataSkinBorder& left = b.model.BorderLeft;
  EXPECT_EQ(left.Name, u"Left");
  EXPECT_EQ(left.Image.Width(), 10);
  EXPECT_EQ(left.FrameCount, 2);
  EXPECT_EQ(left.Tile, 0);
  EXPECT_EQ(left.Trans, 1);
  EXPECT_EQ(left.Margins, (TSkinMargins{.Left = 0, .Top = 29, .Right = 0, .Bottom = 6}));
  const TDataSkinBorder& top = b.model.BorderTop;
  EXPECT_EQ(top.Margins, (TSkinMargins{.Left = 24, .Top = 0, .Right = 103, .Bottom = 0}));
  EXPECT_EQ(top.Trans, 0);
  EXPECT_EQ(top.Tile, 1);
  // A border the skin leaves out: no image, one frame, stretched, keyed.
  const TDataSkinBorder& bottom = b.model.BorderBottom;
  EXPECT_TRUE(bottom.Image.Empty());
  EXPECT_EQ(bottom.FrameCount, 1);
  EXPECT_EQ(bottom.Tile, 1);
  EXPECT_EQ(bottom.Trans, 1);
  EXPECT_EQ(bottom.Margins, TSkinMargins{});
  EXPECT_EQ(b.model.SkinName, u"Small");
}

TEST(BuildSkinObjects, ColoursAndTheirDefaults) {
  Built b;
  Load(kSkin, b);
  const TSkinColours& c = b.model.SkinColours;
  EXPECT_EQ(c.WindowText, rt::clBlack);
  EXPECT_EQ(c.ButtonFace, rt::RGBColor(241, 217, 192));
  // The menu bar takes the button face the skin gives.
  EXPECT_EQ(c.Menubar, rt::RGBColor(241, 217, 192));
  EXPECT_EQ(c.ButtonText, rt::RGBColor(1, 2, 3));
  EXPECT_EQ(c.Menu, rt::clMenu);
  EXPECT_EQ(c.MenuBarText, rt::clMenuText);
  EXPECT_EQ(c.Buttonlight, rt::clBtnHighlight);
  EXPECT_EQ(c.ButtonDkShadow, rt::cl3DDkShadow);
  EXPECT_EQ(c.TitleTextNoActive, rt::clInactiveCaptionText);
  // [Colours2] is a colour section too; one without a colour has the default.
  EXPECT_EQ(b.model.ColourSections,
            (std::vector<rt::TColor>{rt::RGBColor(10, 20, 30), rt::RGBColor(40, 50, 60),
                                     rt::clWindowText}));
  EXPECT_EQ(b.model.CustomColours[0], rt::RGBColor(1, 1, 1));
  EXPECT_EQ(b.model.CustomColours[5], rt::clWhite);
  EXPECT_EQ(b.model.CustomColours[9], rt::RGBColor(9, 9, 9));
}

TEST(BuildSkinObjects, PushButtonsAndTitle) {
  Built b;
  Load(kSkin, b);
  const TDataSkinButton& buttons = b.model.Buttons;
  EXPECT_EQ(buttons.Name, u"Buttons");
  EXPECT_EQ(buttons.Image.Width(), 375);
  EXPECT_EQ(buttons.FrameCount, 5);
  EXPECT_EQ(buttons.Margins, (TSkinMargins{.Left = 6, .Top = 11, .Right = 6, .Bottom = 11}));
  EXPECT_EQ(buttons.NormalColour, 0);
  EXPECT_EQ(buttons.MouseOverColour, 2);
  EXPECT_EQ(buttons.PressedColour, 2);
  EXPECT_FALSE(buttons.HasNormalColour2);
  EXPECT_TRUE(buttons.HasMouseOverColour2);
  EXPECT_EQ(buttons.NormalColour2, rt::RGBColor(1, 2, 3));
  EXPECT_EQ(buttons.MouseOverColour2, rt::RGBColor(200, 0, 0));
  // 65 x 13: frames 13 wide, 5 of them; 40 x 16: 16 wide, 2 raised to 4.
  EXPECT_EQ(buttons.CheckButtonFrame, 5);
  EXPECT_EQ(buttons.RadioButtonFrame, 4);

  const TDataSkinTitle& title = b.model.Title;
  EXPECT_TRUE(title.Image.Empty());
  EXPECT_EQ(title.FrameCount, 2);
  EXPECT_EQ(title.Margins, (TSkinMargins{.Left = 15, .Top = 2, .Right = 97, .Bottom = 0}));
  EXPECT_EQ(title.TextAlignment, 1);
  EXPECT_EQ(title.FontHeight, 16);
  EXPECT_EQ(title.ActiveTextColour, rt::clWhite);
  EXPECT_EQ(title.InactiveTextColour, rt::RGBColor(55, 82, 116));
}

TEST(BuildSkinObjects, SectionObjects) {
  Built b;
  Load(kSkin, b);
  const TSkinModel& m = b.model;

  ASSERT_TRUE(m.Progress);
  EXPECT_EQ(m.Progress->Name, u"Progress");
  EXPECT_EQ(m.Progress->SecondImage.Width(), 8);
  EXPECT_EQ(m.Progress->Margins, (TSkinMargins{.Left = 4, .Top = 3, .Right = 6, .Bottom = 3}));
  EXPECT_EQ(m.Progress->Tile, 3);
  EXPECT_EQ(m.Progress->NormalColour, 0);
  EXPECT_EQ(m.Progress->FrameCount, 2);

  ASSERT_TRUE(m.MenuBar);
  EXPECT_EQ(m.MenuBar->Name, u"Personality");
  EXPECT_EQ(m.MenuBar->Tile, 1);
  EXPECT_EQ(m.MenuBar->Margins, (TSkinMargins{.Left = 1, .Top = 0, .Right = 0, .Bottom = 0}));
  EXPECT_EQ(m.MenuBar->FrameCount, 2);

  ASSERT_TRUE(m.Tabs);
  EXPECT_EQ(m.Tabs->SecondImage.Width(), 48);
  EXPECT_EQ(m.Tabs->Style, 0);  // the two-image objects read no style
  EXPECT_EQ(m.Tabs->NormalColour, 7);
  EXPECT_EQ(m.Tabs->MouseOverColour, -1);
  EXPECT_EQ(m.Tabs->NormalColour2, rt::RGBColor(55, 82, 116));
  EXPECT_EQ(m.Tabs->PressedColour2, rt::RGBColor(1, 2, 3));
  EXPECT_EQ(m.Tabs->FrameCount, 5);

  ASSERT_TRUE(m.Toolbars);  // the section header is in lower case
  EXPECT_EQ(m.Toolbars->Name, u"Toolbars");
  EXPECT_EQ(m.Toolbars->Style, 1);
  EXPECT_EQ(m.Toolbars->Tile, 0);  // 2 is not a tiling mode

  ASSERT_TRUE(m.GroupBox);
  EXPECT_EQ(m.GroupBox->BackgroundAlignment, 2);
  EXPECT_EQ(m.GroupBox->BackgroundLeftShift, 5);
  EXPECT_EQ(m.GroupBox->BackgroundRightShift, 6);
  EXPECT_EQ(m.GroupBox->FrameCount, 1);

  // An image value naming no BMP still makes the object; a section
  // without an image value makes none.
  ASSERT_TRUE(m.StatusBarEdges);
  EXPECT_TRUE(m.StatusBarEdges->Image.Empty());
  EXPECT_EQ(m.StatusBarEdges->FrameCount, 3);
  EXPECT_FALSE(m.Headerbar);
  EXPECT_FALSE(m.SunkEdge);
  EXPECT_FALSE(m.GroupBoxEdge);

  ASSERT_TRUE(m.HorzScrollThumb && m.VertScrollThumb);
  EXPECT_EQ(m.HorzScrollThumb->FrameCount, 3);
  EXPECT_EQ(m.VertScrollThumb->FrameCount, 7);
  ASSERT_TRUE(m.TrackbarThumbLeft);
  EXPECT_EQ(m.TrackbarThumbLeft->Name, u"Trackbar.ThumbLeft");
  EXPECT_EQ(m.TrackbarThumbLeft->FrameCount, 5);
  EXPECT_FALSE(m.TrackbarThumbHorz);
  ASSERT_TRUE(m.UpDownVert);
  EXPECT_EQ(m.UpDownVert->SecondImage.Width(), 48);
  EXPECT_EQ(m.UpDownVert->FrameCount, 8);
  EXPECT_FALSE(m.UpDownHorz);

  ASSERT_EQ(m.CaptionButtons.size(), 1u + kMdiButtonCount);
  EXPECT_EQ(m.CaptionButtons[0].Name, u"BUTTON.CLOSE");
  EXPECT_EQ(m.CaptionButtons[1].Image.Width(), 60);
}

TEST(BuildSkinObjects, ComboButtonKeepsAMirroredCopyOfItsImage) {
  Built b;
  Load(kSkin, b);
  ASSERT_TRUE(b.model.ComboButton);
  const TDataSkinBorder& combo = *b.model.ComboButton;
  EXPECT_EQ(combo.FrameCount, 4);
  TSkinBitmap mirrored = SizedImage(60, 20);
  MirrorBitmap(mirrored);
  EXPECT_EQ(combo.Image, SizedImage(60, 20));
  EXPECT_EQ(combo.SecondImage, mirrored);
}

TEST(BuildSkinObjects, ReloadReplacesSectionObjectsAndReusesTheFixedOnes) {
  Built b;
  Load(kSkin, b);
  const TDataSkinButton* buttons = &b.model.Buttons;
  Load("[Personality]\nLeft=l_4x4.bmp\n[Buttons]\nBitmap=b_5x5.bmp\n[Colour7]\ncolor=1 2 3\n", b);
  EXPECT_FALSE(b.model.Tabs);
  EXPECT_FALSE(b.model.Progress);
  EXPECT_FALSE(b.model.ComboButton);
  EXPECT_FALSE(b.model.MenuBar);
  EXPECT_EQ(&b.model.Buttons, buttons);
  EXPECT_EQ(b.model.Buttons.Image.Width(), 5);
  EXPECT_TRUE(b.model.Buttons.CheckImage.Empty());
  EXPECT_EQ(b.model.Buttons.MouseOverColour, -1);
  EXPECT_EQ(b.model.Buttons.RadioButtonFrame, 4);
  EXPECT_EQ(b.model.BorderLeft.FrameCount, 1);
  EXPECT_TRUE(b.model.BorderTop.Image.Empty());
  EXPECT_EQ(b.model.Title.ActiveTextColour, rt::clNone);
  EXPECT_EQ(b.model.Title.FontHeight, 14);
  EXPECT_EQ(b.model.SkinColours.ButtonText, rt::clBtnText);
  EXPECT_EQ(b.model.ColourSections, std::vector<rt::TColor>{rt::RGBColor(1, 2, 3)});
  EXPECT_EQ(b.model.CaptionButtons.size(), static_cast<size_t>(kMdiButtonCount));
  EXPECT_EQ(b.model.SkinName, u"");
}

TEST(BuildSkinObjects, NonPositiveFrameCountsCountAsNotGiven) {
  Built b;
  Load("[Personality]\nLeft=l_4x4.bmp\nLeftFrame=0\nRightFrame=-3\n"
       "[VertScrollThumb]\nImage=v_9x9.bmp\nFrameCount=-1\n"
       "[Buttons]\nRadioButton=r_65x13.bmp\nRadioButtonFrame=-2\nCheckButtonFrame=3\n",
       b);
  EXPECT_EQ(b.model.BorderLeft.FrameCount, 1);
  EXPECT_EQ(b.model.BorderRight.FrameCount, 1);
  EXPECT_EQ(b.model.VertScrollThumb->FrameCount, 3);
  EXPECT_EQ(b.model.Buttons.RadioButtonFrame, 5);
  EXPECT_EQ(b.model.Buttons.CheckButtonFrame, 3);
}

TEST(BuildSkinObjects, AnEmptyDefinitionGivesTheDefaults) {
  Built b;
  Load("", b);
  EXPECT_TRUE(b.images.asked.empty());
  EXPECT_EQ(b.model.SkinColours.Menubar, rt::clBtnFace);
  EXPECT_EQ(b.model.Buttons.NormalColour, -1);
  EXPECT_EQ(b.model.Buttons.NormalColour2, rt::clBtnText);
  EXPECT_EQ(b.model.Buttons.CheckButtonFrame, 4);
  EXPECT_EQ(b.model.Title.FontHeight, 14);
  EXPECT_EQ(b.model.CaptionButtons.size(), static_cast<size_t>(kMdiButtonCount));
  EXPECT_TRUE(b.model.ColourSections.empty());
}

}  // namespace
}  // namespace skin
