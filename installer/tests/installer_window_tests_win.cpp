// The shipped installer's window: its look, its keys and buttons, its
// skinned buttons and system menu, and the program file itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "installer/tests/installer_window_fixture_win.h"
#include "runtime/bmp.h"
#include "runtime/gui/handles.h"

namespace installer::testing {
namespace {

TEST_F(InstallerWindow, OpensAsDesignedAndOnlyTheButtonsAct) {
  Start();
  ExpectTheMainWindowAsDesigned();
  SaveScreenshot((kOutput / L"main-window.bmp").wstring());

  // Escape has no button to press; Enter in the edit box neither.
  PressKey(install, VK_ESCAPE);
  ExpectNothingHappens();
  PressKey(install, VK_TAB);
  PressKey(program->FocusedWindow(), VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return program->FocusedWindow() == edit; }, kPatience));
  PressKey(edit, VK_RETURN);
  ExpectNothingHappens();

  CancelAndExpectExit();
  EXPECT_FALSE(fs::exists(DefaultFolder()));
}

// The same window from a copy of the installer whose form carries our
// dark skin: borders of other widths, all four corners rounded.
TEST_F(InstallerWindow, InAnotherSkinOpensAsDesignedToo) {
  Start(kDarkInstaller);
  ExpectTheMainWindowAsDesigned();
  SaveScreenshot((kOutput / L"main-window-dark-skin.bmp").wstring());
  CancelAndExpectExit();
}

TEST_F(InstallerWindow, EnterAtOnceInstallsThePayloadMakesBothLinksAndQuits) {
  Start();
  PressKey(install, VK_RETURN);
  HWND box = nullptr;
  const auto [caption, text] = AwaitMessageBox(box);
  ASSERT_NE(box, nullptr);
  SaveScreenshot((kOutput / L"completion-message.bmp").wstring());
  EXPECT_EQ(caption, kTitle);
  EXPECT_EQ(text, CompletionText(DefaultFolder().wstring()));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(program->WaitForExit(kPatience));
  EXPECT_EQ(program->ExitCode(), 0u);
  ExpectPayloadInstalledIn(DefaultFolder());
  ExpectLinksTo(DefaultFolder());
}

TEST_F(InstallerWindow, TheSignedCopyOverwritesOlderFilesOfAnExistingFolder) {
  const fs::path folder = kOutput / L"existing";
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder / L"datos");
  const fs::path someFile = fs::relative(*fs::directory_iterator(kPayload / L"datos"), kPayload);
  WriteAll(folder / someFile, {'o', 'l', 'd'});
  fs::last_write_time(folder / someFile, fs::last_write_time(kPayload / someFile) - 24h * 365);
  WriteAll(folder / L"notas.txt", {'m', 'i', 'a', 's'});

  Start(kSignedInstaller);
  SetFolder(folder);
  Click(install);
  EXPECT_EQ(AwaitAndCloseMessageBox().second, CompletionText(folder.wstring()));
  ASSERT_TRUE(program->WaitForExit(kPatience));
  ExpectPayloadInstalledIn(folder);
  EXPECT_TRUE(fs::exists(folder / L"notas.txt"));
  ExpectLinksTo(folder);
}

TEST_F(InstallerWindow, ADesktopLinkThatCannotBeSavedIsNotClaimed) {
  // A folder of the link's name: the shell cannot save the link there.
  fs::create_directories(DesktopLink());
  Start();
  PressKey(install, VK_RETURN);
  EXPECT_EQ(AwaitAndCloseMessageBox().second, CompletionText(DefaultFolder().wstring(), false));
  ASSERT_TRUE(program->WaitForExit(kPatience));
  EXPECT_TRUE(fs::is_directory(DesktopLink()));
  EXPECT_EQ(ReadLink(ProgramsLink()).target, (DefaultFolder() / L"QuimoraWindows18_19.exe").wstring());
}

TEST_F(InstallerWindow, AFolderTwoLevelsBelowAnyExistingOneIsRefused) {
  const fs::path folder = kOutput / L"missing" / L"deeper";
  std::error_code ignored;
  fs::remove_all(kOutput / L"missing", ignored);
  Start();
  SetFolder(folder);
  Click(install);
  const auto [caption, text] = AwaitAndCloseMessageBox();
  EXPECT_EQ(caption, kTitle);
  EXPECT_EQ(text, L"Imposible crear la carpeta.");
  ExpectNothingHappens();
  EXPECT_FALSE(fs::exists(kOutput / L"missing"));
  EXPECT_FALSE(fs::exists(DesktopLink()));
  CancelAndExpectExit(kExitFolderNotCreated);
}

