// Scroll-bar painters: the geometry of a bar, the bar windows laid over a
// multi-line edit's system scroll bar, and a skinned scroll-bar control.
#include "skin/controls/scroll_painters_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "runtime/gui/application.h"
#include "runtime/gui/form.h"
#include "runtime/gui/scroll_bar.h"
#include "runtime/gui/system_libraries.h"
#include "skin/engine/tests/engine_test_support_win.h"
#include "skin/drawing/dib_win.h"

// Rectangles compared and printed by the assertions.
bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
void PrintTo(const RECT& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace skin {
namespace {

using testing::Pump;
using testing::PumpUntil;

SCROLLINFO Info(int min, int max, UINT page, int pos) { return {sizeof(SCROLLINFO), SIF_ALL & ~SIF_TRACKPOS, min, max, page, pos, 0}; }

// Geometry.

TEST(ScrollGeometry, VerticalBarHasArrowsAtTheEndsAndAProportionalThumb) {
  const RECT bar{0, 0, 17, 200};
  const TScrollGeometry top = TScrollGeometry::Of(bar, true, Info(0, 99, 10, 0));
  EXPECT_EQ((RECT{0, 0, 17, 17}), top.LineUp);
  EXPECT_EQ((RECT{0, 183, 17, 200}), top.LineDown);
  EXPECT_EQ((RECT{0, 17, 17, 183}), top.Track);
  EXPECT_EQ((RECT{0, 17, 17, 33}), top.Thumb);  // 166 * 10 / 100
  const TScrollGeometry last = TScrollGeometry::Of(bar, true, Info(0, 99, 10, 90));
  EXPECT_EQ(183, last.Thumb.bottom);
  // Beyond the last page the thumb stays at the end.
  EXPECT_EQ(last.Thumb, TScrollGeometry::Of(bar, true, Info(0, 99, 10, 500)).Thumb);

  const TScrollGeometry middle = TScrollGeometry::Of(bar, true, Info(0, 99, 10, 45));
  EXPECT_EQ(spLineUp, middle.PartAt({8, 3}));
  EXPECT_EQ(spPageUp, middle.PartAt({8, middle.Thumb.top - 1}));
  EXPECT_EQ(spThumb, middle.PartAt({8, middle.Thumb.top}));
  EXPECT_EQ(spPageDown, middle.PartAt({8, middle.Thumb.bottom}));
  EXPECT_EQ(spLineDown, middle.PartAt({8, 199}));
  EXPECT_EQ(spNone, middle.PartAt({17, 100}));
}

TEST(ScrollGeometry, HorizontalThumbLengthsAndTrackPosition) {
  const RECT bar{0, 0, 120, 17};
  // No page: the thumb is square.
  const TScrollGeometry square = TScrollGeometry::Of(bar, false, Info(0, 10, 0, 10));
  EXPECT_EQ((RECT{86, 0, 103, 17}), square.Thumb);
  // A tiny page still gives a thumb that can be taken.
  EXPECT_EQ(kMinThumbLength, RectWidth(TScrollGeometry::Of(bar, false, Info(0, 99999, 1, 0)).Thumb));
  // The tracking position counts only when the mask says so.
  SCROLLINFO dragging = Info(0, 10, 0, 0);
  dragging.nTrackPos = 10;
  EXPECT_EQ(17, TScrollGeometry::Of(bar, false, dragging).Thumb.left);
  dragging.fMask |= SIF_TRACKPOS;
  EXPECT_EQ(86, TScrollGeometry::Of(bar, false, dragging).Thumb.left);
}

TEST(ScrollGeometry, NothingToScrollOrNoRoomMeansNoThumb) {
  const RECT bar{0, 0, 17, 200};
  for (const SCROLLINFO& info : {Info(0, 0, 0, 0), Info(5, 2, 0, 3), Info(0, 99, 100, 0), Info(0, 99, 250, 0)}) {
    EXPECT_FALSE(CanScroll(info)) << info.nMin << ".." << info.nMax << " page " << info.nPage;
    const RECT thumb = TScrollGeometry::Of(bar, true, info).Thumb;
    EXPECT_TRUE(IsRectEmpty(&thumb));
  }
  // A bar shorter than two arrows shares its length between them.
  const TScrollGeometry tiny = TScrollGeometry::Of({0, 0, 17, 21}, true, Info(0, 99, 10, 0));
  EXPECT_EQ((RECT{0, 0, 17, 10}), tiny.LineUp);
  EXPECT_EQ((RECT{0, 11, 17, 21}), tiny.LineDown);
  EXPECT_TRUE(IsRectEmpty(&tiny.Thumb));
  EXPECT_EQ(spLineDown, tiny.PartAt({8, 15}));
}

TEST(ScrollGeometry, ThumbPlacedForAPositionGivesThatPositionBack) {
  const RECT bar{0, 0, 17, 300};
  for (const SCROLLINFO& range : {Info(0, 199, 12, 0), Info(-50, 50, 0, 0), Info(0, 1000, 30, 0)}) {
    for (int pos = range.nMin; pos <= LastScrollPosition(range); ++pos) {
      SCROLLINFO info = range;
      info.nPos = pos;
      const TScrollGeometry g = TScrollGeometry::Of(bar, true, info);
      const int64_t back = g.PositionForThumbAt(g.Thumb.top, info);
      // Where several positions share a pixel, the nearest one comes back.
      EXPECT_EQ(g.Thumb.top, TScrollGeometry::Of(bar, true, Info(info.nMin, info.nMax, info.nPage, int(back))).Thumb.top)
          << "position " << pos;
    }
  }
}

// Bar windows over a multi-line edit.

class ScrollWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Away from the bars: a bar under the mouse shows the part it is on hot.
    SetCursorPos(0, 0);
    data = new TSkinData(nullptr);
    data->SetSkinFile(u"" QUIMORA_PRODUCT_SKIN);
    data->Loaded();
    ASSERT_TRUE(data->Model().Scrollbar);
    form = new gui::TForm(nullptr);
    form->SetBounds(100, 100, 360, 300);
    form->Show();
    SetForegroundWindow(form->Handle());
    std::wstring text;
    for (int line = 1; line <= 200; ++line) text += L"Línea " + std::to_wstring(line) + L"\r\n";
    edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(),
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 10, 10, 200, 160,
                           form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, edit);
    painter = new TSkinScrollbarH(nullptr);
    painter->AttachWindow(edit, data, nullptr);
    Pump(60);
    ASSERT_NE(nullptr, painter->VerticalBar());
    bar = painter->VerticalBar()->WindowHandle();
    ASSERT_NE(nullptr, bar);
  }
  void TearDown() override {
    delete painter;
    delete form;
    delete data;
    Pump(20);
  }

  int FirstLine() const { return static_cast<int>(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0)); }
  SCROLLINFO EditInfo() const {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(edit, SB_VERT, &info);
    return info;
  }
  SIZE BarSize() const {
    RECT r{};
    GetClientRect(bar, &r);
    return {r.right, r.bottom};
  }
  void Mouse(UINT msg, int x, int y) {
    SendMessageW(bar, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    Pump(10);
  }

  TSkinData* data = nullptr;
  gui::TForm* form = nullptr;
  HWND edit = nullptr;
  TSkinScrollbarH* painter = nullptr;
  HWND bar = nullptr;
};

