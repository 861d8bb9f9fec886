// Opening archives from files the way the installer opens its own
// executable: the host probe, embedded archives and the failures.
#include <gtest/gtest.h>

#include "zip/dir_manager.h"
#include "zip/tests/test_files.h"
#include "zip/tests/test_zip_builder.h"
#include "zip/zip_archiver.h"
#include "zip/zip_exception.h"

namespace zip {
namespace {

using testing::Bytes;
using testing::TempFolder;
using testing::TestArchive;

std::string AsText(const Bytes& b) { return std::string(b.begin(), b.end()); }

TestArchive Payload(size_t hostSize, bool relative) {
  TestArchive a;
  a.prefix = Bytes(hostSize, 0x90);
  a.prefix[0] = 'M';
  a.prefix[1] = 'Z';
  a.relativeOffsets = relative;
  a.entries = {{.name = "ProgramaQuimora/", .attributes = 0x10},
               {.name = "ProgramaQuimora/LEEME.txt", .data = "hola"},
               {.name = "ProgramaQuimora/datos.bin", .data = std::string(5000, 'q'), .deflate = true}};
  return a;
}

struct Listing {
  std::vector<WideString> names;
  std::vector<uint64_t> offsets;
  int64_t stub;
};

Listing Open(const WideString& file) {
  TZipArchiver archiver;
  archiver.SetName(u"Archiver");
  archiver.SetFileName(file);
  bool opened = false;
  archiver.AfterOpen = [&](rt::TObject*) { opened = true; };
  archiver.OpenArchive(TZipBaseArchiver::kOpenReadOnly);
  EXPECT_TRUE(opened);
  EXPECT_EQ(archiver.SpanningMode(), smNone);
  Listing l;
  const TZipDirArray& items = archiver.DirManager()->Items();
  for (int i = 0; i < items.Count(); ++i) {
    l.names.push_back(items.Item(i).Name);
    l.offsets.push_back(items.Item(i).TrueLocalHeaderOffset());
  }
  l.stub = archiver.DirManager()->StubSize();
  archiver.CloseArchive();
  return l;
}

TEST(OpenFromFile, HostWithAbsoluteAndRelativeOffsetsListsTheSame) {
  TempFolder temp("open");
  for (const char16_t* name : {u"InstalaQuimora.exe", u"payload.zip"}) {
    testing::WriteFile(temp / name, AsText(BuildZip(Payload(7000, false))));
    const Listing absolute = Open(temp / name);
    testing::WriteFile(temp / name, AsText(BuildZip(Payload(7000, true))));
    const Listing relative = Open(temp / name);
    ASSERT_EQ(absolute.names.size(), 3u);
    EXPECT_EQ(absolute.names, relative.names);
    EXPECT_EQ(absolute.offsets[1], relative.offsets[1]);
    EXPECT_EQ(absolute.offsets[2], relative.offsets[2]);
    EXPECT_EQ(absolute.offsets[1], 7000u + 30 + 16);
    EXPECT_EQ(absolute.stub, 7000);
    EXPECT_EQ(relative.stub, 7000);
  }
}

TEST(OpenFromFile, ReadOnlyOpenLeavesTheFileAsItWas) {
  TempFolder temp("open");
  const std::string bytes = AsText(BuildZip(Payload(100, false)));
  testing::WriteFile(temp / u"setup.exe", bytes);
  Open(temp / u"setup.exe");
  EXPECT_EQ(testing::ReadFile(temp / u"setup.exe"), bytes);
}

TEST(OpenFromFile, ExecutableWithoutPayloadIsNotAnArchive) {
  TempFolder temp("open");
  testing::WriteFile(temp / u"empty.exe", std::string(4096, 'M'));
  TZipArchiver archiver;
  archiver.SetName(u"Archiver");
  archiver.SetFileName(temp / u"empty.exe");
  try {
    archiver.OpenArchive(TZipBaseArchiver::kOpenReadOnly);
    FAIL() << "opened";
  } catch (const EZipException& e) {
    EXPECT_EQ(e.ErrorCode(), zeInvalidArchive);
    EXPECT_EQ(e.Message(), u"Archiver: Invalid archive file. - Native error: 00035");
  }
  EXPECT_FALSE(archiver.IsOpen());
  EXPECT_EQ(archiver.ArchiveStream(), nullptr);
}

TEST(OpenFromFile, UnicodeNamesAndCaseFoldingOnThisPlatform) {
  TempFolder temp("open");
  TestArchive a;
  a.entries = {{.name = "Caf\x82/\x8E.txt", .data = "1"},
               {.name = "x", .data = "2", .extra = testing::UnicodeNameBlock(u"\u0414\u043e\u043c.txt")}};
  testing::WriteFile(temp / u"\u540d\u524d.zip", AsText(BuildZip(a)));
  TZipArchiver archiver;
  archiver.SetFileName(temp / u"\u540d\u524d.zip");
  archiver.OpenArchive(TZipBaseArchiver::kOpenReadOnly);
  const TZipDirArray& items = archiver.DirManager()->Items();
  EXPECT_EQ(items.Item(0).Name, u"Caf\u00e9/\u00c4.txt");
  EXPECT_EQ(items.IndexOfName(u"CAF\u00c9/\u00e4.TXT"), 0);
  EXPECT_EQ(items.IndexOfName(u"\u0434\u043e\u043c.TXT"), 1);
  TZipArchiveItem found;
  ASSERT_TRUE(archiver.FindFirst(u"\u00e4.TXT", found, 0x28BF, u""));
  EXPECT_EQ(found.StoredPath, u"Caf\u00e9\\");
}

}  // namespace
}  // namespace zip
