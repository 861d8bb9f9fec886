#include "zip/entry_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <thread>

#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "zip/entry_decoder.h"
#include "zip/file_layer.h"
#include "zip/tests/test_memory_archiver.h"
#include "zip/tests/test_files.h"
#include "zip/tests/test_zip_builder.h"
#include "zip/wide_file_stream.h"
#include "zip/zip_exception.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zip {
namespace {

namespace stdfs = std::filesystem;
using testing::Bytes;
using testing::MemoryArchiver;
using testing::PlentyOfMemory;
using testing::TestArchive;
using testing::TestEntry;

std::string Utf8(rt::WideStringView text) { return rt::WideToUtf8(text); }

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

stdfs::path OnDisk(WideString name) {
  std::replace(name.begin(), name.end(), u'\\', u'/');
  return stdfs::path(name);
}


void SetAge(const WideString& name, int32_t age) {
  TWideFileStream stream(name, kFmOpenReadWrite | kFmShareDenyNone);
  ASSERT_EQ(FsSetFileTime(stream.Handle(), age), 0);
}

std::string RandomBytes(size_t n) {
  std::mt19937 random(11);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(random());
  return s;
}

constexpr int32_t kEntryAge = 0x5A216000;  // 2025-01-01 12:00:00, the builder's default

// An archiver over archive bytes in memory that writes under a temporary
// folder and records every failure.
struct Extraction {
  explicit Extraction(const TestArchive& archive) : archiver(BuildZip(archive)) {
    archiver.SetBaseDir(temp.Name());
    archiver.OnProcessFileFailure = [this](rt::TObject*, const WideString& name,
                                           TZipProcessOperation, int32_t, int32_t errorCode,
                                           const WideString&, TZipAction& action) {
      failures.push_back(Utf8(name) + " " + std::to_string(errorCode));
      action = answers.empty() ? fxaIgnore : answers.front();
      if (!answers.empty()) answers.erase(answers.begin());
    };
  }
  void Run() { archiver.ExtractMatching(u"*.*", 0x28BF, u""); }

