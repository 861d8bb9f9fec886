// Drives the shipped installer through its window like a user would: it
// is started as a program of its own, with the test's documents, desktop
// and programs folders (the test's Wine prefix). The fixture and the
// checks that the installer's tests share.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/definition/skin_bitmap.h"
#include "skin/definition/skin_model.h"
#include "tools/windriver/window_driver_win.h"

namespace installer::testing {
using namespace windriver;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

extern const std::wstring kInstaller;
extern const std::wstring kDarkInstaller;
extern const std::wstring kSignedInstaller;
extern const std::wstring kStub;
extern const fs::path kPayload;
extern const fs::path kOutput;
// The source folder of the skin the installer carries.
extern const fs::path kSkinFolder;

inline constexpr wchar_t kTitle[] = L"Instala el Quimora";
inline constexpr wchar_t kLinkName[] = L"QuimoraWindows18_19.lnk";
inline constexpr wchar_t kProgramName[] = L"QuimoraWindows18_19.exe";
inline constexpr auto kPatience = 30s;

// The installer's exit codes.
inline constexpr DWORD kExitDone = 0;
inline constexpr DWORD kExitCancelled = 1;
inline constexpr DWORD kExitPayloadDamaged = 2;
inline constexpr DWORD kExitFolderNotCreated = 3;
inline constexpr DWORD kExitIncomplete = 4;
inline constexpr DWORD kExitNoRoom = 5;
inline constexpr DWORD kExitBadCommandLine = 64;

// The product's Apps & features entry, under HKEY_CURRENT_USER.
inline constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quimora18_19";

std::wstring SpecialFolder(int csidl);
fs::path DefaultFolder();
fs::path DesktopLink();
fs::path ProgramsLink();

std::vector<char> ReadAll(const fs::path& path);
void WriteAll(const fs::path& path, const std::vector<char>& bytes);
// The "\\?\" form of a full path, which no length limit applies to.
std::wstring LongForm(const fs::path& path);

std::wstring CompletionText(const std::wstring& folder, bool desktopLink = true);

// What a shell link file says.
struct TLink {
  std::wstring target;
  std::wstring arguments;
  std::wstring workingFolder;
};
TLink ReadLink(const fs::path& path);
void ExpectLinksTo(const fs::path& folder);

// Every folder and file of the payload is in folder with the same bytes,
// the same last-write time (to the two seconds of ZIP times) and the
// archive attribute; nothing of the payload is missing. Folders deeper
// than the plain calls reach are read through their long form.
void ExpectPayloadInstalledIn(const fs::path& folder);
// How many of the payload's files are in folder; each one there must have
// the payload's bytes.
int PayloadFilesFoundIn(const fs::path& folder);

// Where the payload's records lie in the installer file.
struct TPayloadEntry {
  std::string name;
  size_t localHeader = 0;
  size_t data = 0;
  size_t compressedSize = 0;
  uint16_t method = 0;
  size_t directoryIndex = 0;  // its place in the central directory, the order of extraction
};
struct TPayloadLayout {
  std::vector<TPayloadEntry> entries;  // in the order of their local headers
  size_t directory = 0;
  size_t directorySize = 0;
};
TPayloadLayout ReadPayloadLayout(const std::vector<char>& installer);

// A copy of the installer in which the data of one deflated entry is
// damaged; returns the copy's path and the entry.
std::pair<fs::path, TPayloadEntry> DamagedInstaller();

std::vector<uint8_t> ReadBytes(const fs::path& path);
COLORREF ColourAt(const skin::TSkinBitmap& image, int x, int y);
// The skin the installer carries, read from its source folder the way the
// engine reads it: frames, margins and places come from there, never from
// numbers of the test's own.
const skin::TSkinModel& SkinUnderTest();
// Read from the screen: another process's window DC holds nothing here.
COLORREF ScreenPixel(POINT at);
// The user's documents, desktop and programs folders, which a user seen for
// the first time does not have yet.
void CreateProfileFolders();
// Creates a folder and its missing parents, however deep.
void CreateLongFolders(const fs::path& folder);
// Removes a folder and everything in it, however deep.
void RemoveTree(const fs::path& folder);

class InstallerWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(kOutput);
    CreateProfileFolders();
    Clean();
  }
  void TearDown() override {
    program.reset();
    Clean();
  }
  static void Clean() {
    // An entry left by another test would make the installer propose its
    // folder instead of the default one.
    RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);
    std::error_code ignored;
    fs::remove_all(DefaultFolder(), ignored);
    fs::remove(DesktopLink(), ignored);
    fs::remove(ProgramsLink(), ignored);
  }

  // Starts the program and waits for its window, with "Instalar" focused.
  void Start(const std::wstring& path = kInstaller) {
    program = std::make_unique<TProgram>(path, kOutput.wstring());
    window = program->WaitForWindow(L"TfmMain", kPatience);
    ASSERT_NE(window, nullptr);
    install = FindDescendant(window, L"TButton", L"Instalar");
    cancel = FindDescendant(window, L"TButton", L"Cancelar");
    browse = FindDescendant(window, L"TButton", L"Examinar...");
    edit = FindFirst(L"TEdit");
    ASSERT_TRUE(install && cancel && browse && edit);
    ASSERT_TRUE(WaitUntil([&] { return program->FocusedWindow() == install; }, kPatience));
  }
  HWND FindFirst(const std::wstring& windowClass) const {
    for (HWND w : Descendants(window))
      if (ClassOf(w) == windowClass) return w;
    return nullptr;
  }
  void SetFolder(const fs::path& folder) {
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  }
  // Every window of the installer gets the skin's frame when it is first
  // activated: it then answers the skin engine's query with 1.
  static bool BecomesSkinned(HWND window) {
    return WaitUntil(
        [&] {
          DWORD_PTR answer = 0;
          return SendMessageTimeoutW(window, 0x3504, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) && answer == 1;
        },
        kPatience);
  }
  // Waits for a system message box; returns its caption and text.
  std::pair<std::wstring, std::wstring> AwaitMessageBox(HWND& box) {
    box = program->WaitForWindow(L"#32770", kPatience);
    if (!box) return {};
    EXPECT_TRUE(BecomesSkinned(box));
    WaitUntil([&] { return GetDlgItem(box, 0xFFFF) != nullptr; }, kPatience);
    wchar_t text[4096] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 4096);
    return {TextOf(box), text};
  }
  std::pair<std::wstring, std::wstring> AwaitAndCloseMessageBox() {
    HWND box = nullptr;
    auto shown = AwaitMessageBox(box);
    if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); }, kPatience);
    return shown;
  }
  // Nothing happens: once the program has handled everything sent to it,
  // no box is open, shown or not yet shown, and the program still runs.
  void ExpectNothingHappens() {
    ASSERT_TRUE(HandledWhatWasPosted()) << "the program does not take its messages";
    EXPECT_EQ(OpenBoxes(), 0);
    EXPECT_TRUE(program->Running());
  }
  // A thread takes the messages posted to its windows in the order they
  // were posted: once the edit box has taken a marker posted now, the
  // program has handled every key and click posted before it, and a box
  // they open exists. The marker is the edit box's modified flag, which
  // the installer never reads; it is put back afterwards.
  bool HandledWhatWasPosted() const {
    const auto modified = [&] {
      DWORD_PTR flag = 0;
      SendMessageTimeoutW(edit, EM_GETMODIFY, 0, 0, SMTO_ABORTIFHUNG, 1000, &flag);
      return flag != 0;
    };
    const bool before = modified();
    PostMessageW(edit, EM_SETMODIFY, !before, 0);
    const bool handled = WaitUntil([&] { return modified() != before; }, kPatience);
    PostMessageW(edit, EM_SETMODIFY, before, 0);
    return handled;
  }
  // The message boxes and dialogs of the installer's thread, visible or
  // not yet shown.
  int OpenBoxes() const {
    int boxes = 0;
    EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), &CountBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
  }
  static BOOL CALLBACK CountBox(HWND w, LPARAM count) {
    const std::wstring name = ClassOf(w);
    if (name == L"#32770" || name == L"TMessageForm") ++*reinterpret_cast<int*>(count);
    return TRUE;
  }
  // Cancel ends the program with the outcome of the last attempt to
  // install, or as cancelled when there was none.
  void CancelAndExpectExit(DWORD expected = kExitCancelled) {
    Click(cancel);
    ASSERT_TRUE(program->WaitForExit(kPatience));
    EXPECT_EQ(program->ExitCode(), expected);
  }

  static HWND FindFirstOf(HWND parent, const std::wstring& windowClass) {
    for (HWND w : Descendants(parent))
      if (ClassOf(w) == windowClass) return w;
    return nullptr;
  }

  // Title, place, frame, shape and controls of the main window, in
  // whichever skin the installer carries.
  void ExpectTheMainWindowAsDesigned() {
    EXPECT_EQ(TextOf(window), L"El Quimora");
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 208);
    EXPECT_EQ(r.top, 135);
    // The skinned frame replaces the system's around the same client area.
    EXPECT_EQ(SendMessageW(window, 0x3504 /* the skin engine's query */, 0, 0), 1);
    RECT systemFrame{0, 0, 0, 0};
    AdjustWindowRectEx(&systemFrame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    RECT clientArea;
    GetClientRect(window, &clientArea);
    EXPECT_EQ(clientArea.right, 719 - (systemFrame.right - systemFrame.left));
    EXPECT_EQ(clientArea.bottom, 454 - (systemFrame.bottom - systemFrame.top));
    gui::UniqueRegion shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window, shape.get()), ERROR);
    EXPECT_FALSE(PtInRegion(shape.get(), 0, 0));  // a rounded corner
    EXPECT_TRUE(PtInRegion(shape.get(), (r.right - r.left) / 2, 2));
    struct Expected {
      HWND control;
      std::wstring text;
      RECT bounds;
    };
    const Expected expected[] = {
        {cancel, L"Cancelar", {312, 296, 387, 321}},
        {install, L"Instalar", {440, 296, 515, 321}},
        {edit, (DefaultFolder()).wstring(), {200, 216, 513, 239}},
        {browse, L"Examinar...", {517, 216, 590, 243}},
    };
    const HWND panel = GetParent(install);
    RECT client, panelRect = ChildRect(panel);
    GetClientRect(window, &client);
    EXPECT_TRUE(EqualRect(&panelRect, &client));
    for (const auto& e : expected) {
      SCOPED_TRACE(e.text);
      EXPECT_EQ(GetParent(e.control), panel);
      EXPECT_EQ(TextOf(e.control), e.text);
      const RECT bounds = ChildRect(e.control);
      EXPECT_TRUE(EqualRect(&bounds, &e.bounds))
          << bounds.left << "," << bounds.top << "," << bounds.right << "," << bounds.bottom;
    }
  }

  // Waits for the archive engine's failure box, with its three buttons.
  HWND AwaitFailureBox() const {
    const HWND failure = program->WaitForWindow(L"TMessageForm", kPatience);
    if (!failure) return nullptr;
    WaitUntil([&] { return FindDescendant(failure, L"TButton", L"&Ignorer") != nullptr; }, kPatience);
    return failure;
  }
  // The caption and text of a message dialog, as it copies them.
  static std::wstring CopiedText(HWND dialog) {
    SendMessageW(dialog, WM_COPY, 0, 0);
    return ClipboardText();
  }

  std::unique_ptr<TProgram> program;
  HWND window = nullptr, install = nullptr, cancel = nullptr, browse = nullptr, edit = nullptr;
};

}  // namespace installer::testing