TEST_F(InstallerWindow, BrowsingAndCancellingLeavesTheFolderAsItWas) {
  Start();
  const std::wstring before = TextOf(edit);
  Click(browse);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND d : program->TopWindows(L"#32770")) {
          for (const auto& text : StaticTexts(d))
            if (text == L"Seleccionar Carpeta ...") dialog = d;
        }
        return dialog != nullptr;
      },
      kPatience));
  EXPECT_TRUE(BecomesSkinned(dialog));
  Sleep(300);
  SaveScreenshot((kOutput / L"folder-dialog.bmp").wstring());
  EXPECT_FALSE(IsWindowEnabled(window));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kPatience));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(window) != FALSE; }, kPatience));
  EXPECT_EQ(TextOf(edit), before);
  CancelAndExpectExit();
}

// The text that says how many of the payload's entries were not installed.
std::wstring IncompleteText(size_t missing, size_t entries) {
  return L"La instalación no se ha completado: " + std::to_wstring(missing) + L" de " + std::to_wstring(entries) +
         L" elementos no se han podido instalar.";
}

size_t FileEntriesBefore(const TPayloadLayout& layout, size_t directoryIndex) {
  return std::count_if(layout.entries.begin(), layout.entries.end(), [&](const TPayloadEntry& e) {
    return e.directoryIndex < directoryIndex && !e.name.empty() && e.name.back() != '/';
  });
}

TEST_F(InstallerWindow, AnIgnoredDamagedEntryLeavesTheInstallationIncompleteAndTheWindowOpen) {
  const auto [damaged, entry] = DamagedInstaller();
  ASSERT_FALSE(damaged.empty());
  const TPayloadLayout layout = ReadPayloadLayout(ReadAll(damaged));
  ASSERT_TRUE(fs::is_regular_file(kPayload / entry.name)) << "the damaged entry is a file of the payload";
  const fs::path folder = kOutput / L"damaged";
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  Start(damaged.wstring());
  SetFolder(folder);
  Click(install);
  const HWND failure = program->WaitForWindow(L"TMessageForm", kPatience);
  ASSERT_NE(failure, nullptr);
  EXPECT_TRUE(BecomesSkinned(failure));
  HWND ignore = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (ignore = FindDescendant(failure, L"TButton", L"&Ignorer")) != nullptr; },
                        kPatience));
  Sleep(300);  // for the picture only: the box paints once it is idle
  SaveScreenshot((kOutput / L"entry-failure.bmp").wstring());
  EXPECT_NE(FindDescendant(failure, L"TButton", L"&Abandonner"), nullptr);
  EXPECT_NE(FindDescendant(failure, L"TButton", L"&Réessayer"), nullptr);
  Click(ignore);
  const auto [caption, text] = AwaitAndCloseMessageBox();
  EXPECT_EQ(caption, kTitle);
  EXPECT_EQ(text, IncompleteText(1, layout.entries.size()));
  ExpectNothingHappens();
  EXPECT_FALSE(fs::exists(DesktopLink()));
  EXPECT_FALSE(fs::exists(ProgramsLink()));
  // The damaged file is gone; every other file went in.
  EXPECT_FALSE(fs::exists(folder / entry.name));
  EXPECT_EQ(PayloadFilesFoundIn(folder), static_cast<int>(FileEntriesBefore(layout, layout.entries.size())) - 1);
  CancelAndExpectExit(kExitIncomplete);
}

