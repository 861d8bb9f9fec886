// Deployed without a click and removed without a trace: the silent
// install with its log, exit codes and Apps & features entry, the usage
// box, and the uninstaller, quiet and asking.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "installer/tests/installer_window_fixture_win.h"
#include "runtime/strings.h"
#include "runtime/wide_text_win.h"

namespace installer::testing {
namespace {

constexpr wchar_t kUninstallerName[] = L"Desinstalar.exe";
constexpr wchar_t kRecordName[] = L"Desinstalar.dat";

// A registry value of the Apps & features entry, as text or number.
std::wstring EntryText(const wchar_t* name) {
  wchar_t value[2048] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return value;
}
DWORD EntryNumber(const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return 0xFFFFFFFF;
  return value;
}
bool EntryExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// A string of the installer's version resource.
std::wstring VersionString(const wchar_t* name) {
  DWORD ignored = 0;
  std::vector<char> version(GetFileVersionInfoSizeW(kInstaller.c_str(), &ignored));
  if (version.empty() || !GetFileVersionInfoW(kInstaller.c_str(), 0, static_cast<DWORD>(version.size()), version.data()))
    return L"<no version>";
  wchar_t* text = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\0c0a04b0\\") + name;
  if (!VerQueryValueW(version.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) return L"<none>";
  return text;
}

// The lines of a UTF-8 log, split into their tab-separated fields.
std::vector<std::vector<std::wstring>> LogLines(const fs::path& log) {
  const std::vector<char> bytes = ReadAll(log);
  const std::wstring text = [&] {
    const rt::WideString wide = rt::Utf8ToWide(std::string_view(bytes.data(), bytes.size()));
    return rt::WstringFromWide(wide);
  }();
  std::vector<std::vector<std::wstring>> lines;
  std::wistringstream in(text);
  for (std::wstring line; std::getline(in, line);) {
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    std::vector<std::wstring> fields;
    std::wistringstream fieldsIn(line);
    for (std::wstring field; std::getline(fieldsIn, field, L'\t');) fields.push_back(field);
    lines.push_back(fields);
  }
  return lines;
}

size_t CountOf(const std::vector<std::vector<std::wstring>>& lines, const std::wstring& kind) {
  return static_cast<size_t>(
      std::count_if(lines.begin(), lines.end(), [&](const auto& fields) { return !fields.empty() && fields[0] == kind; }));
}

bool Holds(const std::vector<std::vector<std::wstring>>& lines, const std::vector<std::wstring>& wanted) {
  return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

uint64_t PayloadBytes() {
  uint64_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kPayload))
    if (entry.is_regular_file()) bytes += entry.file_size();
  return bytes;
}

class CommandLine : public InstallerWindow {
 protected:
  void TearDown() override {
    InstallerWindow::TearDown();
    for (const fs::path& folder : made) RemoveTree(folder);
  }

  // A run that must show nothing: its exit code once it has ended, with no
  // visible window of it seen at any time while it ran.
  DWORD RunSilently(const std::wstring& path, const std::wstring& arguments) {
    program = std::make_unique<TProgram>(path, kOutput.wstring(), arguments, TProgram::TStart::Return);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (program->Running() && std::chrono::steady_clock::now() < deadline) {
      const auto shown = program->VisibleWindows();
      EXPECT_TRUE(shown.empty()) << "a silent run showed a window of class " << fs::path(ClassOf(shown.front())).string();
      if (!shown.empty()) break;
      Sleep(5);
    }
    EXPECT_TRUE(program->WaitForExit(kPatience));
    return program->ExitCode();
  }

  // A fresh folder under the test's output, removed at the end.
  fs::path Folder(const std::wstring& name) {
    const fs::path folder = kOutput / name;
    RemoveTree(folder);
    made.push_back(folder);
    return folder;
  }

