// The gallery in this process: every control gets the painter of its
// kind, draws its skin object, and still takes its own input; the
// controls the skin is told to leave alone keep the system look; the
// system controls of a dialog it did not make are painted as bare
// windows.
#include "skin/gallery/gallery_form_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "runtime/gui/application.h"
#include "runtime/gui/handles.h"
#include "skin/controls/combo_painter_win.h"
#include "skin/controls/scroll_painters_win.h"
#include "skin/drawing/frame_geometry_win.h"
#include "skin/engine/tests/engine_test_support_win.h"
#include "skin/windows/skin_manager_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace gallery {
namespace {

using skin::TSkinControl;

using skin::testing::Pump;
using skin::testing::PumpUntil;

bool AwaitSkinned(HWND window) {
  const bool skinned = skin::testing::AwaitSkinned(window);
  Pump(100);
  return skinned;
}

COLORREF PixelOf(HWND window, int x, int y) {
  UpdateWindow(window);
  const gui::TWindowFrameDc dc(window);
  return GetPixel(dc.get(), x, y);
}

COLORREF Rgb(rt::TColor colour) { return gui::ColorToRGB(colour); }

// The pixels a control's caption covers wholly in the control's font,
// drawn black on white on a line of its own.
int TextInk(HWND control) {
  wchar_t text[256] = {};
  const int length = GetWindowTextW(control, text, 256);
  const gui::TWindowDc screen(nullptr);
  const gui::UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
  constexpr int kWidth = 400, kHeight = 40;
  const gui::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), kWidth, kHeight));
  const gui::TSelectObject selectBitmap(dc.get(), bitmap.get());
  const gui::TSelectObject selectFont(dc.get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT all{0, 0, kWidth, kHeight};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(0, 0, 0));
  DrawTextW(dc.get(), text, length, &all, DT_SINGLELINE | DT_HIDEPREFIX);
  int ink = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) ink += GetPixel(dc.get(), x, y) == RGB(0, 0, 0);
  return ink;
}

COLORREF ImagePixel(const skin::TSkinBitmap& image, int frameCount, int frame, int x, int y) {
  return image.Pixel((frame - 1) * (image.Width() / frameCount) + x, y);
}

// One gallery for every test: building and skinning it takes a while.
class Gallery : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    form = new TGalleryForm(nullptr, u"" QUIMORA_PRODUCT_SKIN);
    form->Show();
    SetForegroundWindow(form->Handle());
    skinned = AwaitSkinned(form->Handle());
  }
  static void TearDownTestSuite() {
    delete form;
    Pump(20);
  }
  void SetUp() override { ASSERT_TRUE(skinned); }

  static skin::TSkinFormFrame* FrameOf(HWND window) { return skin::Manager()->FindSkinForm(window); }
  // The painter of a window, or of a control bound to it by ownership.
  static TSkinControl* PainterOf(HWND window, const rt::TComponent* owner = nullptr) {
    skin::TSkinFormFrame* frame = FrameOf(form->WindowHandle());
    if (!frame) return nullptr;
    if (auto* painter = dynamic_cast<TSkinControl*>(frame->FindControl(window))) return painter;
    for (skin::TSkinControlPainter* p : frame->Controls())
      if (auto* painter = dynamic_cast<TSkinControl*>(p); painter && owner && painter->Owner() == owner)
        return painter;
    return nullptr;
  }
  static rt::WideString PainterClass(gui::TWinControl* control) {
    TSkinControl* painter = PainterOf(control->Handle(), control);
    return painter ? painter->ClassName() : u"";
  }
  static const skin::TSkinModel& Model() { return form->SkinData->Model(); }

  static inline TGalleryForm* form = nullptr;
  static inline bool skinned = false;
};