// "Réessayer" runs the damaged entry again, which fails the same way;
// "Abandonner" stops the run there: what came before the entry stays,
// neither the entry nor anything after it is written.
TEST_F(InstallerWindow, ADamagedEntryRetriedFailsAgainAndAbandonedStopsTheInstallation) {
  const auto [damaged, entry] = DamagedInstaller();
  ASSERT_FALSE(damaged.empty());
  const TPayloadLayout layout = ReadPayloadLayout(ReadAll(damaged));
  const fs::path folder = kOutput / L"damaged-abandoned";
  RemoveTree(folder);
  Start(damaged.wstring());
  SetFolder(folder);
  Click(install);
  const HWND first = AwaitFailureBox();
  ASSERT_NE(first, nullptr);
  const std::wstring question = CopiedText(first);
  EXPECT_NE(question.find(L"File processing error"), std::wstring::npos) << question;
  EXPECT_FALSE(fs::exists(folder / entry.name)) << "the failed entry's file is deleted before the box asks";
  Click(FindDescendant(first, L"TButton", L"&Réessayer"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(first); }, kPatience));

  // Only the damaged entry can fail: a second box is the entry retried.
  const HWND second = AwaitFailureBox();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(CopiedText(second), question);
  Click(FindDescendant(second, L"TButton", L"&Abandonner"));
  const auto [caption, text] = AwaitAndCloseMessageBox();
  EXPECT_EQ(caption, kTitle);
  EXPECT_EQ(text, IncompleteText(layout.entries.size() - entry.directoryIndex, layout.entries.size()));
  ExpectNothingHappens();
  EXPECT_FALSE(fs::exists(folder / entry.name));
  EXPECT_EQ(PayloadFilesFoundIn(folder), static_cast<int>(FileEntriesBefore(layout, entry.directoryIndex)));
  EXPECT_FALSE(fs::exists(DesktopLink()));
  EXPECT_FALSE(fs::exists(ProgramsLink()));
  CancelAndExpectExit(kExitIncomplete);
  RemoveTree(folder);
}

// The push buttons are painted from the skin's Buttons image, five frames
// side by side: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 the
// default button. A pixel of the unscaled top-left corner tells them apart.
class SkinnedButtons : public InstallerWindow {
 protected:
  void SetUp() override {
    InstallerWindow::SetUp();
    const skin::TDataSkinButton& buttons = SkinUnderTest().Buttons;
    image = buttons.Image;
    ASSERT_FALSE(image.Empty());
    frameWidth = image.Width() / 5;
    for (int y = 0; y < buttons.Margins.Top && probe.x < 0; ++y)
      for (int x = 0; x < buttons.Margins.Left && probe.x < 0; ++x) {
        bool distinct = true;
        for (int a = 1; a <= 5; ++a)
          for (int b = a + 1; b <= 5; ++b) distinct = distinct && FramePixel(a, x, y) != FramePixel(b, x, y);
        if (distinct) probe = {x, y};
      }
    ASSERT_GE(probe.x, 0) << "no pixel tells the five frames apart";
  }
  COLORREF FramePixel(int frame, int x, int y) const { return ColourAt(image, (frame - 1) * frameWidth + x, y); }
  // The frame the button shows, 0 for none of them.
  static int ShownFrameOf(const SkinnedButtons& self, HWND button) {
    POINT at = self.probe;
    ClientToScreen(button, &at);
    const COLORREF shown = ScreenPixel(at);
    for (int frame = 1; frame <= 5; ++frame)
      if (shown == self.FramePixel(frame, self.probe.x, self.probe.y)) return frame;
    return 0;
  }
  // Waits for the button to show the frame; the frame it shows.
  int Shows(HWND button, int frame) const {
    WaitUntil([&] { return ShownFrameOf(*this, button) == frame; }, 3s);
    return ShownFrameOf(*this, button);
  }
  static POINT CentreOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // Arrives as a hand does, in more than one move: under Xvfb a single
  // warp of the pointer now and then reaches the window as no move at all.
  void MoveTo(POINT screen) const {
    SetCursorPos(screen.x - 2, screen.y);
    Sleep(30);
    SetCursorPos(screen.x, screen.y);
    Sleep(100);
  }
  // Over the window's picture, away from every control.
  POINT Elsewhere() const {
    RECT r;
    GetWindowRect(window, &r);
    return {r.left + 60, r.top + 380};
  }
  static void Press(HWND button) { PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }
  static void Release(HWND button) { PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }
  HWND AwaitFolderDialog() const {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
          for (HWND d : program->TopWindows(L"#32770"))
            for (const auto& text : StaticTexts(d))
              if (text == L"Seleccionar Carpeta ...") dialog = d;
          return dialog != nullptr;
        },
        kPatience);
    return dialog;
  }

  skin::TSkinBitmap image;
  int frameWidth = 0;
  POINT probe{-1, -1};
};

