// Skinned frames of the window kinds a program may show: overlapped
// windows with and without boxes, right-to-left captions, frameless
// popups, dialogs from templates, MDI frames and their children. The
// windows are plain Win32 windows of this thread, skinned as any foreign
// window is; screenshots of each land beside the test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>
#include <string>

#include "runtime/gui/application.h"
#include "skin/engine/tests/engine_test_support_win.h"
#include "skin/windows/form_frame_win.h"
#include "skin/windows/skin_manager_win.h"
#include "skin/windows/skin_private_messages_win.h"
#include "tools/windriver/window_driver_win.h"

namespace skin {
namespace {

using testing::AwaitSkinned;
using testing::Pump;
using testing::PumpUntil;

LRESULT CALLBACK PlainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, msg, wParam, lParam);
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND gMdiClient = nullptr;
LRESULT CALLBACK MdiFrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefFrameProcW(window, gMdiClient, msg, wParam, lParam);
}
LRESULT CALLBACK MdiChildProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcW(window, msg, wParam, lParam);
}

void RegisterClass(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

bool Skinned(HWND window) { return SendMessageW(window, SKINMSG_QUERY, 0, 0) == 1; }

class FrameKindsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The program's application and skin engine are the test
    // environment's (see the manager's tests).
    host = new gui::TForm(nullptr);
    data = new TSkinData(host);
    data->SetSkinFile(u"" QUIMORA_PRODUCT_SKIN);
    data->Loaded();
    data->SetActive(true);
    RegisterClass(L"QuimoraPlain", PlainProc);
    RegisterClass(L"QuimoraMdiFrame", MdiFrameProc);
    RegisterClass(L"QuimoraMdiChild", MdiChildProc);
  }
  static void TearDownTestSuite() {
    delete host;
  }
  void TearDown() override {
    for (HWND window : windows)
      if (IsWindow(window)) DestroyWindow(window);
    Pump(30);
  }

  HWND Open(const wchar_t* caption, DWORD style, DWORD exStyle = 0, int width = 360, int height = 220) {
    const HWND window = CreateWindowExW(exStyle, L"QuimoraPlain", caption, style, 120, 90, width, height, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    windows.push_back(window);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    Pump(120);
    return window;
  }
  static TSkinFormFrame& FrameOf(HWND window) {
    TSkinFormFrame* frame = Manager()->FindSkinForm(window);
    EXPECT_NE(frame, nullptr);
    static TSkinFormFrame none(nullptr, nullptr);
    return frame ? *frame : none;
  }
  static void Screenshot(const std::string& name) {
    windriver::SaveScreenshot(std::wstring(QUIMORA_SCREENSHOTS) + L"\\" + std::wstring(name.begin(), name.end()) +
                              L".bmp");
  }
  static bool ShowsAction(TSkinFormFrame& frame, int action) {
    for (const auto& button : frame.SysButtons())
      if (button->Visible && button->Button().Data.Action == action) return true;
    return false;
  }
  // Posts a click of the left button at a point of the window.
  static void ClickAt(HWND window, POINT at) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const LPARAM screen = MAKELPARAM(bounds.left + at.x, bounds.top + at.y);
    PostMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, screen);
    PostMessageW(window, WM_NCLBUTTONUP, HTCAPTION, screen);
  }
  static POINT CentreOfAction(TSkinFormFrame& frame, int action) {
    for (const auto& button : frame.SysButtons())
      if (button->Visible && button->Button().Data.Action == action)
        return {(button->Bounds.left + button->Bounds.right) / 2, (button->Bounds.top + button->Bounds.bottom) / 2};
    ADD_FAILURE() << "no visible button of action " << action;
    return {};
  }

  static gui::TForm* host;
  static TSkinData* data;
  std::vector<HWND> windows;
};
gui::TForm* FrameKindsTest::host = nullptr;
TSkinData* FrameKindsTest::data = nullptr;

