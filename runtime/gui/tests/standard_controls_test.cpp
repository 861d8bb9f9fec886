// The standard and common controls driven through their real windows: the
// system class each is built on and its styles, published properties set
// and read by name before and after the window exists, and the behaviour
// the framework adds (check states, radio groups, pages, speed button
// groups, tool bar buttons). The range controls' own behaviour is tested in
// range_controls_test.cpp.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/gui/application.h"
#include "runtime/gui/bit_btn.h"
#include "runtime/gui/check_box.h"
#include "runtime/gui/combo_box.h"
#include "runtime/gui/edit.h"
#include "runtime/gui/group_box.h"
#include "runtime/gui/header_control.h"
#include "runtime/gui/list_view.h"
#include "runtime/gui/memo.h"
#include "runtime/gui/panel.h"
#include "runtime/gui/status_bar.h"
#include "runtime/gui/tab_controls.h"
#include "runtime/gui/tests/controls_on_a_form.h"
#include "runtime/gui/tool_bar.h"
#include "runtime/tests/test_bmp_builder.h"
#include "runtime/wide_text_win.h"
#include "runtime/window_class_win.h"

namespace gui {
namespace {

using testing::ClickAt;
using testing::ControlsOnAForm;
using testing::Pump;
using testing::PropertyText;
using testing::Send;

std::wstring ClassOf(HWND window) { return rt::WstringFromWide(rt::WindowClassName(window)); }
DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }
DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)); }
LPARAM PointParam(int x, int y) { return MAKELPARAM(x, y); }
POINT CentreOf(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Counts the CM_CHECKSTATECHANGED a control sends itself, through its
// WindowProc, and puts the previous WindowProc back at the end.
class TCheckNotices {
 public:
  explicit TCheckNotices(TControl* control) : control_(control), previous_(control->WindowProc) {
    control_->WindowProc = [this](TMessage& message) {
      if (message.Msg == CM_CHECKSTATECHANGED) ++count;
      previous_(message);
    };
  }
  ~TCheckNotices() { control_->WindowProc = previous_; }
  int count = 0;

 private:
  TControl* control_;
  TWndMethod previous_;
};

// ---- The system control under each class ----

struct TSystemClassCase {
  const char* className;
  DWORD styles;     // bits the window must have
  DWORD typeMask;   // with typeValue: a field of the style, such as a button's type
  DWORD typeValue;
  // Answers only the system control gives.
  std::function<bool(HWND)> answersAsSystemControl;
};

bool AnswersDlgCode(HWND window, LRESULT code) {
  return (SendMessageW(window, WM_GETDLGCODE, 0, 0) & code) == code;
}

TEST_F(ControlsOnAForm, EachControlIsItsSystemControlWithItsStyles) {
  const TSystemClassCase cases[] = {
      {"TCheckBox", WS_TABSTOP, 0x0F, BS_CHECKBOX, [](HWND w) { return AnswersDlgCode(w, DLGC_BUTTON); }},
      // The system keeps WS_TABSTOP on the checked radio button only.
      {"TRadioButton", 0, 0x0F, BS_RADIOBUTTON,
       [](HWND w) { return AnswersDlgCode(w, DLGC_BUTTON | DLGC_RADIOBUTTON); }},
      // WS_VSCROLL goes to the list, which shows it only when it needs it.
      {"TComboBox", CBS_AUTOHSCROLL, 0x03, CBS_DROPDOWN,
       [](HWND w) {
         COMBOBOXINFO info{};
         info.cbSize = sizeof info;
         return SendMessageW(w, CB_GETCURSEL, 0, 0) == CB_ERR && GetComboBoxInfo(w, &info) && info.hwndList;
       }},
      {"TMemo", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, ES_AUTOHSCROLL, 0,
       [](HWND w) { return AnswersDlgCode(w, DLGC_HASSETSEL); }},
      {"TListView", 0, LVS_TYPEMASK, LVS_ICON,
       [](HWND w) { return SendMessageW(w, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_ALL) == -1; }},
      {"TScrollBar", 0, SBS_VERT, SBS_HORZ,
       [](HWND w) {
         SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
         return GetScrollInfo(w, SB_CTL, &info) && info.nMax == 100;
       }},
      {"TProgressBar", 0, PBS_VERTICAL, 0,
       [](HWND w) { return SendMessageW(w, PBM_GETRANGE, FALSE, 0) == 100; }},
      {"TTrackBar", TBS_AUTOTICKS, TBS_VERT, TBS_HORZ,
       [](HWND w) { return SendMessageW(w, TBM_GETRANGEMAX, 0, 0) == 10; }},
      {"TUpDown", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, UDS_HORZ, 0,
       [](HWND w) {
         int low = -1, high = -1;
         SendMessageW(w, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
         return low == 0 && high == 100;
       }},
      {"TTabControl", WS_CLIPCHILDREN, TCS_BOTTOM, 0,
       [](HWND w) { return SendMessageW(w, TCM_GETCURSEL, 0, 0) == -1; }},
      {"TPageControl", WS_CLIPCHILDREN, TCS_BOTTOM, 0,
       [](HWND w) { return SendMessageW(w, TCM_GETCURSEL, 0, 0) == -1; }},
      {"TTabSet", WS_CLIPCHILDREN | TCS_BOTTOM, 0, 0,
       [](HWND w) { return SendMessageW(w, TCM_GETCURSEL, 0, 0) == -1; }},
      {"TStatusBar", SBARS_SIZEGRIP, 0, 0, [](HWND w) { return SendMessageW(w, SB_GETPARTS, 0, 0) == 1; }},
      {"THeaderControl", HDS_BUTTONS, HDS_HORZ, HDS_HORZ,
       [](HWND w) {
         RECT area = {0, 0, 100, 100};
         WINDOWPOS place{};
         HDLAYOUT layout{&area, &place};
         return SendMessageW(w, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)) != 0;
       }},
      {"TToolBar", CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_LIST, TBSTYLE_FLAT, 0,
       [](HWND w) { return SendMessageW(w, TB_GETBUTTONSIZE, 0, 0) != 0; }},
      {"TBitBtn", WS_TABSTOP, 0x0F, BS_OWNERDRAW, [](HWND w) { return AnswersDlgCode(w, DLGC_BUTTON); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.className);
    TWinControl* control = Make(c.className);
    ASSERT_NE(control, nullptr);
    const HWND window = control->Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ClassOf(window), std::wstring(c.className, c.className + strlen(c.className)));
    EXPECT_EQ(GetParent(window), form->WindowHandle());
    EXPECT_EQ(StyleOf(window) & c.styles, c.styles);
    EXPECT_EQ(StyleOf(window) & c.typeMask, c.typeValue);
    EXPECT_TRUE(c.answersAsSystemControl(window));
  }
}

TEST_F(ControlsOnAForm, RegistryChainsReachTheirBases) {
  const std::pair<const char*, const char*> chains[] = {
      {"TCheckBox", "TCustomCheckBox"},     {"TCustomCheckBox", "TButtonControl"},
      {"TRadioButton", "TButtonControl"},   {"TButtonControl", "TWinControl"},
      {"TGroupBox", "TCustomGroupBox"},     {"TRadioGroup", "TCustomRadioGroup"},
      {"TCustomRadioGroup", "TCustomGroupBox"}, {"TComboBox", "TCustomComboBox"},
      {"TMemo", "TCustomMemo"},             {"TCustomMemo", "TCustomEdit"},
      {"TEdit", "TCustomEdit"},             {"TListView", "TCustomListView"},
      {"TTabControl", "TCustomTabControl"}, {"TPageControl", "TCustomTabControl"},
      {"TBitBtn", "TButton"},               {"TSpeedButton", "TWinControl"},
  };
  for (const auto& [derived, base] : chains)
    EXPECT_TRUE(rt::RequireClassInfo(derived).InheritsFrom(base)) << derived << " <- " << base;
  EXPECT_FALSE(rt::RequireClassInfo("TTabSet").InheritsFrom("TCustomTabControl"));
  EXPECT_FALSE(rt::RequireClassInfo("TMemo").InheritsFrom("TEdit"));
  EXPECT_FALSE(rt::RequireClassInfo("TButtonControl").Creatable());
  EXPECT_FALSE(rt::RequireClassInfo("TCustomEdit").Creatable());
  // The edit box kept what it published.
  auto* edit = Make<TEdit>("TEdit");
  rt::SetPropertyText(*edit, "MaxLength", u"12");
  EXPECT_EQ(PropertyText(*edit, "MaxLength"), "12");
}

// ---- Published properties reach the window ----

struct TPropertySetting {
  const char* name;
  const char16_t* text;
  const char* readBack;  // what reading gives, when not the text itself
};

struct TPropertyCase {
  const char* className;
  std::vector<TPropertySetting> settings;
  std::function<void(TWinControl*)> checkWindow;
};

std::vector<TPropertyCase> PropertyCases() {
  return {
      {"TCheckBox",
       {{"AllowGrayed", u"True"}, {"State", u"cbGrayed"}, {"Alignment", u"taLeftJustify"}, {"Caption", u"Copias"}},
       [](TWinControl* c) {
         EXPECT_EQ(Send(c, BM_GETCHECK), BST_INDETERMINATE);
         EXPECT_EQ(StyleOf(c->Handle()) & 0x0F, static_cast<DWORD>(BS_3STATE));
         EXPECT_TRUE(StyleOf(c->Handle()) & BS_LEFTTEXT);
         EXPECT_EQ(PropertyText(*c, "Checked"), "False");
       }},
      {"TRadioButton",
       {{"Checked", u"True"}, {"Caption", u"Completa"}},
       [](TWinControl* c) { EXPECT_EQ(Send(c, BM_GETCHECK), BST_CHECKED); }},
      {"TComboBox",
       {{"Items", u"uno\r\ndos\r\ntres\r\n"}, {"ItemIndex", u"1"}, {"DropDownCount", u"4"}},
       [](TWinControl* c) {
         EXPECT_EQ(Send(c, CB_GETCOUNT), 3);
         EXPECT_EQ(Send(c, CB_GETCURSEL), 1);
         EXPECT_EQ(PropertyText(*c, "Text"), "dos");
       }},
      {"TComboBox",
       {{"Style", u"csDropDownList"}, {"Items", u"a\r\nb\r\n"}, {"Text", u"b"}, {"ItemIndex", u"1", "1"}},
       [](TWinControl* c) {
         EXPECT_EQ(StyleOf(c->Handle()) & 0x03, static_cast<DWORD>(CBS_DROPDOWNLIST));
         EXPECT_EQ(Send(c, CB_GETCOUNT), 2);
       }},
      {"TMemo",
       {{"Lines", u"uno\r\ndos\r\n"}, {"WordWrap", u"False"}, {"ScrollBars", u"ssBoth"},
        {"ReadOnly", u"True"}, {"BorderStyle", u"bsNone"}},
       [](TWinControl* c) {
         const DWORD style = StyleOf(c->Handle());
         EXPECT_TRUE(style & ES_AUTOHSCROLL);
         EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL));
         EXPECT_TRUE(style & ES_READONLY);
         EXPECT_FALSE(ExStyleOf(c->Handle()) & WS_EX_CLIENTEDGE);
         EXPECT_EQ(Send(c, EM_GETLINECOUNT), 2);
       }},
      {"TListView",
       {{"ViewStyle", u"vsReport"}, {"Columns", u"Nombre=120\r\nTamaño\r\n"},
        {"Items", u"a.txt|3 KB\r\nb.txt|7 KB\r\n"}, {"GridLines", u"True"}, {"RowSelect", u"True"}},
       [](TWinControl* c) {
         EXPECT_EQ(StyleOf(c->Handle()) & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
         EXPECT_EQ(Send(c, LVM_GETITEMCOUNT), 2);
         EXPECT_EQ(Send(c, LVM_GETCOLUMNWIDTH, 0), 120);
         const auto header = reinterpret_cast<HWND>(Send(c, LVM_GETHEADER));
         EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
         wchar_t text[32] = {};
         LVITEMW item{};
         item.iSubItem = 1;
         item.pszText = text;
         item.cchTextMax = 32;
         Send(c, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
         EXPECT_EQ(std::wstring(text), L"7 KB");
         const auto ex = static_cast<DWORD>(Send(c, LVM_GETEXTENDEDLISTVIEWSTYLE));
         EXPECT_EQ(ex & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
                   static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
       }},
      {"TScrollBar",
       {{"Kind", u"sbVertical"}, {"Max", u"50"}, {"PageSize", u"10"}, {"Position", u"45", "41"},
        {"SmallChange", u"2"}, {"LargeChange", u"5"}},
       [](TWinControl* c) {
         EXPECT_TRUE(StyleOf(c->Handle()) & SBS_VERT);
         SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
         GetScrollInfo(c->Handle(), SB_CTL, &info);
         EXPECT_EQ(info.nMax, 50);
         EXPECT_EQ(info.nPage, 10u);
         EXPECT_EQ(info.nPos, 41);
       }},
      {"TProgressBar",
       {{"Max", u"200"}, {"Position", u"40"}, {"Orientation", u"pbVertical"}, {"Smooth", u"True"}, {"Step", u"5"}},
       [](TWinControl* c) {
         EXPECT_EQ(Send(c, PBM_GETPOS), 40);
         EXPECT_EQ(Send(c, PBM_GETRANGE, FALSE), 200);
         EXPECT_EQ(StyleOf(c->Handle()) & (PBS_VERTICAL | PBS_SMOOTH),
                   static_cast<DWORD>(PBS_VERTICAL | PBS_SMOOTH));
       }},
      {"TTrackBar",
       {{"Max", u"20"}, {"Position", u"7"}, {"Orientation", u"trVertical"}, {"Frequency", u"5"},
        {"TickMarks", u"tmBoth"}, {"Transparent", u"True"}},
       [](TWinControl* c) {
         EXPECT_EQ(Send(c, TBM_GETPOS), 7);
         EXPECT_EQ(Send(c, TBM_GETRANGEMAX), 20);
         EXPECT_EQ(StyleOf(c->Handle()) & (TBS_VERT | TBS_BOTH), static_cast<DWORD>(TBS_VERT | TBS_BOTH));
         EXPECT_EQ(Send(c, TBM_GETNUMTICS), 5);  // 0, 5 ... 20
       }},
      {"TUpDown",
       {{"Min", u"1"}, {"Max", u"5"}, {"Position", u"3"}, {"Wrap", u"True"}, {"Increment", u"2"}},
       [](TWinControl* c) {
         EXPECT_EQ(Send(c, UDM_GETPOS32), 3);
         EXPECT_TRUE(StyleOf(c->Handle()) & UDS_WRAP);
         UDACCEL accel{};
         Send(c, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
         EXPECT_EQ(accel.nInc, 2u);
       }},
      {"TTabControl",
       {{"Tabs", u"General\r\nAvanzado\r\n"}, {"TabIndex", u"1"}},
       [](TWinControl* c) {
         EXPECT_EQ(Send(c, TCM_GETITEMCOUNT), 2);
         EXPECT_EQ(Send(c, TCM_GETCURSEL), 1);
       }},
      {"TTabSet",
       {{"Tabs", u"Uno\r\nDos\r\nTres\r\n"}, {"TabIndex", u"2"}},
       [](TWinControl* c) { EXPECT_EQ(Send(c, TCM_GETCURSEL), 2); }},
      {"TStatusBar",
       {{"SimpleText", u"Copiando..."}, {"SimplePanel", u"True"}, {"SizeGrip", u"False"}},
       [](TWinControl* c) {
         EXPECT_TRUE(Send(c, SB_ISSIMPLE));
         EXPECT_FALSE(StyleOf(c->Handle()) & SBARS_SIZEGRIP);
       }},
      {"THeaderControl",
       {{"Sections", u"Archivo=80\r\nFecha\r\n"}},
       [](TWinControl* c) {
         EXPECT_EQ(Send(c, HDM_GETITEMCOUNT), 2);
         HDITEMW item{};
         item.mask = HDI_WIDTH;
         Send(c, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
         EXPECT_EQ(item.cxy, 80);
       }},
      {"TToolBar",
       {{"Flat", u"True"}, {"ShowCaptions", u"False"}},
       [](TWinControl* c) { EXPECT_TRUE(StyleOf(c->Handle()) & TBSTYLE_FLAT); }},
      {"TGroupBox",
       {{"Caption", u"Opciones"}},
       [](TWinControl* c) { EXPECT_EQ(GetWindowTextLengthW(c->Handle()), 8); }},
      {"TBitBtn",
       {{"NumGlyphs", u"2"}, {"Layout", u"blGlyphTop"}, {"Margin", u"3"}, {"Spacing", u"6"}, {"Caption", u"Aceptar"}},
       [](TWinControl* c) { EXPECT_EQ(StyleOf(c->Handle()) & 0x0F, static_cast<DWORD>(BS_OWNERDRAW)); }},
      {"TSpeedButton",
       {{"GroupIndex", u"1"}, {"Down", u"True"}, {"AllowAllUp", u"True"}, {"Flat", u"True"},
        {"Layout", u"blGlyphRight"}},
       [](TWinControl* c) { EXPECT_FALSE(StyleOf(c->Handle()) & WS_TABSTOP); }},
  };
}

// Each case twice: set before the window exists (the window is made from
// the state) and after (the setters update the live window).
class PublishedProperties : public ControlsOnAForm, public ::testing::WithParamInterface<bool> {};

TEST_P(PublishedProperties, RoundTripByNameAndReachTheWindow) {
  const bool windowFirst = GetParam();
  for (const TPropertyCase& c : PropertyCases()) {
    SCOPED_TRACE(c.className);
    TWinControl* control = Make(c.className);
    ASSERT_NE(control, nullptr);
    if (windowFirst) control->Handle();
    for (const TPropertySetting& s : c.settings) rt::SetPropertyText(*control, s.name, s.text);
    control->Handle();
    for (const TPropertySetting& s : c.settings) {
      const std::string expected = s.readBack ? s.readBack : rt::WideToUtf8(s.text);
      EXPECT_EQ(PropertyText(*control, s.name), expected) << s.name;
    }
    c.checkWindow(control);
  }
}

INSTANTIATE_TEST_SUITE_P(BeforeAndAfterTheWindow, PublishedProperties, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "WindowFirst" : "StateFirst"; });

// ---- Behaviour ----

TEST_F(ControlsOnAForm, CheckBoxClicksCycleTheStateAndAnnounceEachChange) {
  auto* box = Make<TCheckBox>("TCheckBox");
  box->SetAllowGrayed(true);
  int clicks = 0;
  box->OnClick = [&](rt::TObject*) { ++clicks; };
  TCheckNotices notices(box);
  const TCheckBoxState cycle[] = {cbChecked, cbGrayed, cbUnchecked, cbChecked};
  const LRESULT system[] = {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED};
  for (int i = 0; i < 4; ++i) {
    Send(box, BM_CLICK);
    EXPECT_EQ(box->State(), cycle[i]) << i;
    EXPECT_EQ(Send(box, BM_GETCHECK), system[i]) << i;
  }
  EXPECT_EQ(clicks, 4);
  EXPECT_EQ(notices.count, 4);

  // Without AllowGrayed a click goes back from checked to unchecked.
  box->SetAllowGrayed(false);
  Send(box, BM_CLICK);
  EXPECT_EQ(box->State(), cbUnchecked);
  // Changes by code are announced too; setting the same state is not a change.
  const int before = notices.count;
  box->SetChecked(true);
  box->SetChecked(true);
  EXPECT_EQ(notices.count, before + 1);
  EXPECT_EQ(clicks, 5);
}

TEST_F(ControlsOnAForm, RadioButtonClickUnchecksOnlyItsSiblings) {
  auto* first = Make<TRadioButton>("TRadioButton");
  auto* second = Make<TRadioButton>("TRadioButton");
  second->SetTop(30);
  auto* panel = Make<TPanel>("TPanel");
  panel->SetTop(80);
  auto* elsewhere = new TRadioButton(form);
  elsewhere->SetParent(panel);
  first->SetChecked(true);
  elsewhere->SetChecked(true);
  TCheckNotices firstNotices(first);
  TCheckNotices secondNotices(second);
  int clicks = 0;
  second->OnClick = [&](rt::TObject*) { ++clicks; };

  Send(second, BM_CLICK);
  EXPECT_TRUE(second->Checked());
  EXPECT_FALSE(first->Checked());
  EXPECT_EQ(Send(first, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(Send(second, BM_GETCHECK), BST_CHECKED);
  EXPECT_TRUE(elsewhere->Checked());
  EXPECT_EQ(firstNotices.count, 1);
  EXPECT_EQ(secondNotices.count, 1);
  EXPECT_EQ(clicks, 1);
  // A click on the checked one changes nothing but still clicks.
  Send(second, BM_CLICK);
  EXPECT_EQ(secondNotices.count, 1);
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsOnAForm, GroupBoxHoldsWorkingControlsInsideItsEtchedFrame) {
  auto* group = Make<TGroupBox>("TGroupBox");
  group->SetBounds(10, 10, 200, 120);
  auto* box = new TCheckBox(form);
  box->SetParent(group);
  box->SetBounds(10, 30, 120, 17);
  EXPECT_EQ(GetParent(box->Handle()), group->Handle());
  // The box's notification goes through the group box to the control.
  Send(box, BM_CLICK);
  EXPECT_TRUE(box->Checked());

  // The frame's top line: shadow above highlight, in the middle of the
  // caption's line when there is no caption.
  const RECT client = group->ClientRect();
  EXPECT_GT(client.top, 2);
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  TWindowDc screen(nullptr);
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 200, 120));
  TSelectObject select(dc.get(), bitmap.get());
  Send(group, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
  int shadowRow = -1;
  for (int y = 0; y < client.top && shadowRow < 0; ++y)
    if (GetPixel(dc.get(), 100, y) == GetSysColor(COLOR_BTNSHADOW)) shadowRow = y;
  ASSERT_GE(shadowRow, 0);
  EXPECT_EQ(GetPixel(dc.get(), 100, shadowRow + 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(GetPixel(dc.get(), 100, client.top + 20), ColorToRGB(group->Color()));
}

TEST_F(ControlsOnAForm, RadioGroupOwnsOneButtonPerItemAndTracksTheClickedOne) {
  auto* group = Make<TRadioGroup>("TRadioGroup");
  group->SetBounds(10, 10, 240, 130);
  int clicks = 0;
  group->OnClick = [&](rt::TObject*) { ++clicks; };
  rt::SetPropertyText(*group, "Items", u"Típica\r\nCompleta\r\nPersonalizada\r\nMínima\r\n");
  rt::SetPropertyText(*group, "Columns", u"2");
  ASSERT_EQ(group->ButtonCount(), 4);
  EXPECT_EQ(group->ComponentCount(), 4);
  const RECT inside = group->ClientRect();
  for (int i = 0; i < 4; ++i) {
    TRadioButton* button = group->Buttons(i);
    EXPECT_EQ(button->Owner(), group);
    EXPECT_EQ(button->Parent(), group);
    RECT overlap;
    const RECT bounds = button->BoundsRect();
    IntersectRect(&overlap, &bounds, &inside);
    EXPECT_TRUE(EqualRect(&overlap, &bounds)) << i;
  }
  // Two columns: the third item starts the second one.
  EXPECT_GT(group->Buttons(2)->Left(), group->Buttons(1)->Left());
  EXPECT_EQ(group->Buttons(2)->Top(), group->Buttons(0)->Top());
  EXPECT_EQ(group->ItemIndex(), -1);

  Send(group->Buttons(2), BM_CLICK);
  EXPECT_EQ(PropertyText(*group, "ItemIndex"), "2");
  EXPECT_EQ(clicks, 1);
  rt::SetPropertyText(*group, "ItemIndex", u"0");
  EXPECT_EQ(Send(group->Buttons(0), BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(Send(group->Buttons(2), BM_GETCHECK), BST_UNCHECKED);

  // Fewer items: the surplus buttons go, the index stays when it still fits.
  group->SetItems({u"Sí", u"No"});
  EXPECT_EQ(group->ComponentCount(), 2);
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(PropertyText(*group, "Items"), "Sí\r\nNo\r\n");
}

TEST_F(ControlsOnAForm, ComboBoxAndMemoReportChangesByTheUser) {
  auto* combo = Make<TComboBox>("TComboBox");
  combo->SetStyle(csDropDownList);
  combo->SetItems({u"rojo", u"verde", u"azul"});
  combo->SetItemIndex(0);
  int comboChanges = 0;
  combo->OnChange = [&](rt::TObject*) { ++comboChanges; };
  // The closed height stays as given; the window below it holds the list.
  EXPECT_LE(combo->Height(), 30);
  Send(combo, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(comboChanges, 1);
  EXPECT_EQ(rt::WideToUtf8(combo->Text()), "verde");

  auto* memo = Make<TMemo>("TMemo");
  memo->SetTop(60);
  int memoChanges = 0;
  memo->OnChange = [&](rt::TObject*) { ++memoChanges; };
  memo->SetLines({u"primera", u"segunda"});
  EXPECT_EQ(memoChanges, 1);
  Send(memo, WM_CHAR, L'x', 1);
  EXPECT_EQ(memoChanges, 2);
  // Making the window again for WordWrap keeps the typed text.
  memo->SetWordWrap(false);
  EXPECT_TRUE(StyleOf(memo->Handle()) & ES_AUTOHSCROLL);
  EXPECT_EQ(memo->Lines(), (std::vector<WideString>{u"xprimera", u"segunda"}));
}

TEST_F(ControlsOnAForm, PageControlShowsOnlyTheActiveSheetAndSwitchesOnTabClicks) {
  auto* pages = Make<TPageControl>("TPageControl");
  pages->SetBounds(10, 10, 300, 200);
  std::vector<TTabSheet*> sheets;
  for (const char16_t* caption : {u"General", u"Carpetas", u"Avanzado"}) {
    auto* sheet = dynamic_cast<TTabSheet*>(rt::CreateComponent("TTabSheet", form));
    sheet->SetParent(pages);
    sheet->SetCaption(caption);
    sheets.push_back(sheet);
  }
  int changes = 0;
  pages->OnChange = [&](rt::TObject*) { ++changes; };
  ASSERT_EQ(Send(pages, TCM_GETITEMCOUNT), 3);
  EXPECT_EQ(pages->ActivePageIndex(), 0);
  EXPECT_EQ(sheets[2]->PageIndex(), 2);
  const RECT display = pages->DisplayRect();
  for (TTabSheet* sheet : sheets) {
    EXPECT_EQ(GetParent(sheet->Handle()), pages->Handle());
    const RECT bounds = sheet->BoundsRect();
    EXPECT_TRUE(EqualRect(&bounds, &display));
  }
  EXPECT_TRUE(IsWindowVisible(sheets[0]->Handle()));
  EXPECT_FALSE(IsWindowVisible(sheets[1]->Handle()));

  RECT tab;
  Send(pages, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
  ClickAt(pages->Handle(), CentreOf(tab));
  EXPECT_EQ(pages->ActivePageIndex(), 2);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(IsWindowVisible(sheets[0]->Handle()));
  EXPECT_TRUE(IsWindowVisible(sheets[2]->Handle()));

  rt::SetPropertyText(*pages, "ActivePageIndex", u"1");
  EXPECT_TRUE(IsWindowVisible(sheets[1]->Handle()));
  EXPECT_FALSE(IsWindowVisible(sheets[2]->Handle()));

  // A renamed sheet renames its tab; a freed one takes its tab along.
  sheets[1]->SetCaption(u"Destino");
  wchar_t text[32] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 32;
  Send(pages, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(text), L"Destino");
  delete sheets[0];
  EXPECT_EQ(Send(pages, TCM_GETITEMCOUNT), 2);
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(sheets[2]->PageIndex(), 1);
}

TEST_F(ControlsOnAForm, SpeedButtonsOfAGroupKeepOneDown) {
  std::vector<TSpeedButton*> buttons;
  for (int i = 0; i < 3; ++i) {
    auto* button = Make<TSpeedButton>("TSpeedButton");
    button->SetBounds(10 + i * 30, 10, 25, 25);
    button->SetGroupIndex(i < 2 ? 1 : 2);
    buttons.push_back(button);
  }
  buttons[2]->SetDown(true);
  int clicks = 0;
  buttons[1]->OnClick = [&](rt::TObject*) { ++clicks; };
  const POINT inside = {5, 5};

  ClickAt(buttons[0]->Handle(), inside);
  ClickAt(buttons[1]->Handle(), inside);
  EXPECT_FALSE(buttons[0]->Down());
  EXPECT_TRUE(buttons[1]->Down());
  EXPECT_TRUE(buttons[2]->Down());  // another group
  EXPECT_EQ(clicks, 1);
  // Without AllowAllUp a second click leaves it down; with it, lets it up.
  ClickAt(buttons[1]->Handle(), inside);
  EXPECT_TRUE(buttons[1]->Down());
  buttons[1]->SetAllowAllUp(true);
  ClickAt(buttons[1]->Handle(), inside);
  EXPECT_FALSE(buttons[1]->Down());
  EXPECT_EQ(clicks, 3);
  // Released outside the button: no click.
  SendMessageW(buttons[1]->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(5, 5));
  EXPECT_TRUE(buttons[1]->Pressed());
  SendMessageW(buttons[1]->Handle(), WM_LBUTTONUP, 0, PointParam(60, 5));
  EXPECT_FALSE(buttons[1]->Pressed());
  EXPECT_EQ(clicks, 3);
}

TEST_F(ControlsOnAForm, ToolBarButtonsRunTheirOwnHandlers) {
  auto* bar = Make<TToolBar>("TToolBar");
  std::vector<std::string> ran;
  bar->AddButton(u"Abrir", [&](rt::TObject*) { ran.push_back("abrir"); });
  bar->Handle();
  // Added once the window exists, too.
  bar->AddButton(u"Guardar", [&](rt::TObject*) { ran.push_back("guardar"); });
  EXPECT_EQ(bar->ButtonCount(), 2);
  EXPECT_EQ(Send(bar, TB_BUTTONCOUNT), 2);
  // Aligned to the top of the form.
  EXPECT_EQ(bar->Top(), 0);
  EXPECT_EQ(bar->Width(), form->ClientWidth());

  RECT second;
  ASSERT_TRUE(Send(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
  ClickAt(bar->Handle(), CentreOf(second));
  RECT first;
  Send(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  ClickAt(bar->Handle(), CentreOf(first));
  EXPECT_EQ(ran, (std::vector<std::string>{"guardar", "abrir"}));
}

TEST_F(ControlsOnAForm, StatusBarPanelsAndHeaderSectionClicks) {
  auto* status = Make<TStatusBar>("TStatusBar");
  status->AddPanel(u"Listo", 120);
  status->Handle();
  status->AddPanel(u"", -1);
  status->SetPanelText(1, u"3 archivos");
  EXPECT_EQ(status->PanelCount(), 2);
  int edges[4] = {};
  ASSERT_EQ(Send(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
  EXPECT_EQ(edges[0], 120);
  EXPECT_EQ(edges[1], -1);
  wchar_t text[32] = {};
  Send(status, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"3 archivos");
  EXPECT_EQ(status->Top() + status->Height(), form->ClientHeight());

  auto* header = Make<THeaderControl>("THeaderControl");
  header->SetSections({u"Nombre=100", u"Tamaño=60"});
  int clicks = 0;
  header->OnSectionClick = [&](rt::TObject*) { ++clicks; };
  RECT section;
  Send(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&section));
  ClickAt(header->Handle(), CentreOf(section));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(header->ClickedSection(), 1);
}

// 8 x 4, two 4 x 4 frames, rows from the top: red on the left, blue on the
// right, above a grey bottom row (the transparent colour). The first frame
// shows 4 x 3 red pixels.
std::vector<uint8_t> TwoFrameGlyph() {
  rt::testbmp::BmpLayout s{.width = 8, .height = -4};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      if (y == 3) {
        s.pixels.insert(s.pixels.end(), {uint8_t{128}, uint8_t{128}, uint8_t{128}});
      } else if (x < 4) {
        s.pixels.insert(s.pixels.end(), {uint8_t{0}, uint8_t{0}, uint8_t{255}});
      } else {
        s.pixels.insert(s.pixels.end(), {uint8_t{255}, uint8_t{0}, uint8_t{0}});
      }
    }
  return rt::testbmp::MakeBmp(s);
}

int CountPixels(HDC dc, int width, int height, COLORREF color) {
  int count = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (GetPixel(dc, x, y) == color) ++count;
  return count;
}

TEST_F(ControlsOnAForm, BitButtonDrawsTheFirstGlyphFrameAndKeepsItsDefaultPart) {
  auto* button = Make<TBitBtn>("TBitBtn");
  button->Glyph().LoadBitmap(TwoFrameGlyph());
  rt::SetPropertyText(*button, "NumGlyphs", u"2");
  rt::SetPropertyText(*button, "Default", u"True");
  EXPECT_TRUE(button->IsActiveDefault());
  // Becoming the default button does not turn it into a system push button.
  EXPECT_EQ(StyleOf(button->Handle()) & 0x0F, static_cast<DWORD>(BS_OWNERDRAW));
  int clicks = 0;
  button->OnClick = [&](rt::TObject*) { ++clicks; };
  Send(button, BM_CLICK);
  EXPECT_EQ(clicks, 1);

  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  TWindowDc screen(nullptr);
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), button->Width(), button->Height()));
  TSelectObject select(dc.get(), bitmap.get());
  Send(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
  EXPECT_EQ(CountPixels(dc.get(), button->Width(), button->Height(), RGB(255, 0, 0)), 12);
  EXPECT_EQ(CountPixels(dc.get(), button->Width(), button->Height(), RGB(0, 0, 255)), 0);
  // The default frame: black all round.
  EXPECT_EQ(GetPixel(dc.get(), 0, button->Height() / 2), RGB(0, 0, 0));
}

}  // namespace
}  // namespace gui
