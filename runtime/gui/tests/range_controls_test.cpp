// The controls that show a position within a range (progress bar, up-down
// arrows, track bar, scroll bar), each against its system control: the
// range and position the window holds after creation and after every
// change, a bound set past the other, positions held within the range, and
// what each control announces.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/gui/edit.h"
#include "runtime/gui/progress_bar.h"
#include "runtime/gui/scroll_bar.h"
#include "runtime/gui/tests/controls_on_a_form.h"
#include "runtime/gui/track_bar.h"
#include "runtime/gui/up_down.h"

namespace gui {
namespace {

using testing::ClickAt;
using testing::ControlsOnAForm;
using testing::PropertyText;
using testing::Send;

// Min, Max and Position, as the control or its window holds them.
struct TRangeValues {
  int32_t min;
  int32_t max;
  int32_t position;
  bool operator==(const TRangeValues&) const = default;
};
void PrintTo(const TRangeValues& v, std::ostream* out) {
  *out << v.min << " .. " << v.max << " at " << v.position;
}

TRangeValues ValuesOf(const TRangeControl& control) {
  return {control.Min(), control.Max(), control.Position()};
}

TRangeValues ProgressBarWindow(HWND window) {
  PBRANGE range{};
  SendMessageW(window, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  return {range.iLow, range.iHigh, static_cast<int32_t>(SendMessageW(window, PBM_GETPOS, 0, 0))};
}

TRangeValues UpDownWindow(HWND window) {
  int low = 0;
  int high = 0;
  SendMessageW(window, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  return {low, high, static_cast<int32_t>(SendMessageW(window, UDM_GETPOS32, 0, 0))};
}

TRangeValues TrackBarWindow(HWND window) {
  return {static_cast<int32_t>(SendMessageW(window, TBM_GETRANGEMIN, 0, 0)),
          static_cast<int32_t>(SendMessageW(window, TBM_GETRANGEMAX, 0, 0)),
          static_cast<int32_t>(SendMessageW(window, TBM_GETPOS, 0, 0))};
}

TRangeValues ScrollBarWindow(HWND window) {
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(window, SB_CTL, &info);
  return {info.nMin, info.nMax, info.nPos};
}

struct TRangeKind {
  const char* className;
  int32_t initialMax;
  // SetMax below Min stops at Min instead of taking Min down with it.
  bool maxStopsAtMin;
  TRangeValues (*window)(HWND);
  // Changes a style the system reads only when it makes the control, so
  // that the window is made again with remadeStyle; nullptr for a control
  // without one.
  void (*remake)(TRangeControl&);
  DWORD remadeStyle;
};
void PrintTo(const TRangeKind& kind, std::ostream* out) { *out << kind.className; }

const TRangeKind kRangeKinds[] = {
    {"TProgressBar", 100, false, ProgressBarWindow, nullptr, 0},
    {"TUpDown", 100, false, UpDownWindow,
     [](TRangeControl& c) { dynamic_cast<TUpDown&>(c).SetOrientation(udHorizontal); }, UDS_HORZ},
    {"TTrackBar", 10, false, TrackBarWindow,
     [](TRangeControl& c) { dynamic_cast<TTrackBar&>(c).SetOrientation(trVertical); }, TBS_VERT},
    {"TScrollBar", 100, true, ScrollBarWindow,
     [](TRangeControl& c) { dynamic_cast<TScrollBar&>(c).SetKind(sbVertical); }, SBS_VERT},
};

class RangeControls : public ControlsOnAForm, public ::testing::WithParamInterface<TRangeKind> {
 protected:
  // The control, made by class name and not yet on the form.
  TRangeControl* MakeAlone() {
    auto* control = dynamic_cast<TRangeControl*>(rt::CreateComponent(GetParam().className, form));
    EXPECT_NE(control, nullptr);
    return control;
  }
  // The control on the form, with its window.
  TRangeControl* MakeShown() {
    TRangeControl* control = MakeAlone();
    if (control) control->SetParent(form);
    return control;
  }
  TRangeValues Window(TRangeControl& control) { return GetParam().window(control.Handle()); }
};

TEST_P(RangeControls, ValuesStreamedBeforeTheWindowReachItWhenItIsMade) {
  TRangeControl* control = MakeAlone();
  ASSERT_NE(control, nullptr);
  // In the order a stored form holds them.
  const std::pair<const char*, const char16_t*> streamed[] = {{"Min", u"-20"}, {"Max", u"30"}, {"Position", u"25"}};
  for (const auto& [name, value] : streamed) rt::SetPropertyText(*control, name, value);
  ASSERT_FALSE(control->HandleAllocated());
  EXPECT_EQ(ValuesOf(*control), (TRangeValues{-20, 30, 25}));

  control->SetParent(form);
  ASSERT_TRUE(control->HandleAllocated());
  EXPECT_EQ(Window(*control), (TRangeValues{-20, 30, 25}));
}

TEST_P(RangeControls, TheLiveWindowFollowsEveryChange) {
  TRangeControl* control = MakeShown();
  ASSERT_NE(control, nullptr);
  const TRangeValues initial{0, GetParam().initialMax, 0};
  EXPECT_EQ(ValuesOf(*control), initial);
  EXPECT_EQ(Window(*control), initial);

  control->SetMax(40);
  control->SetMin(-10);
  control->SetPosition(33);
  EXPECT_EQ(Window(*control), (TRangeValues{-10, 40, 33}));
  // A smaller range takes the position along, in the window too.
  control->SetMax(20);
  EXPECT_EQ(ValuesOf(*control), (TRangeValues{-10, 20, 20}));
  EXPECT_EQ(Window(*control), (TRangeValues{-10, 20, 20}));
  control->SetMin(5);
  control->SetPosition(7);
  EXPECT_EQ(Window(*control), (TRangeValues{5, 20, 7}));
}

TEST_P(RangeControls, ABoundSetPastTheOtherMovesItAsTheControlAlwaysHas) {
  TRangeControl* control = MakeShown();
  ASSERT_NE(control, nullptr);
  control->SetMax(50);
  control->SetPosition(30);
  // Min above Max takes Max (and the position) up with it.
  control->SetMin(70);
  EXPECT_EQ(ValuesOf(*control), (TRangeValues{70, 70, 70}));
  EXPECT_EQ(Window(*control), (TRangeValues{70, 70, 70}));

  control->SetMax(20);
  const TRangeValues expected = GetParam().maxStopsAtMin ? TRangeValues{70, 70, 70} : TRangeValues{20, 20, 20};
  EXPECT_EQ(ValuesOf(*control), expected);
  EXPECT_EQ(Window(*control), expected);
}

TEST_P(RangeControls, PositionStaysWithinTheRange) {
  for (const bool windowFirst : {true, false}) {
    SCOPED_TRACE(windowFirst ? "window first" : "state first");
    TRangeControl* control = windowFirst ? MakeShown() : MakeAlone();
    ASSERT_NE(control, nullptr);
    control->SetMin(-5);
    control->SetMax(5);
    control->SetPosition(std::numeric_limits<int32_t>::max());
    EXPECT_EQ(control->Position(), 5);
    EXPECT_EQ(PropertyText(*control, "Position"), "5");
    control->SetPosition(std::numeric_limits<int32_t>::min());
    EXPECT_EQ(control->Position(), -5);
    control->SetParent(form);
    EXPECT_EQ(Window(*control), (TRangeValues{-5, 5, -5}));
    delete control;
  }
}

TEST_P(RangeControls, AWindowMadeAgainGetsTheRangeBack) {
  if (!GetParam().remake) GTEST_SKIP() << "the control's window is made once";
  TRangeControl* control = MakeShown();
  ASSERT_NE(control, nullptr);
  control->SetMin(3);
  control->SetMax(9);
  control->SetPosition(8);
  GetParam().remake(*control);
  ASSERT_TRUE(control->HandleAllocated());
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control->Handle(), GWL_STYLE));
  EXPECT_EQ(style & GetParam().remadeStyle, GetParam().remadeStyle);
  EXPECT_EQ(Window(*control), (TRangeValues{3, 9, 8}));
}

INSTANTIATE_TEST_SUITE_P(EachRangeControl, RangeControls, ::testing::ValuesIn(kRangeKinds),
                         [](const auto& test) { return std::string(test.param.className + 1); });

// ---- What each announces ----

TEST_F(ControlsOnAForm, ScrollBarAnnouncesEveryMoveOfItsPositionAndNothingElse) {
  auto* bar = Make<TScrollBar>("TScrollBar");
  bar->SetParams(40, 0, 100);
  std::vector<int32_t> seen;
  bar->OnChange = [&](rt::TObject*) { seen.push_back(bar->Position()); };
  bar->SetPosition(40);  // no move
  bar->SetMax(90);       // the position still fits
  bar->SetMax(30);       // the range moves it
  bar->SetPageSize(11);  // so does the page: the last one starts at 20
  bar->SetMin(25);
  bar->SetParams(28, 0, 50);
  bar->SetPosition(28);
  EXPECT_EQ(seen, (std::vector<int32_t>{30, 20, 25, 28}));
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar->Handle(), SB_CTL, &info);
  EXPECT_EQ(info.nPage, 11u);
  EXPECT_EQ(info.nPos, 28);
}

TEST_F(ControlsOnAForm, ScrollBarPageCoversAtMostARangeOfAnyWidth) {
  auto* bar = Make<TScrollBar>("TScrollBar");
  bar->SetParams(0, INT32_MIN, INT32_MAX);
  bar->SetPageSize(INT32_MAX);
  EXPECT_EQ(bar->PageSize(), INT32_MAX);
  EXPECT_EQ(bar->Position(), 0);
  bar->SetPosition(INT32_MAX);
  EXPECT_EQ(bar->Position(), 1);  // the last page starts there
  bar->SetParams(5, 0, 9);
  bar->SetPageSize(-3);
  EXPECT_EQ(bar->PageSize(), 0);
  bar->SetPageSize(50);
  EXPECT_EQ(bar->PageSize(), 10);
  EXPECT_EQ(bar->Position(), 0);
}

TEST_F(ControlsOnAForm, TrackBarAnnouncesTheMovesSetPositionMakes) {
  auto* track = Make<TTrackBar>("TTrackBar");
  std::vector<int32_t> seen;
  track->OnChange = [&](rt::TObject*) { seen.push_back(track->Position()); };
  track->SetPosition(6);
  track->SetPosition(6);
  track->SetPosition(99);  // held at Max
  track->SetPosition(10);
  EXPECT_EQ(seen, (std::vector<int32_t>{6, 10}));
  EXPECT_EQ(Send(track, TBM_GETPOS), 10);
}

TEST_F(ControlsOnAForm, UpDownWritesAPositionTheRangeMovedIntoItsAssociate) {
  auto* edit = Make<TEdit>("TEdit");
  auto* arrows = Make<TUpDown>("TUpDown");
  arrows->SetPosition(50);
  arrows->SetAssociate(edit);
  EXPECT_EQ(rt::WideToUtf8(edit->Text()), "50");
  int clicks = 0;
  arrows->OnClick = [&](rt::TObject*) { ++clicks; };
  arrows->SetMax(12);
  EXPECT_EQ(rt::WideToUtf8(edit->Text()), "12");
  arrows->SetMin(20);
  EXPECT_EQ(rt::WideToUtf8(edit->Text()), "20");
  // Only the arrows click.
  EXPECT_EQ(clicks, 0);
}

// ---- Behaviour ----

TEST_F(ControlsOnAForm, ScrollBarMovesWithItsNotificationsWithinTheRange) {
  auto* bar = Make<TScrollBar>("TScrollBar");
  bar->SetParams(10, 0, 60);
  bar->SetSmallChange(3);
  bar->SetLargeChange(20);
  bar->SetPageSize(11);
  std::vector<int32_t> seen;
  bar->OnChange = [&](rt::TObject*) { seen.push_back(bar->Position()); };
  const auto notify = [&](WORD code) {
    SendMessageW(form->WindowHandle(), WM_HSCROLL, MAKEWPARAM(code, 0),
                 reinterpret_cast<LPARAM>(bar->Handle()));
  };
  notify(SB_LINEDOWN);
  notify(SB_PAGEDOWN);
  notify(SB_BOTTOM);   // the last page starts at 60 - 11 + 1
  notify(SB_PAGEDOWN);  // already there: no change
  notify(SB_LINEUP);
  notify(SB_TOP);
  EXPECT_EQ(seen, (std::vector<int32_t>{13, 33, 50, 47, 0}));
  EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 0);