  // Waits until the uninstaller's copy has removed the uninstaller.
  static bool UninstallerGone(const fs::path& folder) {
    return WaitUntil([&] { return !fs::exists(folder / kUninstallerName) && !fs::exists(folder / kRecordName); },
                     kPatience);
  }

  std::vector<fs::path> made;
};

TEST_F(CommandLine, ASilentInstallShowsNothingLogsEveryStepAndAQuietUninstallTakesItAllBack) {
  const fs::path parent = Folder(L"Mis programas \u0141ukasz \u65e5\u672c");
  fs::create_directories(parent);
  const fs::path folder = parent / L"Quimora 18 19";
  const fs::path log = Folder(L"instalar.log");
  ASSERT_EQ(RunSilently(kInstaller, L"/SILENT /LOG=\"" + log.wstring() + L"\" /D=" + folder.wstring()), kExitDone);
  ExpectPayloadInstalledIn(folder);
  ExpectLinksTo(folder);
  EXPECT_TRUE(fs::exists(folder / kUninstallerName));

  // The entry, every value read back.
  EXPECT_EQ(EntryText(L"DisplayName"), L"Quimora 18/19");
  EXPECT_EQ(EntryText(L"DisplayVersion"), VersionString(L"FileVersion"));
  EXPECT_EQ(EntryText(L"Publisher"), VersionString(L"CompanyName"));
  EXPECT_EQ(EntryText(L"DisplayIcon"), (folder / kProgramName).wstring());
  EXPECT_EQ(EntryText(L"InstallLocation"), folder.wstring());
  EXPECT_EQ(EntryNumber(L"EstimatedSize"), (PayloadBytes() + 1023) / 1024);
  const std::wstring uninstaller = L"\"" + (folder / kUninstallerName).wstring() + L"\"";
  EXPECT_EQ(EntryText(L"UninstallString"), uninstaller);
  EXPECT_EQ(EntryText(L"QuietUninstallString"), uninstaller + L" /S");
  EXPECT_EQ(EntryNumber(L"NoModify"), 1u);
  EXPECT_EQ(EntryNumber(L"NoRepair"), 1u);

  // The log: the folder, every file, both links, the entry, the result.
  const auto lines = LogLines(log);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), (std::vector<std::wstring>{L"folder", folder.wstring()}));
  EXPECT_EQ(CountOf(lines, L"folder"), 1u + 7u);
  EXPECT_EQ(CountOf(lines, L"file"), 209u + 2u) << "the payload's files, the uninstaller and its record";
  EXPECT_TRUE(Holds(lines, {L"file", (folder / kProgramName).wstring()}));
  EXPECT_TRUE(Holds(lines, {L"shortcut", DesktopLink().wstring()}));
  EXPECT_TRUE(Holds(lines, {L"shortcut", ProgramsLink().wstring()}));
  EXPECT_TRUE(Holds(lines, {L"registry", std::wstring(L"HKEY_CURRENT_USER\\") + kUninstallKey}));
  EXPECT_EQ(CountOf(lines, L"failed"), 0u);
  EXPECT_EQ(lines.back(), (std::vector<std::wstring>{L"result", L"0", L"done"}));

  // A file of the user's own stays, and keeps its folder.
  WriteAll(folder / L"datos" / L"mis notas.txt", {'m', 'i', 'a', 's'});
  const fs::path uninstallLog = Folder(L"desinstalar.log");
  ASSERT_EQ(RunSilently((folder / kUninstallerName).wstring(), L"/S /LOG=\"" + uninstallLog.wstring() + L"\""),
            kExitDone);
  ASSERT_TRUE(UninstallerGone(folder));
  for (const auto& entry : fs::recursive_directory_iterator(kPayload)) {
    const fs::path installed = folder / fs::relative(entry.path(), kPayload);
    if (entry.is_regular_file()) {
      EXPECT_FALSE(fs::exists(installed)) << installed.string();
    }
  }
  EXPECT_TRUE(fs::exists(folder / L"datos" / L"mis notas.txt"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "only the user's folder";
  EXPECT_FALSE(fs::exists(DesktopLink()));
  EXPECT_FALSE(fs::exists(ProgramsLink()));
  EXPECT_FALSE(EntryExists());
  const auto removed = LogLines(uninstallLog);
  size_t emptiedFolders = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kPayload))
    if (entry.is_directory() && fs::relative(entry.path(), kPayload) != L"datos") ++emptiedFolders;
  EXPECT_EQ(CountOf(removed, L"removed"), 209u + emptiedFolders + 2u + 1u) << "files, emptied folders, links, entry";
  EXPECT_EQ(removed.back(), (std::vector<std::wstring>{L"result", L"0", L"uninstalled"}));