TEST_F(Gallery, EveryControlKindGetsItsPainter) {
  const std::pair<gui::TWinControl*, const char16_t*> expected[] = {
      {form->NormalButton, u"TSkinButton"},        {form->DefaultButton, u"TSkinButton"},
      {form->DisabledButton, u"TSkinButton"},      {form->TwoLineButton, u"TSkinButton"},
      {form->GlyphButton, u"TSkinBitButton"},      {form->SpeedButton, u"TSkinSpeedButton"},
      {form->FlatSpeedButton, u"TSkinSpeedButton"}, {form->Panel, u"TSkinBox"},
      {form->UncheckedBox, u"TSkinCheckBox"},      {form->GrayedBox, u"TSkinCheckBox"},
      {form->GroupBox, u"TSkinGroupBox"},          {form->RadioOne, u"TSkinRadioButton"},
      {form->RadioGroup, u"TSkinGroupBox"},        {form->BorderEdit, u"TSkinEdit"},
      {form->BorderlessEdit, u"TSkinEdit"},        {form->UpDown, u"TSkinUpDown"},
      {form->DropDownCombo, u"TSkinComBox"},       {form->ListCombo, u"TSkinComBox"},
      {form->Memo, u"TSkinScrollbar"},             {form->ListView, u"TSkinListView"},
      {form->HorizontalScrollBar, u"TSkinScControl"}, {form->ProgressBar, u"TSkinProgress"},
      {form->TrackBar, u"TSkinTrackBar"},          {form->PageControl, u"TSkinTab"},
      {form->TabSet, u"TSkinTab31"},               {form->TabControl, u"TSkinTab"},
      {form->StatusBar, u"TSkinStatusBar"},        {form->HeaderControl, u"TSkinHeader"},
      {form->ToolBar, u"TSkinBox"},
  };
  for (const auto& [control, painter] : expected) {
    SCOPED_TRACE(std::string(control->Name().begin(), control->Name().end()));
    EXPECT_EQ(PainterClass(control), painter);
  }
  // A radio group's own buttons are painted as radio buttons.
  for (int i = 0; i < form->RadioGroup->ButtonCount(); ++i)
    EXPECT_EQ(PainterClass(form->RadioGroup->Buttons(i)), u"TSkinRadioButton");
  // The list view's header has a painter of its own.
  const auto header = reinterpret_cast<HWND>(SendMessageW(form->ListView->Handle(), LVM_GETHEADER, 0, 0));
  ASSERT_NE(PainterOf(header), nullptr);
  EXPECT_EQ(PainterOf(header)->ClassName(), u"TSkinHeader");
}

TEST_F(Gallery, WhatTheSkinIsToldToLeaveAloneKeepsTheSystemLook) {
  EXPECT_EQ(PainterClass(form->Tag99Button), u"");
  EXPECT_EQ(PainterClass(form->Tag199Button), u"");
  EXPECT_EQ(PainterClass(form->Tag99CheckBox), u"");
  // "TAdvPageControl=nil" in the class map.
  EXPECT_EQ(PainterClass(form->AdvPageControl), u"");
  // A skinned button's corner is one of the Buttons frames, a system
  // button's none of them.
  auto frameShown = [](HWND button) {
    for (int frame = 1; frame <= 5; ++frame)
      if (PixelOf(button, 4, 1) == ImagePixel(Model().Buttons.Image, 5, frame, 4, 1)) return frame;
    return 0;
  };
  EXPECT_NE(frameShown(form->NormalButton->Handle()), 0);
  EXPECT_EQ(frameShown(form->Tag99Button->Handle()), 0);
  EXPECT_EQ(frameShown(form->Tag199Button->Handle()), 0);
}

TEST_F(Gallery, PaintersDrawTheirSkinObjects) {
  const skin::TSkinModel& model = Model();
  // Push buttons: the frame of their state at the unscaled corner.
  EXPECT_EQ(PixelOf(form->DisabledButton->Handle(), 4, 1), ImagePixel(model.Buttons.Image, 5, 3, 4, 1));
  // Edits: two lines around those with a border, none around the others.
  EXPECT_EQ(PixelOf(form->BorderEdit->Handle(), 0, 0), Rgb(model.SkinColours.ButtonShadow));
  EXPECT_EQ(PixelOf(form->BorderEdit->Handle(), 1, 1), RGB(255, 255, 255));
  EXPECT_NE(PixelOf(form->BorderlessEdit->Handle(), 0, 0), Rgb(model.SkinColours.ButtonShadow));
  // A checked box: the middle of its glyph's second frame, in a 15-pixel
  // box at the left, centred upright.
  const HWND checked = form->CheckedBox->Handle();
  RECT r;
  GetClientRect(checked, &r);
  const int glyph = model.Buttons.CheckImage.Height();
  const int frameWidth = model.Buttons.CheckImage.Width() / model.Buttons.CheckButtonFrame;
  EXPECT_EQ(PixelOf(checked, (15 - frameWidth) / 2 + frameWidth / 2, (r.bottom - glyph) / 2 + glyph / 2),
            ImagePixel(model.Buttons.CheckImage, model.Buttons.CheckButtonFrame, 2, frameWidth / 2, glyph / 2));
  // Progress: the bar's frame at the left, the trough's at the right.
  ASSERT_TRUE(model.Progress);
  const skin::TSkinBitmap& progress = model.Progress->Image;
  const int progressFrame = progress.Width() / 2;
  const HWND bar = form->ProgressBar->Handle();
  GetClientRect(bar, &r);
  EXPECT_EQ(PixelOf(bar, 3, 2), ImagePixel(progress, 2, 2, 3, 2));
  EXPECT_EQ(PixelOf(bar, r.right - 3, 2), ImagePixel(progress, 2, 1, progressFrame - 3, 2));
}