TEST_F(FrameKindsTest, CaptionButtonsFollowTheBoxesAndAct) {
  const HWND window = Open(L"Ventana normal", WS_OVERLAPPEDWINDOW);
  ASSERT_TRUE(Skinned(window));
  TSkinFormFrame& frame = FrameOf(window);
  EXPECT_EQ(fkSizeable, frame.FrameKind());
  EXPECT_TRUE(ShowsAction(frame, 0));
  EXPECT_TRUE(ShowsAction(frame, 1));
  Screenshot("frame-overlapped");

  // Close button frame 1 is what the caption shows.
  const TSkinModel& model = data->Model();
  for (const auto& button : frame.SysButtons()) {
    if (!button->Visible || button->Button().Data.Action != 0) continue;
    const TDataSkinSysButton* source = nullptr;
    for (const TDataSkinSysButton& candidate : model.CaptionButtons)
      if (candidate.Action == 0) source = &candidate;
    ASSERT_NE(source, nullptr);
    // A pixel of the image's first frame that is drawn (not magenta).
    const int y = (button->Bounds.bottom - button->Bounds.top) / 2;
    int x = 0;
    const uint8_t* pixel = source->Image.Row(y);
    while (x < button->Bounds.right - button->Bounds.left - 1 && pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255) {
      ++x;
      pixel += 3;
    }
    gui::TWindowFrameDc dc(window);
    EXPECT_EQ(RGB(pixel[2], pixel[1], pixel[0]), GetPixel(dc.get(), button->Bounds.left + x, button->Bounds.top + y));
  }

  // Maximize by the button, restore by a double click on the caption.
  ClickAt(window, CentreOfAction(frame, 1));
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(window) != FALSE; }));
  RECT bounds{};
  GetWindowRect(window, &bounds);
  PostMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(bounds.left + 60, bounds.top + 8));
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(window); }));
  // Alt alone does not put the window into menu mode.
  EXPECT_EQ(1, SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0));
  // Minimize, then close.
  ClickAt(window, CentreOfAction(frame, 2));
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(window) != FALSE; }));
  ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  ASSERT_TRUE(PumpUntil([&] { return !IsIconic(window) && GetActiveWindow() == window && Skinned(window); }));
  ClickAt(window, CentreOfAction(frame, 0));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
}

TEST_F(FrameKindsTest, NoMaximizeBoxNoMaximizeButtonAndLongCaptionsEndInAnEllipsis) {
  const HWND window = Open(L"Una ventana sin caja de maximizar con un título demasiado largo para caber entero",
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 300, 200);
  ASSERT_TRUE(Skinned(window));
  TSkinFormFrame& frame = FrameOf(window);
  EXPECT_FALSE(ShowsAction(frame, 1));
  EXPECT_TRUE(ShowsAction(frame, 2));
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int w = bounds.right - bounds.left;
  EXPECT_LE(frame.CaptionTextRect().right, w - frame.Metrics().FrameRight - data->Model().Title.Margins.Right);
  Screenshot("frame-no-maximize-long-caption");
}

TEST_F(FrameKindsTest, RightToLeftCaptionsAndFramelessPopups) {
  const HWND rtl = Open(L"Derecha", WS_OVERLAPPEDWINDOW, WS_EX_LEFTSCROLLBAR);
  ASSERT_TRUE(Skinned(rtl));
  TSkinFormFrame& rtlFrame = FrameOf(rtl);
  EXPECT_TRUE(rtlFrame.RightToLeftCaption());
  RECT bounds{};
  GetWindowRect(rtl, &bounds);
  EXPECT_GT(rtlFrame.CaptionTextRect().left, (bounds.right - bounds.left) / 2);
  Screenshot("frame-right-to-left");

  const HWND popup = Open(L"Sin marco", WS_POPUP | WS_BORDER, 0, 200, 120);
  ASSERT_TRUE(Skinned(popup));
  TSkinFormFrame& popupFrame = FrameOf(popup);
  EXPECT_EQ(fkNone, popupFrame.FrameKind());
  const TFrameMetrics& popupMetrics = popupFrame.Metrics();
  EXPECT_EQ(0, popupMetrics.FrameLeft + popupMetrics.FrameTop + popupMetrics.FrameRight + popupMetrics.FrameBottom);
  Screenshot("frame-popup");
}

