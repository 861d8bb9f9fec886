// Where the product goes: folders whose names the ANSI code page cannot
// hold, a user whose profile holds such a name, folders deeper than the
// plain Windows calls reach, a volume too small, and a program file that
// another program holds open.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "installer/tests/installer_window_fixture_win.h"
#include "runtime/gui/handles.h"

namespace installer::testing {
namespace {

constexpr wchar_t kIncompleteText[] =
    L"La instalación no se ha completado: 1 de 216 elementos no se han podido instalar.";

// Whether the system's ANSI code page can hold the text.
bool AnsiHolds(const std::wstring& text) {
  BOOL lost = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lost);
  return !lost;
}

TEST_F(InstallerWindow, AFolderOutsideTheAnsiCodePageGetsEveryFileAndBothLinks) {
  const fs::path parent = kOutput / L"\u0141ukasz \u65e5\u672c";
  const fs::path folder = parent / L"Programa";
  ASSERT_FALSE(AnsiHolds(folder.wstring()));
  RemoveTree(parent);
  fs::create_directories(parent);
  Start();
  SetFolder(folder);
  Click(install);
  EXPECT_EQ(AwaitAndCloseMessageBox().second, CompletionText(folder.wstring()));
  ASSERT_TRUE(program->WaitForExit(kPatience));
  EXPECT_EQ(program->ExitCode(), kExitDone);
  ExpectPayloadInstalledIn(folder);
  ExpectLinksTo(folder);
  RemoveTree(parent);
}

// A folder whose full path, and every file's in it, is longer than
// MAX_PATH: the files go to the system in their long form.
TEST_F(InstallerWindow, AFolderDeeperThanThePlainCallsReachGetsEveryFile) {
  const fs::path top = kOutput / L"largo";
  fs::path folder = top;
  for (const wchar_t letter : {L'a', L'b', L'c', L'd', L'e'}) folder /= std::wstring(60, letter);
  ASSERT_GT(folder.wstring().size(), 300u);
  RemoveTree(top);
  CreateLongFolders(folder.parent_path());
  Start();
  SetFolder(folder);
  Click(install);
  const std::wstring text = AwaitAndCloseMessageBox().second;
  // The shell stores link targets of MAX_PATH characters at the most: on
  // Windows the links cannot be made, and the message says so.
  const bool desktopLink = fs::exists(DesktopLink());
  EXPECT_EQ(text, CompletionText(folder.wstring(), desktopLink));
  ASSERT_TRUE(program->WaitForExit(kPatience));
  EXPECT_EQ(program->ExitCode(), kExitDone);
  ExpectPayloadInstalledIn(folder);
  RemoveTree(top);
}

// Reinstalled while the installed program's file is open in another
// program, without sharing its writing: the failure box names the file;
// "Ignorer" leaves the installation incomplete, "Réessayer" once the file
// is free completes it.
TEST_F(InstallerWindow, AProgramFileHeldOpenIsNamedAndInstalledWhenFree) {
  const fs::path folder = kOutput / L"en-uso";
  const fs::path programFile = folder / kProgramName;
  RemoveTree(folder);
  Start();
  SetFolder(folder);
  Click(install);
  EXPECT_EQ(AwaitAndCloseMessageBox().second, CompletionText(folder.wstring()));
  ASSERT_TRUE(program->WaitForExit(kPatience));
  const std::vector<char> installed = ReadAll(programFile);
  WriteAll(programFile, {'v', 'i', 'e', 'j', 'o'});

  gui::UniqueKernelHandle held(CreateFileW(programFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  Start();
  SetFolder(folder);
  Click(install);
  HWND failure = AwaitFailureBox();
  ASSERT_NE(failure, nullptr);
  EXPECT_NE(CopiedText(failure).find(programFile.wstring()), std::wstring::npos) << CopiedText(failure);
  Click(FindDescendant(failure, L"TButton", L"&Ignorer"));
  EXPECT_EQ(AwaitAndCloseMessageBox().second, kIncompleteText);
  ExpectNothingHappens();
  EXPECT_EQ(ReadAll(programFile), (std::vector<char>{'v', 'i', 'e', 'j', 'o'}));

  Click(install);
  failure = AwaitFailureBox();
  ASSERT_NE(failure, nullptr);
  held.reset();
  Click(FindDescendant(failure, L"TButton", L"&Réessayer"));
  EXPECT_EQ(AwaitAndCloseMessageBox().second, CompletionText(folder.wstring()));
  ASSERT_TRUE(program->WaitForExit(kPatience));
  EXPECT_EQ(program->ExitCode(), kExitDone);
  EXPECT_TRUE(ReadAll(programFile) == installed);
  ExpectPayloadInstalledIn(folder);
  RemoveTree(folder);
}

// Run as a user whose profile folder the ANSI code page cannot hold (ctest
// starts this one with such a user name): the proposed folder, the files
// and the links all keep the name.
using UnicodeUser = InstallerWindow;

TEST_F(UnicodeUser, InstallsIntoTheProposedFolderOfTheUsersDocuments) {
  ASSERT_FALSE(AnsiHolds(DefaultFolder().wstring())) << "started as a user whose name the code page holds";
  ASSERT_FALSE(AnsiHolds(DesktopLink().wstring()));
  Start();
  EXPECT_EQ(TextOf(edit), DefaultFolder().wstring());
  PressKey(install, VK_RETURN);
  EXPECT_EQ(AwaitAndCloseMessageBox().second, CompletionText(DefaultFolder().wstring()));
  ASSERT_TRUE(program->WaitForExit(kPatience));
  EXPECT_EQ(program->ExitCode(), kExitDone);
  ExpectPayloadInstalledIn(DefaultFolder());
  ExpectLinksTo(DefaultFolder());
}

// Drive S: is a volume of one megabyte (ctest's fixture mounts it): the
// payload does not fit, and the installer says by how much before it
// writes anything.
using SmallVolume = InstallerWindow;

TEST_F(SmallVolume, APayloadThatDoesNotFitIsRefusedWithBothFigures) {
  const std::wstring volume = L"S:\\";
  ULARGE_INTEGER available;
  ASSERT_TRUE(GetDiskFreeSpaceExW(volume.c_str(), &available, nullptr, nullptr)) << "drive S: is not mounted";
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
  ASSERT_TRUE(GetDiskFreeSpaceW(volume.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters));
  uint64_t needed = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kPayload))
    if (entry.is_regular_file()) needed += entry.file_size() + uint64_t{sectorsPerCluster} * bytesPerSector;
  ASSERT_GT(needed, available.QuadPart);
  constexpr uint64_t kMegabyte = 1 << 20;
  const std::wstring expected = L"No hay espacio suficiente en el disco.\rSe necesitan " +
                                std::to_wstring((needed + kMegabyte - 1) / kMegabyte) + L" MB y hay " +
                                std::to_wstring(available.QuadPart / kMegabyte) + L" MB libres.";

  const fs::path folder = fs::path(volume) / L"Programa";
  Start();
  SetFolder(folder);
  Click(install);
  const auto [caption, text] = AwaitAndCloseMessageBox();
  EXPECT_EQ(caption, kTitle);
  EXPECT_EQ(text, expected);
  ExpectNothingHappens();
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_FALSE(fs::exists(DesktopLink()));
  CancelAndExpectExit(kExitNoRoom);
}

}  // namespace
}  // namespace installer::testing
