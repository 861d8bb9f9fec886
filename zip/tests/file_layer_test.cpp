#include "zip/file_layer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/stock_texts.h"
#include "zip/path_functions.h"
#include "zip/tests/test_files.h"
#include "zip/wide_file_stream.h"

namespace zip {
namespace {

namespace stdfs = std::filesystem;

// The file layer's names use "\" everywhere; the standard library takes
// "/" on every platform.
stdfs::path OnDisk(WideString name) {
  for (auto& c : name)
    if (c == u'\\') c = u'/';
  return stdfs::path(name);
}

WideString LayerName(const stdfs::path& path) {
  WideString name = path.u16string();
  for (auto& c : name)
    if (c == u'/') c = u'\\';
  return WithoutTrailingBackslash(name);
}

using testing::TempFolder;
using testing::WriteFile;

int32_t PackedAge(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                  unsigned second) {
  const uint32_t date = (year - 1980) << 9 | month << 5 | day;
  const uint32_t time = hour << 11 | minute << 5 | second / 2;
  return static_cast<int32_t>(date << 16 | time);
}

class FileLayerTest : public ::testing::Test {
 protected:
  TempFolder temp_;
};

TEST(FsForceDirectoriesTest, DrivesRootsAndShortNamesCountAsPresent) {
  for (const char16_t* root : {u"C:\\", u"C:", u"C:\\\\", u"\\", u"q~", u"q~\\"})
    EXPECT_TRUE(FsForceDirectories(root)) << rt::WideToUtf8(root);
  EXPECT_FALSE(stdfs::exists("q~"));
}

TEST(FsForceDirectoriesTest, EmptyPathAndMissingRelativeFirstFolderRaise) {
  const WideString relative = u"quimora-missing-first\\second";
  ASSERT_FALSE(stdfs::exists(OnDisk(relative).parent_path()));
  for (const WideString& path : {WideString(), relative}) {
    try {
      FsForceDirectories(path);
      ADD_FAILURE() << "no EFileLayerError for \"" << rt::WideToUtf8(path) << '"';
    } catch (const rt::EFileLayerError& e) {
      EXPECT_EQ(e.Message(), rt::kSCannotCreateDir);
    }
  }
  EXPECT_FALSE(stdfs::exists(OnDisk(relative).parent_path()));
}

TEST_F(FileLayerTest, ForceDirectoriesCreatesEveryMissingFolder) {
  EXPECT_TRUE(FsForceDirectories(temp_ / u"a\\b.d\\Ünï名前\\"));
  EXPECT_TRUE(stdfs::is_directory(OnDisk(temp_ / u"a\\b.d\\Ünï名前")));
  EXPECT_TRUE(FsForceDirectories(temp_ / u"a\\b.d"));
}

TEST_F(FileLayerTest, ForceDirectoriesTakesSlashesAsSeparators) {
  // The system's own spelling of the folder, then names with both kinds
  // of separator after it.
  WideString slashed = temp_.Name();
  std::replace(slashed.begin(), slashed.end(), u'\\', u'/');
  EXPECT_TRUE(FsForceDirectories(slashed + u"/s1/s2\\s3/"));
  EXPECT_TRUE(stdfs::is_directory(OnDisk(temp_ / u"s1\\s2\\s3")));
  EXPECT_TRUE(FsForceDirectories(temp_ / u"m1/m2\\m3"));
  EXPECT_TRUE(stdfs::is_directory(OnDisk(temp_ / u"m1\\m2\\m3")));
}

// Names longer than the plain Windows calls take, through every operation.
TEST_F(FileLayerTest, NamesLongerThanThreeHundredCharactersWorkThroughEveryOperation) {
  WideString folder = temp_.Name();
  for (int i = 0; folder.size() < 320; ++i) folder += u"\\" + WideString(40, static_cast<char16_t>(u'a' + i)) + u"\u540d";
  const WideString file = folder + u"\\programa.exe";
  ASSERT_TRUE(FsForceDirectories(folder + u"\\"));
  EXPECT_TRUE(FsDirectoryExists(folder));
  EXPECT_TRUE(FsCreateDirectory(folder));
  WriteFile(file, "datos");
  EXPECT_TRUE(FsFileExists(file));
  const int32_t age = PackedAge(2019, 9, 1, 8, 30, 0);
  {
    TWideFileStream stream(file, kFmOpenReadWrite | kFmShareExclusive);
    EXPECT_EQ(stream.Size(), 5);
    EXPECT_EQ(FsSetFileTime(stream.Handle(), age), 0);
  }
  EXPECT_EQ(FsFileAge(file), age);
  EXPECT_TRUE(FsSetAttributes(file, kFaReadOnly));
  EXPECT_EQ(FsGetAttributes(file) & kFaReadOnly, kFaReadOnly);
  EXPECT_TRUE(FsSetAttributes(file, kFaArchive));
  EXPECT_TRUE(FsDeleteFile(file));
  EXPECT_FALSE(FsFileExists(file));
}

TEST(FsDisplayNameTest, SpellsNamesAsTheSystemDoes) {
#ifdef _WIN32
  EXPECT_EQ(FsDisplayName(u"C:\\a\\b.txt"), u"C:\\a\\b.txt");
#else
  EXPECT_EQ(FsDisplayName(u"out\\a\\b.txt"), u"out/a/b.txt");
  EXPECT_EQ(FsDisplayName(u"Cannot create file \"\\tmp\\x\""), u"Cannot create file \"/tmp/x\"");
#endif
}

TEST_F(FileLayerTest, ForceDirectoriesStopsAtTheFirstFailure) {
  WriteFile(temp_ / u"a", "in the way");
  EXPECT_FALSE(FsForceDirectories(temp_ / u"a\\b\\c"));
  const int errorOfA = FsLastError();
  // Had "b" been tried, the last error would say its parent is missing.
  EXPECT_FALSE(FsCreateDirectory(temp_ / u"a"));
  EXPECT_EQ(errorOfA, FsLastError());
}

TEST_F(FileLayerTest, CreateDirectoryAcceptsAFolderAlreadyThereButNotAFile) {
  EXPECT_TRUE(FsCreateDirectory(temp_ / u"d"));
  EXPECT_TRUE(FsCreateDirectory(temp_ / u"d"));
  WriteFile(temp_ / u"f", "");
  EXPECT_FALSE(FsCreateDirectory(temp_ / u"f"));
}

TEST_F(FileLayerTest, RemoveDirectoryTakesEmptyFoldersOnly) {
  ASSERT_TRUE(FsForceDirectories(temp_ / u"llena\\vacía\\"));
  WriteFile(temp_ / u"archivo", "x");
  EXPECT_FALSE(FsRemoveDirectory(temp_ / u"llena"));
  EXPECT_FALSE(FsRemoveDirectory(temp_ / u"archivo"));
  EXPECT_TRUE(FsRemoveDirectory(temp_ / u"llena\\vacía"));
  EXPECT_TRUE(FsRemoveDirectory(temp_ / u"llena"));
  EXPECT_FALSE(FsDirectoryExists(temp_ / u"llena"));
  EXPECT_TRUE(FsFileExists(temp_ / u"archivo"));
}

TEST_F(FileLayerTest, QueriesTellFilesFromFolders) {
  const WideString file = temp_ / u"Ünïcødé-名前.txt";
  const WideString folder = temp_ / u"sub.d";
  WriteFile(file, "x");
  ASSERT_TRUE(FsForceDirectories(folder));
  EXPECT_TRUE(stdfs::is_regular_file(OnDisk(file)));
  EXPECT_TRUE(FsFileExists(file));
  EXPECT_FALSE(FsDirectoryExists(file));
  EXPECT_NE(FsFileAge(file), kNoAge);
  EXPECT_FALSE(FsFileExists(folder));
  EXPECT_TRUE(FsDirectoryExists(folder));
  EXPECT_EQ(FsFileAge(folder), kNoAge);
  EXPECT_FALSE(FsFileExists(temp_ / u"missing"));
  EXPECT_FALSE(FsDirectoryExists(temp_ / u"missing"));
  EXPECT_EQ(FsFileAge(temp_ / u"missing"), kNoAge);
  EXPECT_EQ(FsGetAttributes(temp_ / u"missing"), kInvalidAttributes);
}

TEST_F(FileLayerTest, WildcardsMatchInTheLastComponent) {
  WriteFile(temp_ / u"report-01.txt", "");
  WriteFile(temp_ / u"[x].bin", "");
  ASSERT_TRUE(FsForceDirectories(temp_ / u"sub.d"));
  EXPECT_TRUE(FsFileExists(temp_ / u"report-??.txt"));
  EXPECT_TRUE(FsFileExists(temp_ / u"*.txt"));
  EXPECT_FALSE(FsFileExists(temp_ / u"report-?.txt"));
  EXPECT_FALSE(FsFileExists(temp_ / u"*.csv"));
  EXPECT_TRUE(FsFileExists(temp_ / u"[x]*"));
  EXPECT_FALSE(FsFileExists(temp_ / u"sub.*"));
  EXPECT_EQ(FsFileAge(temp_ / u"sub.*"), kNoAge);
}

TEST_F(FileLayerTest, ReadOnlyAttributeRoundTrips) {
  const WideString file = temp_ / u"f";
  WriteFile(file, "");
  ASSERT_TRUE(FsSetAttributes(file, kFaReadOnly));
  EXPECT_EQ(FsGetAttributes(file) & (kFaReadOnly | kFaDirectory), kFaReadOnly);
  ASSERT_TRUE(FsSetAttributes(file, 0));
  EXPECT_EQ(FsGetAttributes(file) & kFaReadOnly, 0u);
  EXPECT_EQ(FsGetAttributes(temp_.Name()) & kFaDirectory, kFaDirectory);
  EXPECT_FALSE(FsSetAttributes(temp_ / u"missing", 0));
}

TEST_F(FileLayerTest, DeleteFileRemovesFilesOnly) {
  WriteFile(temp_ / u"f", "");
  ASSERT_TRUE(FsForceDirectories(temp_ / u"d"));
  EXPECT_TRUE(FsDeleteFile(temp_ / u"f"));
  EXPECT_FALSE(stdfs::exists(OnDisk(temp_ / u"f")));
  EXPECT_FALSE(FsDeleteFile(temp_ / u"f"));
  EXPECT_FALSE(FsDeleteFile(temp_ / u"d"));
  EXPECT_TRUE(stdfs::is_directory(OnDisk(temp_ / u"d")));
}

TEST_F(FileLayerTest, PackedAgesRoundTripThroughTheFile) {
  const WideString file = temp_ / u"aged";
  // The last two have the sign bit of the packed age set.
  for (int32_t age : {PackedAge(1980, 1, 1, 0, 0, 0), PackedAge(2024, 2, 29, 23, 59, 58),
                      PackedAge(2044, 1, 1, 12, 0, 2), PackedAge(2099, 12, 31, 18, 30, 44)}) {
    {
      TWideFileStream stream(file, kFmCreate);
      EXPECT_EQ(FsSetFileTime(stream.Handle(), age), 0);
    }
    EXPECT_EQ(FsFileAge(file), age);
  }
}

TEST_F(FileLayerTest, OddSecondsRoundDownToTwo) {
  const WideString file = temp_ / u"odd";
  const int32_t age = PackedAge(2021, 7, 15, 13, 45, 10);
  {
    TWideFileStream stream(file, kFmCreate);
    ASSERT_EQ(FsSetFileTime(stream.Handle(), age), 0);
  }
  const auto written = stdfs::last_write_time(OnDisk(file));
  stdfs::last_write_time(OnDisk(file), written + std::chrono::milliseconds(1900));
  EXPECT_EQ(FsFileAge(file), age);
}

TEST_F(FileLayerTest, ImpossibleAgesAreRefusedAndLeaveTheTime) {
  const WideString file = temp_ / u"aged";
  const int32_t kept = PackedAge(2001, 5, 6, 7, 8, 10);
  TWideFileStream stream(file, kFmCreate);
  ASSERT_EQ(FsSetFileTime(stream.Handle(), kept), 0);
  for (int32_t age : {PackedAge(2001, 13, 1, 0, 0, 0), PackedAge(2001, 0, 1, 0, 0, 0),
                      PackedAge(2001, 1, 0, 0, 0, 0), PackedAge(2001, 1, 1, 24, 0, 0), kNoAge})
    EXPECT_NE(FsSetFileTime(stream.Handle(), age), 0) << std::hex << age;
  EXPECT_EQ(FsFileAge(file), kept);
}

TEST_F(FileLayerTest, StreamCreatesTruncatesAndOpens) {
  const WideString file = temp_ / u"Ünïcødé-名前.txt";
  WriteFile(file, "hello");
  bool listed = false;
  for (const auto& entry : stdfs::directory_iterator(OnDisk(temp_.Name())))
    listed |= entry.path().filename().u16string() == u"Ünïcødé-名前.txt";
  EXPECT_TRUE(listed);
  {
    TWideFileStream stream(file, kFmOpenRead | kFmShareDenyNone);
    char buffer[5];
    stream.ReadBuffer(buffer, 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_EQ(stream.Size(), 5);
  }
  TWideFileStream recreated(file, kFmCreate);
  EXPECT_EQ(recreated.Size(), 0);
}

// The stream keeps the file pointer itself; after every kind of move it
// must agree with the system's, and the size with the file's.
TEST_F(FileLayerTest, StreamPositionAndSizeFollowTheFile) {
  const WideString file = temp_ / u"moves";
  TWideFileStream stream(file, kFmCreate);
  const auto expectAt = [&](int64_t position, int64_t size) {
    EXPECT_EQ(stream.Position(), position);
    EXPECT_EQ(rt::HandleSeek(stream.Handle(), 0, rt::SeekOrigin::soCurrent), position);
    EXPECT_EQ(stream.Size(), size);
  };
  stream.WriteBuffer("hello", 5);
  expectAt(5, 5);
  stream.Seek(2, rt::SeekOrigin::soBeginning);
  stream.WriteBuffer("XY", 2);
  expectAt(4, 5);
  char buffer[8];
  EXPECT_EQ(stream.Read(buffer, 8), 1);  // short at the end
  expectAt(5, 5);
  EXPECT_EQ(stream.Seek(-3, rt::SeekOrigin::soEnd), 2);
  expectAt(2, 5);
  EXPECT_EQ(stream.Seek(8, rt::SeekOrigin::soCurrent), 10);
  EXPECT_EQ(stream.Read(buffer, 1), 0);  // beyond the end
  stream.WriteBuffer("!", 1);
  expectAt(11, 11);
  stream.SetSize(3);
  expectAt(3, 3);
  EXPECT_THROW(stream.Seek(-4, rt::SeekOrigin::soCurrent), rt::EStreamError);
  stream.SetPosition(0);
  stream.ReadBuffer(buffer, 3);
  EXPECT_EQ(std::string(buffer, 3), "heX");
  expectAt(3, 3);
}

TEST_F(FileLayerTest, OpenRefusesBadModesAndFolders) {
  WriteFile(temp_ / u"f", "");
  for (uint16_t mode : {uint16_t{0x0003}, uint16_t{0x0050}, kFmCreate})
    EXPECT_EQ(FsOpenFile(temp_ / u"f", mode), rt::kInvalidFileHandle) << mode;
  EXPECT_EQ(FsOpenFile(temp_.Name(), kFmOpenRead), rt::kInvalidFileHandle);
}

TEST_F(FileLayerTest, SharingBitsAreHonoured) {
#ifndef _WIN32
  GTEST_SKIP() << "POSIX has only advisory locks";
#endif
  const WideString file = temp_ / u"shared";
  auto opens = [&](uint16_t mode) {
    const FileHandle h = FsOpenFile(file, mode);
    if (h != rt::kInvalidFileHandle) rt::HandleClose(h);
    return h != rt::kInvalidFileHandle;
  };
  {
    TWideFileStream created(file, kFmCreate);
    EXPECT_FALSE(opens(kFmOpenRead | kFmShareDenyNone));
  }
  {
    TWideFileStream reader(file, kFmOpenRead | kFmShareDenyWrite);
    EXPECT_TRUE(opens(kFmOpenRead | kFmShareDenyNone));
    EXPECT_FALSE(opens(kFmOpenWrite | kFmShareDenyNone));
  }
  EXPECT_TRUE(opens(kFmOpenReadWrite | kFmShareExclusive));
}

// A stream that cannot be had raises with the absolute name and the
// system's text for the error that a first failed attempt leaves.
template <typename Error>
void ExpectStreamError(const WideString& name, uint16_t mode, const char16_t* format) {
  const FileHandle first = mode == kFmCreate ? FsCreateFile(name) : FsOpenFile(name, mode);
  ASSERT_EQ(first, rt::kInvalidFileHandle);
  const WideString expected = rt::Format(format, {FsFullPath(name), FsSysErrorMessage(FsLastError())});
  try {
    TWideFileStream stream(name, mode);
    ADD_FAILURE() << "no error for " << rt::WideToUtf8(name);
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), expected);
  }
}

TEST_F(FileLayerTest, FailedStreamNamesTheFullPathAndTheSystemText) {
  const WideString inMissing = temp_ / u"missing\\f.txt";
  const WideString relative = u"quimora-missing-first\\f.txt";
  ExpectStreamError<rt::EFCreateError>(inMissing, kFmCreate, rt::kSFCreateErrorEx);
  ExpectStreamError<rt::EFCreateError>(relative, kFmCreate, rt::kSFCreateErrorEx);
  ExpectStreamError<rt::EFOpenError>(temp_ / u"missing.txt", kFmOpenRead, rt::kSFOpenErrorEx);
  EXPECT_EQ(FsFullPath(relative), WithTrailingBackslash(FsCurrentDir()) + relative);
  EXPECT_EQ(FsFullPath(inMissing), inMissing);
}

TEST(FsSysErrorMessageTest, IsTrimmedSystemText) {
  ASSERT_EQ(FsOpenFile(u"quimora-missing-first", kFmOpenRead), rt::kInvalidFileHandle);
  const WideString text = FsSysErrorMessage(FsLastError());
  ASSERT_FALSE(text.empty());
  EXPECT_GT(text.front(), u' ');
  EXPECT_GT(text.back(), u' ');
  EXPECT_EQ(text.find(u"Unspecified error"), WideString::npos);
}

TEST(FsFullPathTest, ResolvesDotsAndKeepsTheTrailingBackslash) {
  const WideString current = WithTrailingBackslash(FsCurrentDir());
  EXPECT_EQ(FsCurrentDir(), LayerName(stdfs::current_path()));
  EXPECT_EQ(FsFullPath(u"a\\.\\b\\..\\c.txt"), current + u"a\\c.txt");
  EXPECT_EQ(FsFullPath(u"a\\"), current + u"a\\");
}

TEST(IsRemovablePathTest, FloppyDrivesAreRemovable) {
  for (const char16_t* name : {u"a:\\setup.exe", u"B:", u"b:file"})
    EXPECT_TRUE(IsRemovablePath(name)) << rt::WideToUtf8(name);
  for (const char16_t* name : {u"C:\\x", u"x.txt", u"\\\\server\\share\\x", u""})
    EXPECT_FALSE(IsRemovablePath(name)) << rt::WideToUtf8(name);
}

}  // namespace
}  // namespace zip