  // Without a file of the user's, the folder the installation made goes
  // too.
  const fs::path another = parent / L"otra";
  ASSERT_EQ(RunSilently(kInstaller, L"/S /D=" + another.wstring()), kExitDone);
  ASSERT_EQ(RunSilently((another / kUninstallerName).wstring(), L"/S"), kExitDone);
  ASSERT_TRUE(WaitUntil([&] { return !fs::exists(another); }, kPatience));
  // And the copy that removed the uninstaller has gone itself.
  wchar_t temporary[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temporary);
  EXPECT_TRUE(WaitUntil(
      [&] {
        for (const auto& entry : fs::directory_iterator(temporary))
          if (entry.path().filename().wstring().rfind(L"QuimoraDesinstalar-", 0) == 0) return false;
        return true;
      },
      kPatience));
}

TEST_F(CommandLine, ASilentInstallOfADamagedPayloadEndsWithTwoAndWritesNothing) {
  std::vector<char> bytes = ReadAll(kInstaller);
  const TPayloadLayout layout = ReadPayloadLayout(bytes);
  bytes.resize(layout.entries[layout.entries.size() * 3 / 5].localHeader);
  const fs::path copy = Folder(L"InstalaQuimora-cortado.exe");
  WriteAll(copy, bytes);
  const fs::path folder = Folder(L"dañado");
  const fs::path log = Folder(L"dañado.log");
  EXPECT_EQ(RunSilently(copy.wstring(), L"/S /LOG=" + log.wstring() + L" /D=" + folder.wstring()), kExitPayloadDamaged);
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_FALSE(fs::exists(DesktopLink()));
  EXPECT_FALSE(EntryExists());
  const auto lines = LogLines(log);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0][0], L"failed");
  EXPECT_EQ(lines[1], (std::vector<std::wstring>{L"result", L"2", L"payload damaged or incomplete"}));
}

TEST_F(CommandLine, WithoutAFolderTheProposedOneIsTakenAndARerunProposesTheLastOne) {
  ASSERT_EQ(RunSilently(kInstaller, L"/S"), kExitDone);
  ExpectPayloadInstalledIn(DefaultFolder());
  EXPECT_EQ(EntryText(L"InstallLocation"), DefaultFolder().wstring());

  const fs::path elsewhere = Folder(L"otra carpeta");
  ASSERT_EQ(RunSilently(kInstaller, L"/VERYSILENT /DIR=\"" + elsewhere.wstring() + L"\""), kExitDone);
  Start();
  EXPECT_EQ(TextOf(edit), elsewhere.wstring()) << "an upgrade goes where the product is";
  CancelAndExpectExit();
}

TEST_F(CommandLine, UninstallingAnEarlierFolderKeepsTheEntryOfTheLaterOne) {
  const fs::path earlier = Folder(L"primera");
  const fs::path later = Folder(L"segunda");
  ASSERT_EQ(RunSilently(kInstaller, L"/S /D=" + earlier.wstring()), kExitDone);
  ASSERT_EQ(RunSilently(kInstaller, L"/S /D=" + later.wstring()), kExitDone);
  ASSERT_EQ(RunSilently((earlier / kUninstallerName).wstring(), L"/S"), kExitDone);
  ASSERT_TRUE(WaitUntil([&] { return !fs::exists(earlier); }, kPatience));
  EXPECT_EQ(EntryText(L"InstallLocation"), later.wstring());
  ExpectPayloadInstalledIn(later);
}