TEST_F(SkinnedButtons, ShowTheirStatesAndClickOnlyWhenReleasedOverThemselves) {
  MoveTo(POINT{0, 0});
  Start();
  // Focused at the start, "Instalar" is the default button.
  EXPECT_EQ(Shows(install, 5), 5);
  EXPECT_EQ(Shows(cancel, 1), 1);
  EXPECT_EQ(Shows(browse, 1), 1);

  MoveTo(CentreOf(install));
  EXPECT_EQ(Shows(install, 4), 4);
  MoveTo(CentreOf(cancel));
  EXPECT_EQ(Shows(cancel, 4), 4);
  EXPECT_EQ(Shows(install, 5), 5) << "only the button under the mouse is hot";
  MoveTo(Elsewhere());
  EXPECT_EQ(Shows(cancel, 1), 1);

  // Pressed, then released away from it: no click.
  MoveTo(CentreOf(browse));
  Press(browse);
  EXPECT_EQ(Shows(browse, 2), 2);
  ASSERT_TRUE(WaitUntil([&] { return program->FocusedWindow() == browse; }, kPatience));
  MoveTo(Elsewhere());
  Release(browse);
  EXPECT_EQ(Shows(browse, 5), 5) << "the focused push button is the default one";
  ExpectNothingHappens();

  // Space presses and releases, and the release clicks.
  PostMessageW(browse, WM_KEYDOWN, VK_SPACE, 0x00390001);
  EXPECT_EQ(Shows(browse, 2), 2);
  PostMessageW(browse, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001));
  HWND dialog = AwaitFolderDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(BecomesSkinned(dialog));
  // The dialog's own buttons are painted as bare buttons and click on a
  // release over them.
  HWND dialogCancel = FindDescendant(dialog, L"Button", L"Cancel");
  ASSERT_NE(dialogCancel, nullptr);
  EXPECT_EQ(Shows(dialogCancel, 1), 1);
  MoveTo(CentreOf(dialogCancel));
  EXPECT_EQ(Shows(dialogCancel, 4), 4);
  Press(dialogCancel);
  EXPECT_EQ(Shows(dialogCancel, 2), 2);
  Release(dialogCancel);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kPatience));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(window) != FALSE; }, kPatience));

  EnableWindow(cancel, FALSE);
  EXPECT_EQ(Shows(cancel, 3), 3);
  MoveTo(CentreOf(cancel));
  EXPECT_EQ(Shows(cancel, 3), 3) << "a disabled button is never hot";
  // Enabled again away from the mouse (under it, Wine delivers a late
  // move that may come after the mouse has gone on).
  MoveTo(Elsewhere());
  EnableWindow(cancel, TRUE);
  EXPECT_EQ(Shows(cancel, 1), 1);

  // Pressed and released over it: one click, one installation.
  MoveTo(CentreOf(install));
  Press(install);
  Release(install);
  HWND box = nullptr;
  const auto shown = AwaitMessageBox(box);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(shown.second, CompletionText(DefaultFolder().wstring()));
  // The box's button answers the keyboard as the system's does.
  HWND ok = FindFirstOf(box, L"Button");
  ASSERT_NE(ok, nullptr);
  EXPECT_NE(Shows(ok, 5), 0) << "the box's button is painted from the skin";
  PressKey(ok, VK_SPACE);
  ASSERT_TRUE(program->WaitForExit(kPatience));
  EXPECT_EQ(program->ExitCode(), 0u);
  EXPECT_TRUE(program->TopWindows(L"#32770").empty());
}

// Owns a program file loaded to read its resources.
struct LoadedModuleTraits : gui::NullEmptyTraits<HMODULE> {
  static void Close(HMODULE module) { FreeLibrary(module); }
};
using UniqueLoadedModule = gui::UniqueHandle<LoadedModuleTraits>;