TEST_F(ScrollWindowTest, TheBarLiesOverTheEditsScrollBarAndNeverTakesTheFocus) {
  SCROLLBARINFO info{sizeof info};
  ASSERT_TRUE(GetScrollBarInfo(edit, OBJID_VSCROLL, &info));
  RECT placed{};
  GetWindowRect(bar, &placed);
  EXPECT_EQ(info.rcScrollBar, placed);
  EXPECT_TRUE(IsWindowVisible(bar));
  EXPECT_EQ(form->Handle(), GetParent(bar));
  EXPECT_EQ(bar, GetWindow(edit, GW_HWNDPREV));  // above the edit
  // The edit has no horizontal bar.
  const HWND across = painter->HorizontalBar()->WindowHandle();
  EXPECT_TRUE(!across || !IsWindowVisible(across));

  SetFocus(edit);
  EXPECT_EQ(MA_NOACTIVATE, SendMessageW(bar, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(form->Handle()), 0));
  Mouse(WM_LBUTTONDOWN, 5, BarSize().cy - 5);
  Mouse(WM_LBUTTONUP, 5, BarSize().cy - 5);
  EXPECT_EQ(edit, GetFocus());

  ShowWindow(edit, SW_HIDE);
  Pump(20);
  EXPECT_FALSE(IsWindowVisible(bar));
  ShowWindow(edit, SW_SHOW);
  Pump(20);
  EXPECT_TRUE(IsWindowVisible(bar));
}