  // A vertical bar listens to the vertical notification.
  rt::SetPropertyText(*bar, "Kind", u"sbVertical");
  SendMessageW(form->WindowHandle(), WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0),
               reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(bar->Position(), 20);
  EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 20);
}

TEST_F(ControlsOnAForm, TrackBarFollowsTheKeyboardAndUpDownItsArrows) {
  auto* track = Make<TTrackBar>("TTrackBar");
  track->SetPosition(4);
  int trackChanges = 0;
  track->OnChange = [&](rt::TObject*) { ++trackChanges; };
  Send(track, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(track->Position(), 5);
  Send(track, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(track->Position(), 10);
  EXPECT_EQ(trackChanges, 2);

  auto* edit = Make<TEdit>("TEdit");
  edit->SetBounds(10, 100, 80, 21);
  auto* arrows = Make<TUpDown>("TUpDown");
  arrows->SetMax(7);
  arrows->SetPosition(5);
  arrows->SetAssociate(edit);
  EXPECT_EQ(rt::WideToUtf8(edit->Text()), "5");
  // The arrows moved to the edit box's right edge.
  EXPECT_EQ(arrows->Top(), edit->Top());
  int clicks = 0;
  arrows->OnClick = [&](rt::TObject*) { ++clicks; };
  RECT client;
  GetClientRect(arrows->Handle(), &client);
  ClickAt(arrows->Handle(), {client.right / 2, client.bottom / 4});
  EXPECT_EQ(arrows->Position(), 6);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(rt::WideToUtf8(edit->Text()), "6");
  ClickAt(arrows->Handle(), {client.right / 2, client.bottom * 3 / 4});
  EXPECT_EQ(arrows->Position(), 5);
  EXPECT_EQ(clicks, 2);
}

// Our StepIt against the system's PBM_STEPIT, past the end and round.
TEST_F(ControlsOnAForm, ProgressBarStepsAsTheSystemBarDoes) {
  auto* ours = Make<TProgressBar>("TProgressBar");
  auto* system = Make<TProgressBar>("TProgressBar");
  for (TProgressBar* bar : {ours, system}) {
    bar->SetMin(10);
    bar->SetMax(100);
    bar->SetStep(35);
  }
  Send(system, PBM_SETSTEP, 35);
  for (int i = 0; i < 6; ++i) {
    ours->StepIt();
    Send(system, PBM_STEPIT);
    EXPECT_EQ(ours->Position(), Send(system, PBM_GETPOS)) << i;
    EXPECT_EQ(Send(ours, PBM_GETPOS), ours->Position()) << i;
  }
}

}  // namespace
}  // namespace gui