UniqueLoadedModule LoadForResources(const std::wstring& path) {
  return UniqueLoadedModule(
      LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

// A bitmap resource of a program file, decoded; empty when it has none.
rt::TBmpImage BitmapResource(const std::wstring& path, const wchar_t* name) {
  const UniqueLoadedModule module = LoadForResources(path);
  const HRSRC found = module ? FindResourceW(module.get(), name, MAKEINTRESOURCEW(2)) : nullptr;  // RT_BITMAP
  if (!found) return {};
  const auto* dib = static_cast<const uint8_t*>(LockResource(LoadResource(module.get(), found)));
  return rt::DecodeDib({dib, SizeofResource(module.get(), found)});
}

// The source pixel that a nine-sliced, tiled image puts at position at of
// a picture length long: the margins are copied, the middle repeated.
int SliceSource(int at, int length, int source, int lead, int trail) {
  if (at < lead) return at;
  if (at >= length - trail) return source - (length - at);
  return lead + (at - lead) % (source - lead - trail);
}

bool IsInk(COLORREF c) { return std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) < 0x60; }

// What a menu text shows in the system's menu font, drawn black on white:
// the pixels it covers, and its width.
struct TMenuTextInk {
  int pixels = 0;
  int width = 0;
};
TMenuTextInk MenuTextInk(const std::wstring& text) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const gui::UniqueFont font(CreateFontIndirectW(&metrics.lfMenuFont));
  const gui::TWindowDc screen(nullptr);
  const gui::UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
  constexpr int kWidth = 300, kHeight = 40;
  const gui::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), kWidth, kHeight));
  const gui::TSelectObject selectBitmap(dc.get(), bitmap.get());
  const gui::TSelectObject selectFont(dc.get(), font.get());
  RECT all{0, 0, kWidth, kHeight};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(0, 0, 0));
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &all, DT_SINGLELINE);
  TMenuTextInk ink;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) ink.pixels += IsInk(GetPixel(dc.get(), x, y));
  SIZE extent{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  ink.width = extent.cx;
  return ink;
}

// The skinned system menu: a popup-menu window of the installer's thread,
// its border a ring cut from the MenuBackground image, its entries drawn
// over the popup's background from the MenuItem image (five frames side
// by side: 1 normal, 4 selected) with the program's menu glyphs.
// The popup belongs to another process, which keeps its menu to itself:
// the entries are found where the system lays them out, in rows from the
// ring down, each as high as the MenuItem image, the separator taking
// what is left.
class SkinnedSystemMenu : public InstallerWindow {
 protected:
  // The installer's window has both boxes: every entry is there.
  enum TEntry { eRestore, eMaximize, eMinimize, eSeparator, eClose, kEntries };
  static constexpr int kRing = 3;
  static constexpr int kItemFrames = 5, kNormalFrame = 1, kSelectedFrame = 4;
  static constexpr int kGlyphSize = 16;
  static constexpr COLORREF kTransparent = RGB(255, 0, 255);

  void SetUp() override {
    InstallerWindow::SetUp();
    const skin::TSkinModel& model = SkinUnderTest();
    ASSERT_TRUE(model.MenuBackground && model.MenuItem);
    background = model.MenuBackground->Image;
    backgroundMargins = model.MenuBackground->Margins;
    items = model.MenuItem->Image;
    itemMargins = model.MenuItem->Margins;
    ASSERT_FALSE(background.Empty() || items.Empty());
    // Left of the caption, right of the glyph box: only the face is there.
    faceColumn = 1 + itemMargins.Left + kGlyphSize + 1;
    for (const skin::TDataSkinSysButton& button : model.CaptionButtons)
      if (button.Action == 3) systemButton = {button.Xcoord, button.Ycoord};
  }
  void TearDown() override {
    CloseMenus();
    InstallerWindow::TearDown();
  }

