// Entries whose compressed data lies in bytes that an entry extracted
// before them already read: refused as corrupt, so that a small archive of
// overlapping entries cannot write gigabytes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "zip/dir_item.h"
#include "zip/file_layer.h"
#include "zip/tests/test_files.h"
#include "zip/tests/test_memory_archiver.h"
#include "zip/tests/test_zip_builder.h"
#include "zip/zip_exception.h"

namespace zip {
namespace {

using testing::Bytes;
using testing::MemoryArchiver;
using testing::ReadFile;
using testing::TempFolder;
using testing::TestArchive;

constexpr int32_t kCorruptData = 4;
const std::string kA(1000, 'a');
const std::string kB(700, 'b');

// a.txt then b.txt, both stored; offsets of their two central headers.
struct TwoEntries {
  Bytes bytes = BuildZip(TestArchive{.entries = {{.name = "a.txt", .data = kA},
                                                 {.name = "b.txt", .data = kB}}});
  size_t centralA = testing::FindFirst(bytes, TCentralHeader::kSignature);
  size_t centralB = testing::FindLast(bytes, TCentralHeader::kSignature);
  size_t localB = testing::FindLast(bytes, TLocalHeader::kSignature);

  // The stored sizes and CRC of a central header set for data of the
  // given bytes.
  void Describe(size_t central, const std::string& data) {
    const auto crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    testing::PutLE32(bytes, central + 16, crc);
    testing::PutLE32(bytes, central + 20, static_cast<uint32_t>(data.size()));
    testing::PutLE32(bytes, central + 24, static_cast<uint32_t>(data.size()));
  }
  // a.txt's data made to run on over b.txt's local header and data, the
  // way overlapping archives quote the next entry inside the previous one.
  std::string CoverB() {
    const size_t dataA = 30 + 5;
    const size_t endB = localB + 30 + 5 + kB.size();
    const std::string covering(bytes.begin() + dataA, bytes.begin() + endB);
    Describe(centralA, covering);
    return covering;
  }
};

struct ExtractionRun {
  explicit ExtractionRun(const Bytes& bytes) : archiver(bytes) {
    archiver.SetBaseDir(temp.Name());
    archiver.OnProcessFileFailure = [this](rt::TObject*, const WideString& name,
                                           TZipProcessOperation, int32_t, int32_t errorCode,
                                           const WideString&, TZipAction& action) {
      failures.push_back(rt::WideToUtf8(name) + " " + std::to_string(errorCode));
      action = answers.empty() ? fxaIgnore : answers.front();
      if (!answers.empty()) answers.erase(answers.begin());
    };
  }
  void Extract() { archiver.ExtractMatching(u"*.*", 0x28BF, u""); }

  TempFolder temp;
  MemoryArchiver archiver;
  std::vector<std::string> failures;
  std::vector<TZipAction> answers;
};

TEST(OverlappingEntriesTest, AnEntryOnTheLocalHeaderOfAnotherIsRefused) {
  TwoEntries zip;
  testing::PutLE32(zip.bytes, zip.centralB + 42, 0);
  zip.Describe(zip.centralB, kA);
  ExtractionRun run(zip.bytes);
  run.Extract();
  EXPECT_EQ(ReadFile(run.temp / u"a.txt"), kA);
  EXPECT_FALSE(FsFileExists(run.temp / u"b.txt"));
  EXPECT_EQ(run.failures, std::vector<std::string>{"b.txt 4"});
  EXPECT_EQ(run.archiver.ProcessedCount(), 1);
  EXPECT_FALSE(run.archiver.RefusedForSharedData(0));
  EXPECT_TRUE(run.archiver.RefusedForSharedData(1));
}

TEST(OverlappingEntriesTest, AnEntryInsideTheDataOfAnotherIsRefused) {
  TwoEntries zip;
  const std::string covering = zip.CoverB();
  ExtractionRun run(zip.bytes);
  run.Extract();
  EXPECT_EQ(ReadFile(run.temp / u"a.txt"), covering);
  EXPECT_FALSE(FsFileExists(run.temp / u"b.txt"));
  EXPECT_EQ(run.failures, std::vector<std::string>{"b.txt 4"});
}

TEST(OverlappingEntriesTest, DataOverAnEarlierEntrysLocalHeaderIsRefused) {
  TwoEntries zip;
  zip.CoverB();
  MemoryArchiver archiver(zip.bytes);
  EXPECT_EQ(archiver.Decode(1), kB);
  try {
    archiver.Decode(0);
    FAIL() << "a.txt decoded over b.txt";
  } catch (const EZipException& e) {
    EXPECT_EQ(e.ErrorCode(), kCorruptData) << e.what();
  }
  // Decoding an entry again is no overlap with itself.
  EXPECT_EQ(archiver.Decode(1), kB);
}

TEST(OverlappingEntriesTest, RefusedAlsoWhereCorruptEntriesAreKeptAndOnRetry) {
  TwoEntries zip;
  testing::PutLE32(zip.bytes, zip.centralB + 42, 0);
  zip.Describe(zip.centralB, kA);
  ExtractionRun run(zip.bytes);
  run.archiver.SetExtractCorruptedFiles(true);
  run.answers = {fxaRetry, fxaIgnore};
  run.Extract();
  EXPECT_EQ(run.failures, (std::vector<std::string>{"b.txt 4", "b.txt 4"}));
  EXPECT_FALSE(FsFileExists(run.temp / u"b.txt"));
}

TEST(OverlappingEntriesTest, EachRunStartsAfresh) {
  TwoEntries zip;
  testing::PutLE32(zip.bytes, zip.centralB + 42, 0);
  zip.Describe(zip.centralB, kA);
  ExtractionRun run(zip.bytes);
  run.Extract();
  FsDeleteFile(run.temp / u"a.txt");
  run.archiver.ExtractMatching(u"a.txt", 0x28BF, u"");
  EXPECT_FALSE(run.archiver.RefusedForSharedData(1)) << "a new run forgets the last one's refusals";
  FsDeleteFile(run.temp / u"a.txt");
  run.Extract();
  EXPECT_EQ(ReadFile(run.temp / u"a.txt"), kA);
  EXPECT_EQ(run.failures, (std::vector<std::string>{"b.txt 4", "b.txt 4"}));
}

TEST(OverlappingEntriesTest, EntriesSharingNoDataAreUntouched) {
  // Empty entries may all name one local header; neighbours may touch.
  TwoEntries zip;
  const Bytes empties = BuildZip(TestArchive{.entries = {{.name = "e1", .data = ""},
                                                         {.name = "e2", .data = ""}}});
  Bytes shared = empties;
  testing::PutLE32(shared, testing::FindLast(shared, TCentralHeader::kSignature) + 42, 0);
  for (const Bytes* bytes : {&zip.bytes, &shared}) {
    ExtractionRun run(*bytes);
    run.Extract();
    EXPECT_TRUE(run.failures.empty()) << run.failures.front();
    EXPECT_EQ(run.archiver.ProcessedCount(), 2);
  }
}

}  // namespace
}  // namespace zip