TEST_F(Gallery, ADisabledBoxShowsItsTextFlatInTheSkinsDisabledColour) {
  const HWND box = form->DisabledCheckBox->Handle();
  UpdateWindow(box);
  RECT r;
  GetClientRect(box, &r);
  const COLORREF disabled = Rgb(Model().SkinColours.ButtonShadow);
  const COLORREF etched = GetSysColor(COLOR_BTNHIGHLIGHT);
  const gui::TWindowFrameDc dc(box);
  int disabledPixels = 0, etchedPixels = 0;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 16; x < r.right; ++x) {
      const COLORREF pixel = GetPixel(dc.get(), x, y);
      disabledPixels += pixel == disabled;
      etchedPixels += pixel == etched;
    }
  // Every pixel its caption covers wholly in the box's font, and no more.
  const int caption = TextInk(box);
  ASSERT_GT(caption, 20) << "the box has a caption";
  EXPECT_EQ(disabledPixels, caption);
  EXPECT_EQ(etchedPixels, 0);
}

TEST_F(Gallery, AToolBarButtonUnderTheMouseShowsTheToolbarsFrame) {
  const skin::TDataSkinObject* toolbars = Model().Toolbars.get();
  ASSERT_TRUE(toolbars);
  const HWND bar = form->ToolBar->Handle();
  RECT button;
  ASSERT_TRUE(SendMessageW(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button)));
  // A pixel of the hot frame's unscaled corner that is not key-coloured.
  POINT probe{-1, -1};
  for (int y = 0; y < toolbars->Margins.Top && probe.x < 0; ++y)
    for (int x = 0; x < toolbars->Margins.Left && probe.x < 0; ++x)
      if (ImagePixel(toolbars->Image, 5, 4, x, y) != skin::kSkinKeyColour) probe = {x, y};
  ASSERT_GE(probe.x, 0);
  const COLORREF atRest = PixelOf(bar, button.left + probe.x, button.top + probe.y);
  POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  ClientToScreen(bar, &centre);
  SetCursorPos(centre.x, centre.y);
  SendMessageW(bar, WM_MOUSEMOVE, 0, MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2));
  const COLORREF hot = ImagePixel(toolbars->Image, 5, 4, probe.x, probe.y);
  for (DWORD start = GetTickCount(); GetTickCount() - start < 2000;) {
    Pump(20);
    if (PixelOf(bar, button.left + probe.x, button.top + probe.y) == hot) break;
  }
  EXPECT_EQ(PixelOf(bar, button.left + probe.x, button.top + probe.y), hot);
  EXPECT_NE(atRest, ImagePixel(toolbars->Image, 5, 4, probe.x, probe.y)) << "a flat button at rest shows no frame";
  SetCursorPos(0, 0);
  Pump(50);
}

TEST_F(Gallery, AButtonCaptionWithTwoBarsShowsTwoLines) {
  const HWND button = form->TwoLineButton->Handle();
  RECT r;
  GetClientRect(button, &r);
  // Rows holding text-coloured pixels form two bands.
  int bands = 0;
  bool inText = false;
  for (int y = 0; y < r.bottom; ++y) {
    bool text = false;
    for (int x = r.right / 4; x < r.right * 3 / 4 && !text; ++x) {
      const COLORREF c = PixelOf(button, x, y);
      text = GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80;
    }
    if (text && !inText) ++bands;
    inText = text;
  }
  EXPECT_EQ(bands, 2);
}