  // The visible popup menus of the installer's thread.
  std::vector<HWND> OpenMenus() const {
    std::vector<HWND> menus;
    if (!program || !window) return menus;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    for (HWND w : program->TopWindows(L"#32768"))
      if (GetWindowThreadProcessId(w, nullptr) == thread) menus.push_back(w);
    return menus;
  }
  HWND AwaitMenu() const {
    HWND menu = nullptr;
    WaitUntil(
        [&] {
          const auto menus = OpenMenus();
          menu = menus.empty() ? nullptr : menus.front();
          return menu != nullptr;
        },
        kPatience);
    return menu;
  }
  // Two openings within the double-click time are a double click on the
  // window's icon, which opens nothing: each opening waits that long.
  static void AwaitDoubleClickTime() { Sleep(GetDoubleClickTime() + 100); }
  HWND OpenFromCaption() const {
    AwaitDoubleClickTime();
    RECT frame;
    GetWindowRect(window, &frame);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    const LPARAM at = MAKELPARAM((frame.left + frame.right) / 2, (frame.top + client.y) / 2);
    PostMessageW(window, WM_NCRBUTTONDOWN, HTCAPTION, at);
    PostMessageW(window, WM_NCRBUTTONUP, HTCAPTION, at);
    return AwaitMenu();
  }
  // The skin's system button stands where the skin places it in the
  // window; the window's icon is its picture.
  HWND OpenFromIcon() const {
    AwaitDoubleClickTime();
    RECT frame;
    GetWindowRect(window, &frame);
    const POINT icon{frame.left + systemButton.x + kGlyphSize / 2, frame.top + systemButton.y + kGlyphSize / 2};
    // Under the mouse, or the frame's timer takes the button's hot state away.
    SetCursorPos(icon.x, icon.y);
    PostMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(icon.x, icon.y));
    PostMessageW(window, WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(icon.x, icon.y));
    return AwaitMenu();
  }
  // The menu loop reads the keys from the thread's queue.
  static void PressMenuKey(HWND menu, WPARAM key) {
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageW(menu, WM_KEYDOWN, key, 1 | static_cast<LPARAM>(scan) << 16);
    PostMessageW(menu, WM_KEYUP, key, 1 | static_cast<LPARAM>(scan) << 16 | 0xC0000000);
  }
  void CloseMenus() const {
    for (HWND menu : OpenMenus()) PressMenuKey(menu, VK_ESCAPE);
    WaitUntil([&] { return OpenMenus().empty(); }, kPatience);
  }

  // The entry's rectangle on the screen.
  RECT EntryRect(HWND menu, int entry) const {
    RECT popup;
    GetWindowRect(menu, &popup);
    const int separator = popup.bottom - popup.top - 2 * kRing - (kEntries - 1) * items.Height();
    int top = popup.top + kRing;
    for (int e = 0; e < entry; ++e) top += e == eSeparator ? separator : items.Height();
    return {popup.left + kRing, top, popup.right - kRing, top + (entry == eSeparator ? separator : items.Height())};
  }
  // What the popup shows at a point of its window: the MenuBackground
  // image, nine-sliced and tiled at the popup's size.
  COLORREF BackgroundPixel(HWND menu, POINT screen) const {
    RECT popup;
    GetWindowRect(menu, &popup);
    const int x = SliceSource(screen.x - popup.left, popup.right - popup.left, background.Width(),
                              backgroundMargins.Left, backgroundMargins.Right);
    const int y = SliceSource(screen.y - popup.top, popup.bottom - popup.top, background.Height(),
                              backgroundMargins.Top, backgroundMargins.Bottom);
    return ColourAt(background, x, y);
  }
  // What an entry's face shows at (x, y) of the entry: the frame, or the
  // popup's background where the frame is transparent.
  COLORREF FacePixel(HWND menu, int entry, int frame, int x, int y) const {
    const RECT r = EntryRect(menu, entry);
    const int frameWidth = items.Width() / kItemFrames;
    const COLORREF face =
        ColourAt(items,
                 (frame - 1) * frameWidth + SliceSource(x, r.right - r.left, frameWidth, itemMargins.Left, itemMargins.Right),
                 SliceSource(y, r.bottom - r.top, items.Height(), itemMargins.Top, itemMargins.Bottom));
    return face == kTransparent ? BackgroundPixel(menu, {r.left + x, r.top + y}) : face;
  }
  // The face's column between glyph box and caption is the frame's, top
  // to bottom.
  bool ShowsFrame(HWND menu, int entry, int frame) const {
    const RECT r = EntryRect(menu, entry);
    for (int y = 0; y < r.bottom - r.top; ++y)
      if (ScreenPixel({r.left + faceColumn, r.top + y}) != FacePixel(menu, entry, frame, faceColumn, y))
        return false;
    return true;
  }
  bool Shows(HWND menu, int entry, int frame) const {
    return WaitUntil([&] { return ShowsFrame(menu, entry, frame); }, 3s);
  }
  // Moves the selection with the key until the entry is the selected one.
  bool Select(HWND menu, int entry, WPARAM key) const {
    for (int presses = 0; presses < kEntries; ++presses) {
      PressMenuKey(menu, key);
      if (WaitUntil([&] { return ShowsFrame(menu, entry, kSelectedFrame); }, 500ms)) return true;
    }
    return false;
  }
  // Ink pixels of the entry's text rows between x0 and x1 of the entry.
  static int InkBetween(const RECT& entry, int x0, int x1) {
    int ink = 0;
    for (int y = entry.top + 2; y < entry.bottom - 2; ++y)
      for (int x = entry.left + x0; x < entry.left + x1; ++x) ink += IsInk(ScreenPixel({x, y}));
    return ink;
  }
  // Pixels of the entry's glyph box that differ from the glyph: black
  // where the glyph is, never black elsewhere.
  int GlyphMismatches(HWND menu, int entry, const rt::TBmpImage& glyphs, int index) const {
    const RECT r = EntryRect(menu, entry);
    int wrong = 0;
    for (int y = 0; y < kGlyphSize; ++y)
      for (int x = 0; x < kGlyphSize; ++x) {
        const bool drawn = ScreenPixel({r.left + 1 + itemMargins.Left + x, r.top + 1 + y}) == RGB(0, 0, 0);
        wrong += drawn != (glyphs.Rgb(index * kGlyphSize + x, y) == 0);
      }
    return wrong;
  }
  void RestoreWindow() const {
    PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(window); }, kPatience));
    ASSERT_TRUE(BecomesSkinned(window));
  }

  skin::TSkinBitmap background, items;
  skin::TSkinMargins backgroundMargins, itemMargins;
  int faceColumn = 0;
  POINT systemButton{0, 0};
};