  TempFolder temp;
  MemoryArchiver archiver;
  std::vector<std::string> failures;
  std::vector<TZipAction> answers;  // the failure answers in turn; then Ignore
};

TEST(ExtractMatchingTest, EveryEventInItsPlace) {
  Extraction x(TestArchive{.entries = {
      {.name = "docs/", .data = "", .attributes = 0x10},
      {.name = "docs/a.txt", .data = "alpha", .deflate = true},
      {.name = "b.txt", .data = "beta"},
      {.name = "c.txt", .data = "gamma"}}});
  std::vector<std::string> log;
  auto& a = x.archiver;
  a.OnOverallProgress = [&](rt::TObject*, double p, TZipProcessOperation op, TZipProgressPhase ph,
                            bool&) {
    EXPECT_EQ(op, poExtract);
    log.push_back(Utf8(rt::Format(u"overall %.0f %d", {p, int{ph}})));
  };
  a.OnFileProgress = [&](rt::TObject*, const WideString& n, double p, TZipProcessOperation,
                         TZipProgressPhase ph, bool&) {
    log.push_back(Utf8(rt::Format(u"file %s %.0f %d", {n, p, int{ph}})));
  };
  a.OnConfirmProcessFile = [&](rt::TObject*, const WideString& n, TZipProcessOperation,
                               bool& confirm) {
    log.push_back("confirm " + Utf8(n));
    confirm = n != u"b.txt";
  };
  a.OnExtractFile = [&](rt::TObject*, WideString& n, uint32_t&, const AnsiString&) {
    log.push_back("extract " + Utf8(n));
  };
  x.Run();
  const std::vector<std::string> expected = {
      "overall 0 0",
      "confirm docs\\", "file docs\\ 0 0", "extract docs\\", "file docs\\ 100 2",
      "confirm docs\\a.txt", "file docs\\a.txt 0 0", "extract docs\\a.txt",
      "file docs\\a.txt 0 1", "overall 25 1", "file docs\\a.txt 100 2",
      "confirm b.txt",
      "confirm c.txt", "file c.txt 0 0", "extract c.txt", "file c.txt 0 1", "overall 50 1",
      "file c.txt 100 2",
      "overall 100 2"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(a.SelectedCount(), 4);
  EXPECT_EQ(a.ProcessedCount(), 3);
  EXPECT_TRUE(FsDirectoryExists(x.temp / u"docs"));
  EXPECT_EQ(ReadFile(x.temp / u"docs\\a.txt"), "alpha");
  EXPECT_FALSE(FsFileExists(x.temp / u"b.txt"));
  EXPECT_EQ(ReadFile(x.temp / u"c.txt"), "gamma");
  EXPECT_TRUE(x.failures.empty());
}

TEST(ExtractMatchingTest, FoldersEmptyFilesAndCreateDirsOff) {
  // Folders written with a trailing "\\", or named by their attribute
  // alone, are folders too.
  const TestArchive archive{.entries = {{.name = "top/", .data = "", .attributes = 0x10},
                                        {.name = "top/sub/", .data = "", .attributes = 0x10},
                                        {.name = "top/sub/empty.txt", .data = ""},
                                        {.name = "docs/a.txt", .data = "a"},
                                        {.name = "win\\style\\", .data = ""},
                                        {.name = "byattribute", .data = "", .attributes = 0x10}}};
  Extraction with(archive);
  with.Run();
  EXPECT_TRUE(with.failures.empty());
  EXPECT_TRUE(FsDirectoryExists(with.temp / u"win\\style"));
  EXPECT_TRUE(FsDirectoryExists(with.temp / u"byattribute"));
  EXPECT_TRUE(FsDirectoryExists(with.temp / u"top\\sub"));
  EXPECT_EQ(ReadFile(with.temp / u"top\\sub\\empty.txt"), "");
  EXPECT_EQ(ReadFile(with.temp / u"docs\\a.txt"), "a");

  Extraction flat(archive);
  flat.archiver.Options().SetCreateDirs(false);
  flat.Run();
  EXPECT_EQ(ReadFile(flat.temp / u"empty.txt"), "");
  EXPECT_EQ(ReadFile(flat.temp / u"a.txt"), "a");
  EXPECT_FALSE(FsDirectoryExists(flat.temp / u"top"));
  EXPECT_FALSE(FsDirectoryExists(flat.temp / u"docs"));
  EXPECT_FALSE(FsDirectoryExists(flat.temp / u"byattribute"));
  EXPECT_EQ(flat.archiver.ProcessedCount(), 6);
}

TEST(ExtractMatchingTest, TimesAndAttributesComeFromTheDirectory) {
  const TestArchive archive{.entries = {
      {.name = "ro.txt", .data = "r", .attributes = 0x21, .time = 0x7A3D, .date = 0x4E9C}}};
  const int32_t age = 0x4E9C7A3D;  // 2019-04-28 15:17:58, local time
  Extraction x(archive);
  x.Run();
  EXPECT_EQ(FsFileAge(x.temp / u"ro.txt"), age);
  EXPECT_NE(FsGetAttributes(x.temp / u"ro.txt") & kFaReadOnly, 0u);

  Extraction plain(archive);
  plain.archiver.Options().SetSetAttributes(false);
  plain.Run();
  EXPECT_EQ(FsGetAttributes(plain.temp / u"ro.txt") & kFaReadOnly, 0u);
}

struct OverwriteCase {
  const char* title;
  TZipOverwriteMode mode;
  int32_t existingAge;  // kNoAge: a time before 1980, which has no packed age
  bool replaced;
};

class OverwriteTest : public ::testing::TestWithParam<OverwriteCase> {};

TEST_P(OverwriteTest, ExistingFileIsReplacedOrKept) {
  const OverwriteCase& c = GetParam();
  Extraction x(TestArchive{.entries = {{.name = "f.txt", .data = "new"}}});
  WriteFile(x.temp / u"f.txt", "old");
  if (c.existingAge == kNoAge) {
    stdfs::last_write_time(OnDisk(x.temp / u"f.txt"), stdfs::file_time_type::clock::now() -
                                                          std::chrono::hours(24 * 365 * 60));
  } else {
    SetAge(x.temp / u"f.txt", c.existingAge);
  }
  x.archiver.Options().SetOverwriteMode(c.mode);
  x.Run();
  EXPECT_EQ(ReadFile(x.temp / u"f.txt"), c.replaced ? "new" : "old");
  EXPECT_EQ(x.archiver.ProcessedCount(), 1);
}

constexpr int32_t kOlder = 0x50216000;   // 2020
constexpr int32_t kNewer = 0x7C216000;   // 2042

INSTANTIATE_TEST_SUITE_P(
    Modes, OverwriteTest,
    ::testing::Values(OverwriteCase{"Always", omAlways, kNewer, true},
                      OverwriteCase{"Never", omNever, kOlder, false},
                      OverwriteCase{"IfNewerOverAnOlderFile", omIfNewer, kOlder, true},
                      OverwriteCase{"IfNewerOverAFileOfTheSameAge", omIfNewer, kEntryAge, false},
                      OverwriteCase{"IfNewerOverANewerFile", omIfNewer, kNewer, false},
                      OverwriteCase{"IfNewerOverAnAgelessFile", omIfNewer, kNoAge, true},
                      OverwriteCase{"IfOlderOverANewerFile", omIfOlder, kNewer, true},
                      OverwriteCase{"IfOlderOverAFileOfTheSameAge", omIfOlder, kEntryAge, false},
                      OverwriteCase{"IfOlderOverAnOlderFile", omIfOlder, kOlder, false},
                      OverwriteCase{"IfOlderOverAnAgelessFile", omIfOlder, kNoAge, false}),
    [](const auto& param) { return std::string(param.param.title); });

TEST(ExtractMatchingTest, PromptAndReadOnlyFiles) {
  const TestArchive archive{.entries = {{.name = "a.txt", .data = "new"},
                                        {.name = "b.txt", .data = "new"},
                                        {.name = "c.txt", .data = "new"}}};
  Extraction x(archive);
  for (const char16_t* n : {u"a.txt", u"b.txt", u"c.txt"}) WriteFile(x.temp / n, "old");
  x.archiver.Options().SetOverwriteMode(omPrompt);
  std::vector<std::string> asked;
  x.archiver.OnConfirmOverwrite = [&](rt::TObject*, const WideString& source, WideString& dest,
                                      bool& confirm) {
    asked.push_back(Utf8(source));
    EXPECT_EQ(dest, x.temp / source);
    confirm = source != u"b.txt";
    if (source == u"c.txt") dest = x.temp / u"c-renamed.txt";
  };
  x.Run();
  EXPECT_EQ(asked, (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(ReadFile(x.temp / u"a.txt"), "new");
  EXPECT_EQ(ReadFile(x.temp / u"b.txt"), "old");
  EXPECT_EQ(ReadFile(x.temp / u"c.txt"), "old");
  EXPECT_EQ(ReadFile(x.temp / u"c-renamed.txt"), "new");

  for (bool replace : {false, true}) {
    Extraction y(TestArchive{.entries = {{.name = "ro.txt", .data = "new"}}});
    WriteFile(y.temp / u"ro.txt", "old");
    ASSERT_TRUE(FsSetAttributes(y.temp / u"ro.txt", kFaReadOnly));
    y.archiver.Options().SetReplaceReadOnly(replace);
    y.Run();
    EXPECT_EQ(ReadFile(y.temp / u"ro.txt"), replace ? "new" : "old");
    EXPECT_TRUE(y.failures.empty());
    EXPECT_EQ(y.archiver.ProcessedCount(), 1);
  }
}

TEST(ExtractMatchingTest, FailuresAreRetriedIgnoredOrAbortTheRun) {
  const TestArchive archive{.entries = {{.name = "bad.txt", .data = "bad", .corruptCrc = true},
                                        {.name = "good.txt", .data = "good"}}};
  Extraction ignored(archive);
  ignored.answers = {fxaRetry, fxaRetry, fxaIgnore};
  ignored.Run();
  EXPECT_EQ(ignored.failures, (std::vector<std::string>(3, "bad.txt 4")));
  EXPECT_FALSE(FsFileExists(ignored.temp / u"bad.txt"));
  EXPECT_EQ(ReadFile(ignored.temp / u"good.txt"), "good");
  EXPECT_EQ(ignored.archiver.ProcessedCount(), 1);

  Extraction aborted(archive);
  aborted.answers = {fxaAbort};
  bool ended = false;
  aborted.archiver.OnOverallProgress = [&](rt::TObject*, double, TZipProcessOperation,
                                           TZipProgressPhase phase, bool&) {
    ended = ended || phase == ppEnd;
  };
  aborted.Run();
  EXPECT_EQ(aborted.failures.size(), 1u);
  EXPECT_FALSE(FsFileExists(aborted.temp / u"good.txt"));
  EXPECT_TRUE(ended);
  EXPECT_EQ(aborted.archiver.ProcessedCount(), 0);

  Extraction kept(archive);
  kept.archiver.SetExtractCorruptedFiles(true);
  kept.Run();
  EXPECT_TRUE(kept.failures.empty());
  EXPECT_EQ(ReadFile(kept.temp / u"bad.txt"), "bad");
}

TEST(ExtractMatchingTest, CancelStopsAtAChunkAndIsNeverUndone) {
  const PlentyOfMemory memory;
  Extraction x(TestArchive{.entries = {{.name = "big.bin", .data = RandomBytes(2'500'000)},
                                       {.name = "next.txt", .data = "n"}}});
  std::vector<std::string> phases;
  x.archiver.OnFileProgress = [&](rt::TObject*, const WideString& n, double,
                                  TZipProcessOperation, TZipProgressPhase phase, bool& cancel) {
    phases.push_back(Utf8(n) + " " + std::to_string(phase));
    if (phase == ppProcess && x.archiver.EntryBytesDone() > 0) cancel = true;
    if (phase == ppEnd) cancel = false;
  };
  x.Run();
  EXPECT_EQ(phases, (std::vector<std::string>{"big.bin 0", "big.bin 1", "big.bin 1", "big.bin 2"}));
  EXPECT_TRUE(x.archiver.Cancelled());
  EXPECT_FALSE(FsFileExists(x.temp / u"big.bin"));
  EXPECT_FALSE(FsFileExists(x.temp / u"next.txt"));
  EXPECT_EQ(x.archiver.ProcessedCount(), 0);
  EXPECT_TRUE(x.failures.empty());
}

TEST(ExtractMatchingTest, OutputFileLockedByAnotherOpenIsRetried) {
#ifndef _WIN32
  GTEST_SKIP() << "POSIX has no locks that keep another program from creating a file";
#else
  Extraction x(TestArchive{.entries = {{.name = "locked.txt", .data = "new"}}});
  WriteFile(x.temp / u"locked.txt", "old");
  auto holder = std::make_unique<TWideFileStream>(x.temp / u"locked.txt",
                                                  kFmOpenReadWrite | kFmShareExclusive);
  x.archiver.OnProcessFileFailure = [&](rt::TObject*, const WideString&, TZipProcessOperation,
                                        int32_t native, int32_t code, const WideString&,
                                        TZipAction& action) {
    x.failures.push_back(std::to_string(code) + "/" + std::to_string(native));
    holder.reset();
    action = fxaRetry;
  };
  x.Run();
  EXPECT_EQ(x.failures, (std::vector<std::string>{"9/19"}));
  EXPECT_EQ(ReadFile(x.temp / u"locked.txt"), "new");
  EXPECT_EQ(x.archiver.ProcessedCount(), 1);
#endif
}

TEST(ExtractMatchingTest, FullDiskDeletesThePartialFileAndStopsSilently) {
#ifdef _WIN32
  GTEST_SKIP() << "a full disk is made natively with a file-size limit";
#else
  // In a child process, whose file-size limit the rest of the tests do
  // not share. The exit status carries what the child saw, one bit each.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{200'000, 200'000};
    setrlimit(RLIMIT_FSIZE, &limit);
    int seen = 0;
    try {
      Extraction x(TestArchive{.entries = {{.name = "big.bin", .data = RandomBytes(1'500'000)},
                                           {.name = "next.txt", .data = "n"}}});
      x.Run();
      if (FsFileExists(x.temp / u"big.bin")) seen |= 1;
      if (FsFileExists(x.temp / u"next.txt")) seen |= 2;
      if (!x.failures.empty()) seen |= 4;
      if (x.archiver.Cancelled()) seen |= 8;
    } catch (...) {
      seen |= 16;
    }
    _exit(seen);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 8) << "1 file left, 2 run went on, 4 failure event, 16 raised";
#endif
}

TEST(LeavesDestinationTest, NamesThatWouldLeaveTheFolder) {
  for (const char16_t* name : {u"..\\x.txt", u"a\\..\\..\\x.txt", u"a\\..", u"\\x.txt",
                               u"\\\\server\\share\\x", u"C:x.txt", u"C:\\x.txt", u"a\\\\b",
                               u"file.txt:stream", u".. \\x.txt", u"...\\x.txt", u". .\\x"})
    EXPECT_TRUE(LeavesDestination(name)) << Utf8(name);
  EXPECT_TRUE(LeavesDestination(WideString(u"a\0\\..", 5)));
  for (const char16_t* name : {u"x.txt", u"a\\b\\c.txt", u"..a\\b", u"a..b\\c", u".\\x.txt",
                               u"a\\.hidden", u"docs\\", u""})
    EXPECT_FALSE(LeavesDestination(name)) << Utf8(name);
}

TEST(ExtractMatchingTest, StoredNamesStayInsideTheDestination) {
  Extraction x(TestArchive{.entries = {{.name = "../escaped.txt", .data = "e"},
                                       {.name = "/absolute.txt", .data = "a"},
                                       {.name = "in/../../up.txt", .data = "u"},
                                       {.name = "ok.txt", .data = "ok"}}});
  x.archiver.SetBaseDir(x.temp / u"inner");
  x.Run();
  EXPECT_EQ(x.failures, (std::vector<std::string>{"..\\escaped.txt 9", "\\absolute.txt 9",
                                                  "in\\..\\..\\up.txt 9"}));
  EXPECT_EQ(ReadFile(x.temp / u"inner\\ok.txt"), "ok");
  EXPECT_FALSE(FsFileExists(x.temp / u"escaped.txt"));
  EXPECT_FALSE(FsFileExists(x.temp / u"up.txt"));
  EXPECT_FALSE(FsDirectoryExists(x.temp / u"inner\\in"));

  // A name the application's handler gives is used as given.
  Extraction chosen(TestArchive{.entries = {{.name = "x.txt", .data = "x"}}});
  chosen.archiver.SetBaseDir(chosen.temp / u"inner");
  chosen.archiver.OnExtractFile = [](rt::TObject*, WideString& name, uint32_t&,
                                     const AnsiString&) { name = u"..\\sibling.txt"; };
  chosen.Run();
  EXPECT_TRUE(chosen.failures.empty());
  EXPECT_EQ(ReadFile(chosen.temp / u"sibling.txt"), "x");
}

TEST(ExtractMatchingTest, StreamErrorLeavesTheRunAndDeletesTheFile) {
  Bytes bytes = BuildZip(TestArchive{.entries = {{.name = "short.txt", .data = "s"},
                                                 {.name = "after.txt", .data = "a"}}});
  testing::PutLE32(bytes, testing::FindFirst(bytes, TCentralHeader::kSignature) + 42,
                   static_cast<uint32_t>(bytes.size() - 10));
  TempFolder temp;
  MemoryArchiver archiver(bytes);
  archiver.SetBaseDir(temp.Name());
  EXPECT_THROW(archiver.ExtractMatching(u"*.*", 0x28BF, u""), rt::EReadError);
  EXPECT_FALSE(FsFileExists(temp / u"short.txt"));
  EXPECT_FALSE(FsFileExists(temp / u"after.txt"));
  // The run's lock went with it.
  std::thread([] {
    EXPECT_TRUE(ZipProcessLock().try_lock());
    ZipProcessLock().unlock();
  }).join();
}

TEST(ExtractMatchingTest, EmptyBaseDirIsTheFolderCurrentAtTheFirstEntry) {
  TempFolder temp;
  struct RestoreCurrentPath {
    ~RestoreCurrentPath() { stdfs::current_path(path); }
    stdfs::path path = stdfs::current_path();
  } restore;
  stdfs::current_path(OnDisk(temp.Name()));
  MemoryArchiver archiver(BuildZip(TestArchive{.entries = {{.name = "here.txt", .data = "h"}}}));
  archiver.ExtractMatching(u"*.*", 0x28BF, u"");
  stdfs::create_directory("sub");
  stdfs::current_path("sub");
  FsDeleteFile(temp / u"here.txt");
  archiver.ExtractMatching(u"*.*", 0x28BF, u"");
  EXPECT_EQ(ReadFile(temp / u"here.txt"), "h");
  EXPECT_FALSE(FsFileExists(temp / u"sub\\here.txt"));
  EXPECT_EQ(archiver.DefaultBaseDir(), FsFullPath(temp.Name()));
}

}  // namespace
}  // namespace zip