TEST_F(ScrollWindowTest, ArrowsTrackAndThumbScrollTheEdit) {
  const SIZE size = BarSize();
  Mouse(WM_LBUTTONDOWN, size.cx / 2, size.cy - 3);
  Mouse(WM_LBUTTONUP, size.cx / 2, size.cy - 3);
  EXPECT_EQ(1, FirstLine());
  Mouse(WM_LBUTTONDOWN, size.cx / 2, 3);
  Mouse(WM_LBUTTONUP, size.cx / 2, 3);
  EXPECT_EQ(0, FirstLine());

  const SCROLLINFO info = EditInfo();
  ASSERT_GT(info.nPage, 2u);
  Mouse(WM_LBUTTONDOWN, size.cx / 2, size.cy - size.cx - 4);
  Mouse(WM_LBUTTONUP, size.cx / 2, size.cy - size.cx - 4);
  EXPECT_GE(FirstLine(), static_cast<int>(info.nPage) - 1);
  EXPECT_LE(FirstLine(), static_cast<int>(info.nPage));

  // The thumb taken at its middle and dropped past the end.
  RECT client{0, 0, size.cx, size.cy};
  const RECT thumb = TScrollGeometry::Of(client, true, EditInfo()).Thumb;
  const int grip = (thumb.top + thumb.bottom) / 2;
  Mouse(WM_LBUTTONDOWN, size.cx / 2, grip);
  Mouse(WM_MOUSEMOVE, size.cx / 2, grip + 40);
  EXPECT_GT(FirstLine(), static_cast<int>(info.nPage));  // follows while dragging
  Mouse(WM_MOUSEMOVE, size.cx / 2, size.cy + 50);
  Mouse(WM_LBUTTONUP, size.cx / 2, size.cy + 50);
  const SCROLLINFO after = EditInfo();
  EXPECT_EQ(LastScrollPosition(after), after.nPos);
  EXPECT_EQ(LastScrollPosition(after), FirstLine());
  EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ScrollWindowTest, HoldingAnArrowRepeats) {
  const SIZE size = BarSize();
  POINT at{size.cx / 2, size.cy - 3};
  ClientToScreen(bar, &at);
  SetCursorPos(at.x, at.y);
  // One line at once, then one every 50 ms from 300 ms on: the second
  // line comes at 300 ms, the seventh at 550 ms, none of them earlier (a
  // timer may be late, never early; the tick count moves in steps of up
  // to 16 ms).
  constexpr DWORD kTickStep = 16;
  const DWORD down = GetTickCount();
  Mouse(WM_LBUTTONDOWN, size.cx / 2, size.cy - 3);
  EXPECT_EQ(1, FirstLine());
  DWORD second = 0;
  const bool seven = PumpUntil(
      [&] {
        const int line = FirstLine();
        if (line >= 2 && !second) second = GetTickCount();
        return line >= 7;
      },
      2000);
  const DWORD seventh = GetTickCount();
  Mouse(WM_LBUTTONUP, size.cx / 2, size.cy - 3);
  ASSERT_TRUE(seven) << "stopped at line " << FirstLine();
  EXPECT_GE(second - down + kTickStep, 300u);
  EXPECT_GE(seventh - down + kTickStep, 550u);
}

// The colour of a frame pixel as the screen shows it: the frame stretched
// by the system to the part's size.
COLORREF FramePixel(HBITMAP strip, int frame, SIZE part, POINT p) {
  const TFrameRect f = SkinFrame(strip, 23, frame, false);
  gui::UniqueBitmap scaled = MakeFilledDib(part.cx, part.cy, 0);
  TBitmapDc out(scaled.get());
  {
    TBitmapDc source(strip);
    SetStretchBltMode(out.get(), COLORONCOLOR);
    StretchBlt(out.get(), 0, 0, part.cx, part.cy, source.get(), f.X, f.Y, f.Width, f.Height, SRCCOPY);
  }
  return GetPixel(out.get(), p.x, p.y);
}