// The drop-down list is a window of its own, with its scroll bar in its
// frame: a skinned bar lies over it while the list is down.
TEST_F(Gallery, ADroppedListShowsASkinnedScrollBarOverItsOwn) {
  const HWND combo = form->ListCombo->Handle();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  auto* listPainter = dynamic_cast<skin::TSkinScrollbar*>(PainterOf(info.hwndList));
  ASSERT_NE(listPainter, nullptr);
  EXPECT_EQ(listPainter->ClassName(), u"TSkinScrollbarH");

  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  Pump(100);
  ASSERT_NE(listPainter->VerticalBar(), nullptr);
  const HWND bar = listPainter->VerticalBar()->WindowHandle();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(IsWindowVisible(bar));
  SCROLLBARINFO system{};
  system.cbSize = sizeof system;
  ASSERT_TRUE(GetScrollBarInfo(info.hwndList, OBJID_VSCROLL, &system));
  RECT shown;
  GetWindowRect(bar, &shown);
  EXPECT_TRUE(EqualRect(&shown, &system.rcScrollBar))
      << shown.left << "," << shown.top << " " << system.rcScrollBar.left << "," << system.rcScrollBar.top;
  // Above the list, which stays down.
  bool above = false;
  for (HWND w = GetWindow(info.hwndList, GW_HWNDPREV); w && !above; w = GetWindow(w, GW_HWNDPREV)) above = w == bar;
  EXPECT_TRUE(above) << std::hex << GetWindowLongPtrW(info.hwndList, GWL_STYLE) << " "
                     << GetWindowLongPtrW(info.hwndList, GWL_EXSTYLE) << " " << GetWindowLongPtrW(bar, GWL_STYLE);
  EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));

  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(bar); }));
}