TEST_F(SkinnedSystemMenu, OpensFromTheCaptionDrawnFromTheSkin) {
  Start();
  ASSERT_TRUE(BecomesSkinned(window));
  const HWND menu = OpenFromCaption();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(SendMessageW(menu, 0x3504 /* the skin engine's query */, 0, 0), 1);

  // The ring: the image's corners at the popup's corners.
  RECT popup;
  GetWindowRect(menu, &popup);
  const int width = popup.right - popup.left, height = popup.bottom - popup.top;
  ASSERT_TRUE(WaitUntil([&] { return ScreenPixel({popup.left + 1, popup.top + 1}) == ColourAt(background, 1, 1); },
                        3s));
  for (int y = 0; y < kRing; ++y)
    for (int x = 0; x < kRing; ++x) {
      SCOPED_TRACE(::testing::Message() << "ring pixel " << x << "," << y);
      EXPECT_EQ(ScreenPixel({popup.left + x, popup.top + y}), ColourAt(background, x, y));
      EXPECT_EQ(ScreenPixel({popup.right - 1 - x, popup.bottom - 1 - y}),
                ColourAt(background, background.Width() - 1 - x, background.Height() - 1 - y));
    }
  for (const POINT edge : {POINT{popup.left + 1, popup.top + height / 2}, POINT{popup.right - 2, popup.top + height / 2}})
    EXPECT_EQ(ScreenPixel(edge), BackgroundPixel(menu, edge));

  // Nothing selected: every entry shows the normal frame.
  for (int entry : {eRestore, eMaximize, eMinimize, eClose}) {
    SCOPED_TRACE(entry);
    EXPECT_TRUE(Shows(menu, entry, kNormalFrame));
  }
  // Close: its glyph, its caption and its shortcut at the right.
  const rt::TBmpImage glyphs = BitmapResource(kInstaller, L"SKINMENUGLYPHS");
  ASSERT_EQ(glyphs.Width, 4 * kGlyphSize);
  EXPECT_EQ(GlyphMismatches(menu, eClose, glyphs, 3), 0);
  const RECT close = EntryRect(menu, eClose);
  const int closeWidth = close.right - close.left;
  const TMenuTextInk caption = MenuTextInk(L" Close "), keys = MenuTextInk(L"Shift+F4");
  ASSERT_GT(caption.pixels, 0);
  EXPECT_EQ(InkBetween(close, faceColumn, closeWidth), caption.pixels + keys.pixels) << "the two texts alone";
  EXPECT_EQ(InkBetween(close, faceColumn, faceColumn + 2 + caption.width), caption.pixels) << "the caption";
  EXPECT_EQ(InkBetween(close, closeWidth - 10 - keys.width, closeWidth - 10), keys.pixels) << "the shortcut";
  EXPECT_EQ(InkBetween(close, closeWidth - 9, closeWidth), 0) << "the shortcut ends 10 pixels from the right";
  // Restore is disabled in a normal window: a grey caption, no black ink.
  EXPECT_EQ(InkBetween(EntryRect(menu, eRestore), faceColumn, width / 2), 0);
  EXPECT_EQ(InkBetween(EntryRect(menu, eMaximize), faceColumn, width / 2), MenuTextInk(L" Maximize ").pixels);

  // The keyboard moves the selection, disabled entries included.
  ASSERT_TRUE(Select(menu, eRestore, VK_DOWN));
  ASSERT_TRUE(Select(menu, eMaximize, VK_DOWN));
  EXPECT_TRUE(Shows(menu, eRestore, kNormalFrame));
  const RECT maximize = EntryRect(menu, eMaximize);
  const POINT middle{(maximize.right - maximize.left) - itemMargins.Right - 1, (maximize.bottom - maximize.top) / 2};
  EXPECT_EQ(ScreenPixel({maximize.left + middle.x, maximize.top + middle.y}),
            FacePixel(menu, eMaximize, kSelectedFrame, middle.x, middle.y));
  SaveScreenshot((kOutput / L"system-menu.bmp").wstring());

  // Escape closes the menu and nothing else happens.
  PressMenuKey(menu, VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return OpenMenus().empty(); }, kPatience));
  ExpectNothingHappens();
  EXPECT_FALSE(IsIconic(window));
  EXPECT_TRUE(program->TopWindows(L"#32768").empty());
  CancelAndExpectExit();
}