void ExpectArrowFromSkin(HWND window, const TSkinData& data, int frame, const RECT& arrow) {
  UpdateWindow(window);
  HBITMAP strip = data.ImageBitmap(data.Model().Scrollbar->Image);
  const SIZE part{RectWidth(arrow), RectHeight(arrow)};
  gui::TWindowDc dc(window);
  // Key-coloured pixels (the rounded corners) show the face colour.
  const COLORREF face = gui::ColorToRGB(data.Model().SkinColours.ButtonFace);
  int differing = 0;
  for (int y = 0; y < part.cy; ++y)
    for (int x = 0; x < part.cx; ++x) {
      const COLORREF skin = FramePixel(strip, frame, part, {x, y});
      if (GetPixel(dc.get(), arrow.left + x, arrow.top + y) != (skin == kSkinKeyColour ? face : skin)) ++differing;
    }
  EXPECT_EQ(0, differing) << "of " << part.cx * part.cy << " pixels of frame " << frame;
}

TEST_F(ScrollWindowTest, TheArrowsShowTheSkinFramesOfTheirState) {
  SetForegroundWindow(form->Handle());
  Pump(40);
  const SIZE size = BarSize();
  const TScrollGeometry g = TScrollGeometry::Of({0, 0, size.cx, size.cy}, true, EditInfo());
  ExpectArrowFromSkin(bar, *data, 1, g.LineUp);
  ExpectArrowFromSkin(bar, *data, 5, g.LineDown);
  // Hot under the mouse, normal again when it leaves.
  Mouse(WM_MOUSEMOVE, size.cx / 2, 3);
  ExpectArrowFromSkin(bar, *data, 4, g.LineUp);
  SendMessageW(bar, WM_MOUSELEAVE, 0, 0);
  ExpectArrowFromSkin(bar, *data, 1, g.LineUp);
  // Disabled with the edit.
  EnableWindow(edit, FALSE);
  Pump(20);
  ExpectArrowFromSkin(bar, *data, 7, g.LineDown);
}

TEST_F(ScrollWindowTest, AListViewFollowsTheThumb) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
  gui::CommonControls().InitCommonControlsEx(&classes);
  const HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER,
                                    220, 10, 120, 160, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, list);
  LVCOLUMNW column{LVCF_WIDTH};
  column.cx = 90;
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  for (int i = 0; i < 100; ++i) {
    std::wstring text = L"Elemento " + std::to_wstring(i);
    LVITEMW item{LVIF_TEXT};
    item.iItem = i;
    item.pszText = text.data();
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  TSkinScrollbarH listPainter(nullptr);
  listPainter.AttachWindow(list, data, nullptr);
  Pump(30);
  const HWND listBar = listPainter.VerticalBar()->WindowHandle();
  ASSERT_TRUE(listBar && IsWindowVisible(listBar));
  RECT client{};
  GetClientRect(listBar, &client);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(list, SB_VERT, &info);
  const RECT thumb = TScrollGeometry::Of(client, true, info).Thumb;
  const int x = client.right / 2, grip = (thumb.top + thumb.bottom) / 2;
  SendMessageW(listBar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, grip));
  SendMessageW(listBar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, client.bottom + 40));
  SendMessageW(listBar, WM_LBUTTONUP, 0, MAKELPARAM(x, client.bottom + 40));
  Pump(20);
  GetScrollInfo(list, SB_VERT, &info);
  EXPECT_EQ(LastScrollPosition(info), SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
}

// Scroll-bar controls.

TEST_F(ScrollWindowTest, AScrollBarControlIsPaintedFromTheSkinAndKeepsWorking) {
  auto* control = new gui::TScrollBar(form);
  control->SetKind(gui::sbVertical);
  control->SetParent(form);
  control->SetBounds(260, 10, 17, 160);
  control->SetParams(0, 0, 100);
  control->SetPageSize(10);
  auto* skinned = new TSkinScControl(control);
  skinned->AttachControl(nullptr, data, false);
  SetForegroundWindow(form->Handle());
  Pump(40);
  const HWND window = control->Handle();
  const TScrollGeometry g = TScrollGeometry::Of({0, 0, 17, 160}, true, Info(0, 100, 10, 0));
  ExpectArrowFromSkin(window, *data, 1, g.LineUp);

  SendMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(window, WM_KEYUP, VK_DOWN, 0);
  EXPECT_EQ(1, control->Position());
  ExpectArrowFromSkin(window, *data, 5, g.LineDown);

  // The control's own tracking loop ends on the release already queued.
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(8, 155));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 155));
  Pump(20);
  EXPECT_EQ(2, control->Position());
  ExpectArrowFromSkin(window, *data, 5, g.LineDown);
}

}  // namespace
}  // namespace skin