TEST_F(Gallery, ControlsKeepTheirOwnInputUnderThePainters) {
  // Typing.
  const HWND edit = form->BorderEdit->Handle();
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  for (wchar_t c : std::wstring(L"piel")) SendMessageW(edit, WM_CHAR, c, 1);
  EXPECT_EQ(form->BorderEdit->Text(), u"piel");
  EXPECT_EQ(PixelOf(edit, 0, 0), Rgb(Model().SkinColours.ButtonShadow));

  // Dropping a combo list: the button shows the pressed frame meanwhile.
  const HWND combo = form->ListCombo->Handle();
  auto* comboPainter = dynamic_cast<skin::TSkinComBox*>(PainterOf(combo));
  ASSERT_NE(comboPainter, nullptr);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  PumpUntil([&] { return comboPainter->StateFrame() == 2; });
  EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(comboPainter->StateFrame(), 2);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_TRUE(PumpUntil([&] { return comboPainter->StateFrame() != 2; }));

  // Dragging the track bar's thumb.
  const HWND track = form->TrackBar->Handle();
  const int before = form->TrackBar->Position();
  RECT thumb;
  SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const POINT from{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  SendMessageW(track, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  SendMessageW(track, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x + 60, from.y));
  SendMessageW(track, WM_LBUTTONUP, 0, MAKELPARAM(from.x + 60, from.y));
  Pump(50);
  EXPECT_GT(static_cast<int>(SendMessageW(track, TBM_GETPOS, 0, 0)), before);
  EXPECT_NE(PainterOf(track), nullptr);

  // Dragging the memo's skinned scroll bar thumb to the end.
  auto* memoPainter = dynamic_cast<skin::TSkinScrollbar*>(PainterOf(form->Memo->Handle()));
  ASSERT_NE(memoPainter, nullptr);
  ASSERT_NE(memoPainter->VerticalBar(), nullptr);
  const HWND bar = memoPainter->VerticalBar()->WindowHandle();
  ASSERT_TRUE(bar && IsWindowVisible(bar));
  RECT barRect;
  GetClientRect(bar, &barRect);
  SCROLLINFO info{sizeof info, SIF_ALL};
  GetScrollInfo(form->Memo->Handle(), SB_VERT, &info);
  const skin::TScrollGeometry geometry = skin::TScrollGeometry::Of(barRect, true, info);
  const int x = barRect.right / 2, y = (geometry.Thumb.top + geometry.Thumb.bottom) / 2;
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, barRect.bottom));
  SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(x, barRect.bottom));
  Pump(50);
  EXPECT_GT(SendMessageW(form->Memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);

  // Switching tabs with a click on the second one.
  const HWND pages = form->PageControl->Handle();
  RECT tab;
  SendMessageW(pages, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
  const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  SendMessageW(pages, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(pages, WM_LBUTTONUP, 0, at);
  Pump(50);
  EXPECT_EQ(form->PageControl->ActivePageIndex(), 1);
  EXPECT_TRUE(IsWindowVisible(form->PageControl->Pages(1)->Handle()));
  EXPECT_NE(PainterOf(pages), nullptr);
}

TEST_F(Gallery, TheSystemControlsOfAForeignDialogArePaintedAsBareWindows) {
  const HWND dialog = form->OpenForeignDialog();
  ASSERT_NE(dialog, nullptr);
  SetForegroundWindow(dialog);
  ASSERT_TRUE(AwaitSkinned(dialog));
  skin::TSkinFormFrame* frame = FrameOf(dialog);
  ASSERT_NE(frame, nullptr);
  auto painterOf = [&](HWND window) -> rt::WideString {
    auto* painter = dynamic_cast<TSkinControl*>(frame->FindControl(window));
    return painter ? painter->ClassName() : u"";
  };
  auto item = [&](int id) { return GetDlgItem(dialog, id); };
  EXPECT_EQ(painterOf(item(1001)), u"TSkinButton");
  EXPECT_EQ(painterOf(item(1002)), u"TSkinButton");
  EXPECT_EQ(painterOf(item(1003)), u"TSkinCheckBox");
  EXPECT_EQ(painterOf(item(1004)), u"TSkinCheckBox");
  EXPECT_EQ(painterOf(item(1005)), u"TSkinRadioButton");
  EXPECT_EQ(painterOf(item(1007)), u"") << "group boxes draw themselves";
  EXPECT_EQ(painterOf(item(1008)), u"TSkinComBox");
  EXPECT_EQ(painterOf(item(1009)), u"TSkinEdit");
  EXPECT_EQ(painterOf(item(1010)), u"TSkinSizer");
  EXPECT_EQ(painterOf(item(1011)), u"") << "owner-drawn buttons draw themselves";
  EXPECT_EQ(painterOf(GetWindow(item(1012), GW_CHILD)), u"TSkinComBox");
  const HWND nested = item(1013);
  EXPECT_EQ(painterOf(nested), u"TSkinBoxH");
  EXPECT_EQ(painterOf(GetDlgItem(nested, 2001)), u"TSkinButton");

  // A bare button clicks on a release over it, by posting its command.
  const HWND cancel = item(1002);
  SendMessageW(cancel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(PixelOf(cancel, 4, 1), ImagePixel(Model().Buttons.Image, 5, 2, 4, 1)) << "pressed";
  SendMessageW(cancel, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(form->ForeignDialog(), nullptr);
}

// Our dark skin rounds all four corners of the frame with key pixels: the
// window's region leaves each corner pixel out and keeps the middles of
// the four edges.
TEST(GalleryInTheDarkSkin, TheWindowRegionCutsAllFourCorners) {
  TGalleryForm* dark = new TGalleryForm(nullptr, u"" QUIMORA_DARK_SKIN);
  dark->Show();
  SetForegroundWindow(dark->Handle());
  ASSERT_TRUE(AwaitSkinned(dark->Handle()));
  RECT window;
  GetWindowRect(dark->Handle(), &window);
  const int right = window.right - window.left - 1, bottom = window.bottom - window.top - 1;
  gui::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(dark->Handle(), region.get()), ERROR);
  for (const POINT corner : {POINT{0, 0}, POINT{right, 0}, POINT{0, bottom}, POINT{right, bottom}})
    EXPECT_FALSE(PtInRegion(region.get(), corner.x, corner.y)) << corner.x << ", " << corner.y;
  for (const POINT edge : {POINT{right / 2, 0}, POINT{right / 2, bottom}, POINT{0, bottom / 2}, POINT{right, bottom / 2}})
    EXPECT_TRUE(PtInRegion(region.get(), edge.x, edge.y)) << edge.x << ", " << edge.y;
  delete dark;
  Pump(20);
}

}  // namespace
}  // namespace gallery
