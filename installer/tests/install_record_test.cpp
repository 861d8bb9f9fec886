#include "installer/install_record.h"

#include <gtest/gtest.h>

#include <map>

#include "zip/file_layer.h"
#include "zip/tests/test_files.h"

namespace installer {
namespace {

using zip::testing::TempFolder;
using zip::testing::WriteFile;

TEST(InstallRecord, ReadsBackWhatItWritesAndDropsWhatWouldLeaveTheFolder) {
  TInstallRecord record;
  record.Folders = {u".", u"datos", u"datos\\imágenes"};
  record.Files = {u"QuimoraWindows18_19.exe", u"datos\\imágenes\\日本.bmp"};
  record.Shortcuts = {u"C:\\Users\\Łukasz\\Desktop\\QuimoraWindows18_19.lnk"};
  const TInstallRecord read = TInstallRecord::Parse(record.Text());
  EXPECT_EQ(read.Folders, record.Folders);
  EXPECT_EQ(read.Files, record.Files);
  EXPECT_EQ(read.Shortcuts, record.Shortcuts);

  // A record edited by hand never makes the uninstaller remove more than
  // the installation wrote.
  const TInstallRecord edited = TInstallRecord::Parse(
      "file\t..\\..\\Windows\\win.ini\n"
      "file\tC:\\boot.ini\r\n"
      "file\t\\absolute\n"
      "file\t.\n"
      "folder\t..\n"
      "folder\tdatos\\..\\..\n"
      "shortcut\tC:\\Users\\x\\Documents\\tesis.docx\n"
      "shortcut\trelative.lnk\n"
      "unknown\tx\n"
      "no tab at all\n"
      "file\tok.txt\n"
      "file\tok.txt\n"
      "shortcut\tC:\\Users\\x\\Desktop\\Q.LNK");
  EXPECT_EQ(edited.Files, std::vector<WideString>{u"ok.txt"});
  EXPECT_TRUE(edited.Folders.empty());
  EXPECT_EQ(edited.Shortcuts, std::vector<WideString>{u"C:\\Users\\x\\Desktop\\Q.LNK"});
}

TEST(InstallRecord, AnEarlierInstallationsFoldersAndFilesAreKept) {
  TInstallRecord earlier;
  earlier.Folders = {u".", u"datos"};
  earlier.Files = {u"viejo.txt", u"a.txt"};
  TInstallRecord now;
  now.Files = {u"a.txt", u"b.txt"};
  now.Merge(earlier);
  EXPECT_EQ(now.Folders, (std::vector<WideString>{u".", u"datos"}));
  EXPECT_EQ(now.Files, (std::vector<WideString>{u"a.txt", u"b.txt", u"viejo.txt"}));
}

TEST(InstallRecord, RemovesWhatItListsAndLeavesWhatTheUserAdded) {
  TempFolder temp("record");
  const WideString folder = temp / u"Programa";
  ASSERT_TRUE(zip::FsForceDirectories(folder + u"\\datos\\sub\\"));
  ASSERT_TRUE(zip::FsForceDirectories(folder + u"\\vacía\\"));
  WriteFile(folder + u"\\programa.exe", "p");
  WriteFile(folder + u"\\datos\\a.txt", "a");
  WriteFile(folder + u"\\datos\\sub\\b.txt", "b");
  WriteFile(folder + u"\\datos\\mío.txt", "user's");
  zip::FsSetAttributes(folder + u"\\datos\\a.txt", zip::kFaReadOnly);

  TInstallRecord record;
  record.Folders = {u".", u"datos", u"datos\\sub", u"vacía"};
  record.Files = {u"programa.exe", u"datos\\a.txt", u"datos\\sub\\b.txt", u"ya-no-está.txt"};
  std::map<WideString, bool> reported;
  const TInstallRecord left = RemoveInstalled(folder, record, [&](const WideString& path, bool removed) {
    reported[path] = removed;
  });
  EXPECT_TRUE(left.Empty());
  EXPECT_FALSE(zip::FsFileExists(folder + u"\\programa.exe"));
  EXPECT_FALSE(zip::FsFileExists(folder + u"\\datos\\a.txt")) << "a read-only file is removed too";
  EXPECT_FALSE(zip::FsDirectoryExists(folder + u"\\datos\\sub"));
  EXPECT_FALSE(zip::FsDirectoryExists(folder + u"\\vacía"));
  // The user's file keeps its folder, and the install folder with it.
  EXPECT_TRUE(zip::FsFileExists(folder + u"\\datos\\mío.txt"));
  EXPECT_TRUE(zip::FsDirectoryExists(folder));
  const std::map<WideString, bool> expected = {
      {folder + u"\\programa.exe", true},
      {folder + u"\\datos\\a.txt", true},
      {folder + u"\\datos\\sub\\b.txt", true},
      {folder + u"\\datos\\sub", true},
      {folder + u"\\vacía", true},
  };
  EXPECT_EQ(reported, expected);

  // The record itself, kept beside the files.
  WriteInstallRecord(folder, record);
  const TInstallRecord kept = ReadInstallRecord(folder);
  EXPECT_EQ(kept.Files, record.Files);
  EXPECT_EQ(kept.Folders, record.Folders);
  EXPECT_TRUE(ReadInstallRecord(temp / u"ninguna").Empty());
  zip::FsDeleteFile(folder + u"\\" + kRecordName);

  // Without the user's file, everything goes, the install folder last.
  zip::FsDeleteFile(folder + u"\\datos\\mío.txt");
  RemoveInstalled(folder, record, [](const WideString&, bool) {});
  EXPECT_FALSE(zip::FsDirectoryExists(folder));
}

}  // namespace
}  // namespace installer