TEST_F(SkinnedSystemMenu, MinimizeMinimizesAndCloseEndsTheInstaller) {
  Start();
  ASSERT_TRUE(BecomesSkinned(window));
  HWND menu = OpenFromCaption();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(Select(menu, eMinimize, VK_DOWN));
  PressMenuKey(menu, VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }, kPatience));
  EXPECT_TRUE(OpenMenus().empty());
  RestoreWindow();

  // Restored, the window's menu offers Minimize again and not Restore.
  menu = OpenFromCaption();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(Shows(menu, eMinimize, kNormalFrame));
  const RECT minimize = EntryRect(menu, eMinimize);
  EXPECT_EQ(InkBetween(minimize, faceColumn, minimize.right - minimize.left), MenuTextInk(L" Minimize ").pixels);
  EXPECT_EQ(InkBetween(EntryRect(menu, eRestore), faceColumn, faceColumn + 40), 0);
  ASSERT_TRUE(Select(menu, eClose, VK_UP));
  PressMenuKey(menu, VK_RETURN);
  // The window closes as Cancel closes it: without asking.
  ASSERT_TRUE(program->WaitForExit(kPatience));
  EXPECT_EQ(program->ExitCode(), kExitCancelled);
  EXPECT_FALSE(fs::exists(DefaultFolder()));
}

TEST_F(SkinnedSystemMenu, TheIconButtonOpensTheSameMenu) {
  Start();
  ASSERT_TRUE(BecomesSkinned(window));
  const HWND menu = OpenFromIcon();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(SendMessageW(menu, 0x3504, 0, 0), 1);
  RECT popup;
  GetWindowRect(menu, &popup);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel({popup.left + 1, popup.top + 1}) == ColourAt(background, 1, 1); },
                        3s));
  EXPECT_TRUE(Shows(menu, eClose, kNormalFrame));
  ASSERT_TRUE(Select(menu, eMaximize, VK_DOWN));
  PressMenuKey(menu, VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return OpenMenus().empty(); }, kPatience));
  ExpectNothingHappens();
  EXPECT_FALSE(IsZoomed(window));
  CancelAndExpectExit();
}

// What Windows reads from the file before it runs it.
TEST(InstallerExecutable, AsksForNoElevationAndCarriesItsVersionAndIcon) {
  for (const std::wstring& path : {kInstaller, kSignedInstaller}) {
    SCOPED_TRACE(path);
    const UniqueLoadedModule module = LoadForResources(path);
    ASSERT_TRUE(module);
    const HMODULE image = module.get();
    const HRSRC manifest = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                           SizeofResource(image, manifest));
    EXPECT_NE(text.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(FindResourceW(image, L"MAINICON", MAKEINTRESOURCEW(14)), nullptr);  // RT_GROUP_ICON
    EXPECT_NE(FindResourceW(image, L"TFMMAIN", MAKEINTRESOURCEW(10)), nullptr);   // RT_RCDATA

    DWORD ignored = 0;
    std::vector<char> version(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
    wchar_t* description = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\StringFileInfo\\0c0a04b0\\FileDescription",
                               reinterpret_cast<void**>(&description), &length));
    EXPECT_EQ(std::wstring(description), kTitle);
  }
}

}  // namespace
}  // namespace installer::testing