TEST_F(FrameKindsTest, DialogsFromTemplatesStartTheirCaptionFurtherLeft) {
  const HWND normal = Open(L"Normal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
  ASSERT_TRUE(Skinned(normal));
  const int normalLeft = FrameOf(normal).CaptionTextRect().left;

  struct alignas(4) {
    DLGTEMPLATE dialog{};
    WORD menu = 0, windowClass = 0;
    wchar_t title[8] = L"Normal";
  } dialogTemplate;
  dialogTemplate.dialog.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  dialogTemplate.dialog.cx = 200;
  dialogTemplate.dialog.cy = 80;
  const HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialogTemplate.dialog, nullptr,
                                                 PlainDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  windows.push_back(dialog);
  SetForegroundWindow(dialog);
  ASSERT_TRUE(AwaitSkinned(dialog));
  TSkinFormFrame& frame = FrameOf(dialog);
  // The caption is laid out when the skinned frame is first painted.
  ASSERT_TRUE(PumpUntil([&] { return frame.CaptionTextRect().right > frame.CaptionTextRect().left; }));
  EXPECT_EQ(fkDialog, frame.FrameKind());
  EXPECT_TRUE(frame.SystemDialog());
  EXPECT_FALSE(ShowsAction(frame, 3));
  if (data->Model().Title.TextAlignment == 0) {
    EXPECT_EQ(normalLeft - 16, frame.CaptionTextRect().left);
  }
  Screenshot("frame-dialog");
}

TEST_F(FrameKindsTest, MdiFramesAndTheirChildren) {
  const HWND frameWindow = CreateWindowExW(0, L"QuimoraMdiFrame", L"Marco MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                           80, 60, 520, 360, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  windows.push_back(frameWindow);
  CLIENTCREATESTRUCT client{nullptr, 1000};
  gMdiClient = CreateWindowExW(0, L"MDIClient", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 500, 300,
                               frameWindow, nullptr, GetModuleHandleW(nullptr), &client);
  ShowWindow(frameWindow, SW_SHOW);
  SetForegroundWindow(frameWindow);
  ASSERT_TRUE(AwaitSkinned(frameWindow));
  EXPECT_EQ(mdFrame, FrameOf(frameWindow).MdiKind());
  HWND children[2]{};
  for (int i = 0; i < 2; ++i) {
    MDICREATESTRUCTW create{L"QuimoraMdiChild", i ? L"Hijo 2" : L"Hijo 1", GetModuleHandleW(nullptr),
                            20 + 40 * i, 20 + 30 * i, 220, 150, WS_OVERLAPPEDWINDOW, 0};
    children[i] = reinterpret_cast<HWND>(SendMessageW(gMdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    ASSERT_NE(children[i], nullptr);
    SendMessageW(gMdiClient, WM_MDIREFRESHMENU, 0, 0);
    Pump(120);
  }
  for (HWND child : children) {
    EXPECT_TRUE(AwaitSkinned(child));
    EXPECT_EQ(mdChild, FrameOf(child).MdiKind());
  }
  Screenshot("frame-mdi");
  EXPECT_FALSE(Manager()->MDIMaximized());
}

// Notes whether a popup menu is open and closes it: the menu loop runs
// inside the test's own message handling.
bool gMenuSeen = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  const HWND menu = FindWindowW(L"#32768", nullptr);
  if (menu && IsWindowVisible(menu)) gMenuSeen = true;
  EndMenu();
  KillTimer(nullptr, id);
}

TEST_F(FrameKindsTest, TheSystemMenuOpensFromARightClickOnTheCaption) {
  const HWND window = Open(L"Menú del sistema", WS_OVERLAPPEDWINDOW);
  ASSERT_TRUE(Skinned(window));
  RECT bounds{};
  GetWindowRect(window, &bounds);
  gMenuSeen = false;
  SetTimer(nullptr, 0, 300, CloseMenu);
  PostMessageW(window, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(bounds.left + 120, bounds.top + 8));
  EXPECT_TRUE(PumpUntil([] { return gMenuSeen; }));
  EXPECT_TRUE(IsWindow(window));

}

TEST_F(FrameKindsTest, AnInactiveWindowShowsTheSecondFrameOfItsBorders) {
  const HWND first = Open(L"Primera", WS_OVERLAPPEDWINDOW);
  const HWND second = Open(L"Segunda", WS_OVERLAPPEDWINDOW);
  ASSERT_TRUE(Skinned(first) && Skinned(second));
  SetForegroundWindow(second);
  const TDataSkinBorder& left = data->Model().BorderLeft;
  ASSERT_GE(left.FrameCount, 2);
  const int frameWidth = left.Image.Width() / left.FrameCount;
  // The colours of the first column of a frame, away from its corners.
  auto columnColours = [&](int frame) {
    std::vector<COLORREF> colours;
    for (int y = left.Margins.Top; y < left.Image.Height() - left.Margins.Bottom; ++y) {
      const uint8_t* pixel = left.Image.Row(y) + (frame - 1) * frameWidth * 3;
      colours.push_back(RGB(pixel[2], pixel[1], pixel[0]));
    }
    return colours;
  };
  auto shows = [](const std::vector<COLORREF>& colours, COLORREF colour) {
    return std::find(colours.begin(), colours.end(), colour) != colours.end();
  };
  RECT bounds{};
  GetWindowRect(first, &bounds);
  gui::TWindowFrameDc dc(first);
  const auto leftEdge = [&] { return GetPixel(dc.get(), 0, (bounds.bottom - bounds.top) / 2); };
  // The first window repaints its frame once it has lost the activation.
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == second && shows(columnColours(2), leftEdge()); }));
  const COLORREF inactive = leftEdge();
  EXPECT_TRUE(shows(columnColours(2), inactive));
  EXPECT_FALSE(shows(columnColours(1), inactive));
  Screenshot("frame-inactive");
}

}  // namespace
}  // namespace skin