TEST_F(CommandLine, AFolderThatCannotBeMadeEndsWithThree) {
  const fs::path deep = Folder(L"falta") / L"más abajo";
  EXPECT_EQ(RunSilently(kInstaller, L"/S /D=" + deep.wstring()), kExitFolderNotCreated);
  EXPECT_FALSE(fs::exists(deep.parent_path()));
}

TEST_F(CommandLine, TheUsageIsShownOnAskingAndForAnUnknownSwitchOrEndsWith64WhenSilent) {
  for (const std::wstring& arguments : {std::wstring(L"/?"), std::wstring(L"/instalar")}) {
    SCOPED_TRACE(fs::path(arguments).string());
    program = std::make_unique<TProgram>(kInstaller, kOutput.wstring(), arguments);
    HWND box = nullptr;
    const auto [caption, text] = AwaitMessageBox(box);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(caption, kTitle);
    EXPECT_EQ(text.rfind(L"InstalaQuimora [/S] [/LOG=archivo] [/D=carpeta]", 0), 0u) << fs::path(text).string();
    EXPECT_NE(text.find(L"64"), std::wstring::npos) << "the exit codes are listed";
    EXPECT_TRUE(program->TopWindows(L"TfmMain").empty());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(program->WaitForExit(kPatience));
    EXPECT_EQ(program->ExitCode(), arguments == L"/?" ? kExitDone : kExitBadCommandLine);
  }
  EXPECT_EQ(RunSilently(kInstaller, L"/S /instalar"), kExitBadCommandLine);
  EXPECT_EQ(RunSilently(kInstaller, L"/S /LOG="), kExitBadCommandLine);
  EXPECT_FALSE(fs::exists(DefaultFolder()));
}

TEST_F(CommandLine, TheUninstallerAsksFirstAndReportsWhenDone) {
  ASSERT_EQ(RunSilently(kInstaller, L"/S"), kExitDone);
  const fs::path uninstaller = DefaultFolder() / kUninstallerName;
  const std::wstring question = L"\u00bfDesea desinstalar Quimora 18/19 de la carpeta " + DefaultFolder().wstring() + L"?";

  program = std::make_unique<TProgram>(uninstaller.wstring(), kOutput.wstring());
  HWND box = nullptr;
  auto [caption, text] = AwaitMessageBox(box);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(caption, L"Desinstala el Quimora");
  EXPECT_EQ(text, question);
  PostMessageW(box, WM_COMMAND, IDNO, 0);
  ASSERT_TRUE(program->WaitForExit(kPatience));
  EXPECT_EQ(program->ExitCode(), kExitCancelled);
  ExpectPayloadInstalledIn(DefaultFolder());
  EXPECT_TRUE(EntryExists());

  program = std::make_unique<TProgram>(uninstaller.wstring(), kOutput.wstring());
  std::tie(caption, text) = AwaitMessageBox(box);
  ASSERT_NE(box, nullptr);
  PostMessageW(box, WM_COMMAND, IDYES, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kPatience));
  std::tie(caption, text) = AwaitMessageBox(box);
  ASSERT_NE(box, nullptr);
  SaveScreenshot((kOutput / L"uninstalled-message.bmp").wstring());
  EXPECT_EQ(text, L"Quimora 18/19 se ha desinstalado.");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(program->WaitForExit(kPatience));
  EXPECT_EQ(program->ExitCode(), kExitDone);
  ASSERT_TRUE(WaitUntil([&] { return !fs::exists(DefaultFolder()); }, kPatience));
  EXPECT_FALSE(fs::exists(DesktopLink()));
  EXPECT_FALSE(EntryExists());
}

}  // namespace
}  // namespace installer::testing
