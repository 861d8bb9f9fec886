// A copy of the installer that a download cut short, or that lost bytes
// anywhere, is refused before its window shows: one message, nothing
// written, a failing exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include "installer/tests/installer_window_fixture_win.h"

namespace installer::testing {
namespace {

constexpr wchar_t kDamagedText[] = L"El instalador está dañado o incompleto. Vuelva a descargarlo.";

class DamagedCopy : public InstallerWindow {
 protected:
  // The first length bytes of the file at path, as a copy of its own.
  static fs::path CutCopy(const std::wstring& path, size_t length, const wchar_t* name) {
    std::vector<char> bytes = ReadAll(path);
    EXPECT_LT(length, bytes.size());
    bytes.resize(length);
    const fs::path copy = kOutput / name;
    WriteAll(copy, bytes);
    return copy;
  }

  // Started, the copy shows the damage message alone and ends with the
  // payload's exit code once it is closed.
  void ExpectRefused(const fs::path& copy) {
    SCOPED_TRACE(copy.string());
    program = std::make_unique<TProgram>(copy.wstring(), kOutput.wstring());
    HWND box = nullptr;
    const auto [caption, text] = AwaitMessageBox(box);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(caption, kTitle);
    EXPECT_EQ(text, kDamagedText);
    EXPECT_TRUE(program->TopWindows(L"TfmMain").empty()) << "the window must not show";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(program->WaitForExit(kPatience));
    EXPECT_EQ(program->ExitCode(), kExitPayloadDamaged);
    EXPECT_FALSE(fs::exists(DefaultFolder()));
    EXPECT_FALSE(fs::exists(DesktopLink()));
    EXPECT_FALSE(fs::exists(ProgramsLink()));
  }
};

TEST_F(DamagedCopy, ACopyCutBeforeALocalHeaderIsRefused) {
  const TPayloadLayout layout = ReadPayloadLayout(ReadAll(kInstaller));
  ASSERT_EQ(layout.entries.size(), 216u);
  // About three fifths into the payload, where an interrupted download
  // left the copy that once installed part of the product.
  const TPayloadEntry& entry = layout.entries[layout.entries.size() * 3 / 5];
  ExpectRefused(CutCopy(kInstaller, entry.localHeader, L"InstalaQuimora-cut-before-header.exe"));
  SaveScreenshot((kOutput / L"damaged-payload.bmp").wstring());
}

TEST_F(DamagedCopy, ACopyCutInTheMiddleOfAnEntryIsRefused) {
  const TPayloadLayout layout = ReadPayloadLayout(ReadAll(kInstaller));
  const auto largest = std::max_element(layout.entries.begin(), layout.entries.end(),
                                        [](const auto& a, const auto& b) { return a.compressedSize < b.compressedSize; });
  ASSERT_GT(largest->compressedSize, 2u);
  ExpectRefused(CutCopy(kInstaller, largest->data + largest->compressedSize / 2, L"InstalaQuimora-cut-in-entry.exe"));
}

TEST_F(DamagedCopy, ACopyCutInsideTheDirectoryIsRefused) {
  const TPayloadLayout layout = ReadPayloadLayout(ReadAll(kInstaller));
  ExpectRefused(
      CutCopy(kInstaller, layout.directory + layout.directorySize / 2, L"InstalaQuimora-cut-in-directory.exe"));
}

TEST_F(DamagedCopy, ASignedCopyCutInsideItsSignatureIsRefused) {
  ExpectRefused(CutCopy(kSignedInstaller, ReadAll(kSignedInstaller).size() - 10, L"InstalaQuimora-signed-cut.exe"));
}

TEST_F(DamagedCopy, TheInstallerWithoutItsPayloadIsRefused) { ExpectRefused(kStub); }

}  // namespace
}  // namespace installer::testing
