#include "zip/entry_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <optional>
#include <random>
#include <tuple>

#include "runtime/exceptions.h"
#include "zip/tests/test_memory_archiver.h"
#include "zip/tests/test_zip_builder.h"
#include "zip/zip_exception.h"

namespace zip {
namespace {

using testing::Bytes;
using testing::FreeMemory;
using testing::PlentyOfMemory;
using testing::MemoryArchiver;
using testing::TestArchive;
using testing::TestEntry;

std::string RandomBytes(size_t n, unsigned seed = 7) {
  std::mt19937 random(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(random());
  return s;
}

std::string Text(size_t n) {
  std::string s;
  for (int i = 0; s.size() < n; ++i) s += "line " + std::to_string(i * 7919 % 1000) + " of the text\n";
  s.resize(n);
  return s;
}

Bytes OneEntry(const TestEntry& entry) { return BuildZip(TestArchive{.entries = {entry}}); }

std::string BigEndian32(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}

TEST(EstimateOutputSizeTest, IsAPowerOfTwoFromTheOverallRatio) {
  // r = 3: (3 + 1) * (1,048,576 + 524,288 + 267) = 6,292,524, low byte
  // cleared 6,292,480, log2 about 22.58.
  EXPECT_EQ(EstimateOutputSize(3'000'000, 1'000'000, 1'048'576), 8'388'608);
  // Sizes without a ratio still give a usable buffer.
  EXPECT_EQ(EstimateOutputSize(5, 0, 256), 512);
  EXPECT_EQ(EstimateOutputSize(~uint64_t{0}, 1, 1'048'576), EstimateOutputSize(0, 1, 1'048'576));
  EXPECT_EQ(EstimateOutputSize(uint64_t{1} << 62, 1, 1'048'576), int64_t{1} << 62);
}

TEST(HalvedChunkLengthTest, HalvesUntilTheEstimateFitsTheCeiling) {
  const uint64_t u = 3'000'000, c = 1'000'000;
  EXPECT_EQ(HalvedChunkLength(1'048'576, u, c, uint64_t{1} << 30), 1'048'576);
  // 8 MB does not fit under 8 MB, 4 MB does.
  EXPECT_EQ(HalvedChunkLength(1'048'576, u, c, 8'388'608), 524'288);
  // Nothing fits: down to the first length below 512.
  EXPECT_EQ(HalvedChunkLength(1'048'576, u, c, 0), 256);
  EXPECT_EQ(HalvedChunkLength(1000, u, c, 0), 500);
  // A remainder below 512 is used as it is.
  EXPECT_EQ(HalvedChunkLength(300, u, c, 0), 300);
}

struct DecodeCase {
  const char* title;
  // Built when the case runs: the inputs are megabytes, and every process
  // of the suite registers every case, whichever one it then runs.
  TestEntry (*entry)();
  int32_t errorCode = 0;  // 0: decodes without error, else a TZipErrorCode
  bool extractCorrupted = false;
  std::string password;
  std::string expected;  // the output, when it is not the entry's data
};

// Entries up to the whole-entry limit decode in one call unless memory is
// short; with no memory to spare every entry streams through zlib. Both
// ways must come to the same judgement and the same output.
enum class TDecodeWay { Whole, Streamed };

class DecodeOutcomeTest : public ::testing::TestWithParam<std::tuple<DecodeCase, TDecodeWay>> {};

TEST_P(DecodeOutcomeTest, DecodesOrFails) {
  const DecodeCase& c = std::get<0>(GetParam());
  const TestEntry entry = c.entry();
  const PlentyOfMemory plenty;
  std::optional<FreeMemory<0>> none;
  if (std::get<1>(GetParam()) == TDecodeWay::Streamed) none.emplace();
  MemoryArchiver archiver(OneEntry(entry));
  archiver.SetExtractCorruptedFiles(c.extractCorrupted);
  archiver.SetPassword(c.password);
  rt::TMemoryStream out;
  try {
    archiver.DecodeEntry(0, out);
    EXPECT_EQ(c.errorCode, 0) << "decoded without error";
  } catch (const EZipException& e) {
    EXPECT_EQ(e.ErrorCode(), c.errorCode) << e.what();
  }
  const std::string written(out.Bytes().begin(), out.Bytes().end());
  if (c.expected == "*prefix") {
    // A damaged stream kept as far as it decodes.
    EXPECT_GT(written.size(), 0u);
    EXPECT_LT(written.size(), entry.data.size());
    EXPECT_EQ(written, entry.data.substr(0, written.size()));
  } else if (c.errorCode == 0) {
    EXPECT_EQ(written, c.expected.empty() ? entry.data : c.expected);
  }
  EXPECT_FALSE(archiver.Cancelled());
}

const std::string& SampleText() {
  static const std::string text = Text(200'000);
  return text;
}

const std::string& SampleDeflated() {
  static const std::string deflated = testing::RawDeflate(SampleText());
  return deflated;
}

uint32_t SampleAdler() {
  const std::string& text = SampleText();
  return static_cast<uint32_t>(
      adler32(1, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}

std::string Zeros() { return std::string(3'000'000, '\0'); }

INSTANTIATE_TEST_SUITE_P(
    Entries, DecodeOutcomeTest,
    ::testing::Combine(
        ::testing::Values(
            DecodeCase{"StoredEmpty", [] { return TestEntry{.name = "e", .data = ""}; }},
            DecodeCase{"Stored", [] { return TestEntry{.name = "s", .data = SampleText()}; }},
            DecodeCase{"Deflated",
                       [] { return TestEntry{.name = "d", .data = SampleText(), .deflate = true}; }},
            DecodeCase{"CrcMismatch",
                       [] { return TestEntry{.name = "c", .data = SampleText(), .corruptCrc = true}; },
                       zeInvalidSizeOrCrc},
            DecodeCase{"CrcMismatchKept",
                       [] {
                         return TestEntry{
                             .name = "c", .data = SampleText(), .deflate = true, .corruptCrc = true};
                       },
                       0, true},
            DecodeCase{"CorruptDeflateData",
                       [] {
                         return TestEntry{.name = "x", .data = "abc", .method = 8,
                                          .stored = std::string("\xff\xff\xff\xff", 4)};
                       },
                       zeInvalidSizeOrCrc},
            // The deflate stream's end ends the data: stray bytes that the
            // directory counts after it, in the same chunk or in later ones,
            // are ignored when size and CRC match.
            DecodeCase{"ThreeBytesAfterTheDeflateData",
                       [] {
                         return TestEntry{.name = "t", .data = SampleText(), .method = 8,
                                          .stored = SampleDeflated() + "abc"};
                       }},
            DecodeCase{"StrayBytesAfterTheDeflateData",
                       [] {
                         return TestEntry{.name = "t", .data = SampleText(), .method = 8,
                                          .stored = SampleDeflated() + "abcd"};
                       }},
            DecodeCase{"StrayChunksAfterTheDeflateData",
                       [] {
                         return TestEntry{.name = "t", .data = SampleText(), .method = 8,
                                          .stored = SampleDeflated() + std::string(2'500'000, 'z')};
                       }},
            DecodeCase{"AnAdler32AfterTheDeflateData",
                       [] {
                         return TestEntry{
                             .name = "t", .data = SampleText(), .method = 8,
                             .stored = SampleDeflated() + BigEndian32(SampleAdler()) +
                                       std::string(70'000, 'z')};
                       }},
            // Stray bytes do not excuse a stream that decodes to other data.
            DecodeCase{"StrayBytesAfterAStreamOfOtherData",
                       [] {
                         return TestEntry{.name = "t", .data = SampleText(), .method = 8,
                                          .stored = testing::RawDeflate(SampleText().substr(1)) + "abcd"};
                       },
                       zeInvalidSizeOrCrc},
            DecodeCase{"StreamCutShortOfItsEnd",
                       [] {
                         return TestEntry{.name = "t", .data = SampleText(), .method = 8,
                                          .stored = SampleDeflated().substr(0, SampleDeflated().size() / 2)};
                       },
                       zeInvalidSizeOrCrc},
            DecodeCase{"LongerLocalName",
                       [] {
                         return TestEntry{.name = "n", .data = SampleText(), .deflate = true,
                                          .localName = "a-much-longer-name-in-the-local-header.txt"};
                       }},
            DecodeCase{"RecordedSizeLarger",
                       [] {
                         return TestEntry{
                             .name = "l", .data = SampleText(), .deflate = true, .uncompressedSize = 200'001};
                       },
                       zeInvalidSizeOrCrc},
            // Decoding stops at the recorded size: nothing beyond it is written.
            DecodeCase{"OutputPastTheRecordedSize",
                       [] {
                         return TestEntry{
                             .name = "b", .data = Zeros(), .deflate = true, .uncompressedSize = 1000};
                       },
                       zeInvalidSizeOrCrc},
            DecodeCase{"OutputPastTheRecordedSizeKept",
                       [] {
                         return TestEntry{
                             .name = "b", .data = Zeros(), .deflate = true, .uncompressedSize = 1000};
                       },
                       0, true, "", std::string(1000, '\0')},
            DecodeCase{"OtherMethod",
                       [] { return TestEntry{.name = "z", .data = "abc", .method = 12}; },
                       zeInvalidSizeOrCrc},
            DecodeCase{"EncryptedDeflated",
                       [] {
                         return TestEntry{
                             .name = "p", .data = SampleText(), .deflate = true, .password = "s3cret"};
                       },
                       0, false, "s3cret"},
            // With a data descriptor the header checks against the time.
            DecodeCase{"EncryptedStoredWithDescriptor",
                       [] {
                         return TestEntry{.name = "p", .data = SampleText(), .flags = kFlagDataDescriptor,
                                          .time = 0x9C21, .password = "s3cret"};
                       },
                       0, false, "s3cret"},
            DecodeCase{"EncryptedShorterThanItsHeader",
                       [] { return TestEntry{.name = "p", .data = "abc", .flags = kFlagEncrypted}; },
                       zeInvalidSizeOrCrc},
            DecodeCase{"EncryptedDeflatedWrongAtTheEnd",
                       [] {
                         return TestEntry{.name = "p", .data = SampleText(), .deflate = true,
                                          .corruptCrc = true, .password = "s3cret"};
                       },
                       zeInvalidSizeOrCrc, false, "s3cret"},
            DecodeCase{"EncryptedDeflatedCutShortKept",
                       [] {
                         return TestEntry{.name = "p", .data = SampleText(), .method = 8,
                                          .stored = SampleDeflated().substr(0, SampleDeflated().size() / 2),
                                          .password = "s3cret"};
                       },
                       0, true, "s3cret", "*prefix"}),
        ::testing::Values(TDecodeWay::Whole, TDecodeWay::Streamed)),
    [](const auto& param) {
      return std::string(std::get<0>(param.param).title) +
             (std::get<1>(param.param) == TDecodeWay::Whole ? "Whole" : "Streamed");
    });

TEST(DecodeEntryTest, Deflate64IsRefusedWithoutTheComponentName) {
  MemoryArchiver archiver(OneEntry({.name = "d", .data = "abc", .method = 9}));
  try {
    archiver.Decode(0);
    FAIL() << "decoded";
  } catch (const EZipException& e) {
    EXPECT_EQ(e.ErrorCode(), zeDeflate64);
    EXPECT_EQ(e.Message().rfind(u"Deflate64", 0), 0u) << e.what();
  }
}

TEST(DecodeEntryTest, ShortLocalHeaderIsAStreamError) {
  Bytes bytes = OneEntry({.name = "a", .data = "abc"});
  // Point the entry at the last 29 bytes of the archive.
  const size_t central = testing::FindFirst(bytes, TCentralHeader::kSignature);
  testing::PutLE32(bytes, central + 42, static_cast<uint32_t>(bytes.size() - 29));
  MemoryArchiver archiver(bytes);
  EXPECT_THROW(archiver.Decode(0), rt::EReadError);
  EXPECT_THROW(archiver.Decode(1), EZipException);
}

TEST(DecodeEntryTest, ChunkSequenceAndPercentagesOfALargeEntry) {
  // Room for a megabyte chunk's output (a 4 MiB estimate at this ratio)
  // under the ceiling of a twentieth, but not for the entry whole: it
  // streams.
  const FreeMemory<uint64_t{100} << 20> memory;
  // 46 stored deflate blocks: exactly 3,000,000 compressed bytes.
  const std::string data = RandomBytes(3'000'000 - 46 * 5);
  const std::string stored = testing::StoredBlocksDeflate(data);
  ASSERT_EQ(stored.size(), 3'000'000u);
  MemoryArchiver archiver(OneEntry({.name = "big/file.bin", .data = data, .method = 8,
                                    .stored = stored}));
  std::vector<std::pair<double, int64_t>> steps;
  std::vector<double> overall;
  archiver.OnFileProgress = [&](rt::TObject*, const WideString& name, double progress,
                                TZipProcessOperation, TZipProgressPhase phase, bool&) {
    EXPECT_EQ(name, u"big\\file.bin");
    EXPECT_EQ(phase, ppProcess);
    steps.emplace_back(progress, archiver.EntryBytesDone());
  };
  archiver.OnOverallProgress = [&](rt::TObject*, double progress, TZipProcessOperation,
                                   TZipProgressPhase, bool&) { overall.push_back(progress); };
  EXPECT_EQ(archiver.Decode(0), data);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0], std::make_pair(0.0, int64_t{0}));
  EXPECT_NEAR(steps[1].first, 34.952533, 1e-6);
  EXPECT_EQ(steps[1].second, 1'048'576);
  EXPECT_NEAR(steps[2].first, 69.905067, 1e-6);
  EXPECT_EQ(steps[2].second, 2'097'152);
  EXPECT_EQ(archiver.EntryBytesTotal(), 3'000'000);
  EXPECT_EQ(overall.size(), 3u);
}

TEST(DecodeEntryTest, TinyMemoryCeilingDecodesInSmallChunks) {
  const FreeMemory<0> memory;
  // More than one full chunk, so that halving starts from 1,048,576; the
  // zeros make some 256-byte chunks expand far beyond their estimate.
  const std::string data = RandomBytes(1'200'000) + std::string(2'000'000, '\0') + Text(50'000);
  MemoryArchiver archiver(OneEntry({.name = "m", .data = data, .deflate = true}));
  std::vector<int64_t> done;
  archiver.OnFileProgress = [&](rt::TObject*, const WideString&, double, TZipProcessOperation,
                                TZipProgressPhase, bool&) {
    done.push_back(archiver.EntryBytesDone());
  };
  EXPECT_EQ(archiver.Decode(0), data);
  ASSERT_GT(done.size(), 3u);
  EXPECT_EQ(done[1], 256);
  EXPECT_EQ(done[2], 512);
}

TEST(DecodeEntryTest, PasswordIsAskedUntilOneFitsOrTheEntryIsSkipped) {
  const Bytes bytes = BuildZip(TestArchive{.entries = {
      {.name = "dir/a.txt", .data = SampleText(), .deflate = true, .password = "right"},
      {.name = "b.txt", .data = "bee", .password = "right"}}});
  MemoryArchiver archiver(bytes);
  archiver.SetPassword("wrong");
  std::vector<std::string> answers = {"still wrong", "right"};
  std::vector<WideString> asked;
  archiver.OnPassword = [&](rt::TObject*, const WideString& name, AnsiString& password,
                            bool& skip) {
    asked.push_back(name);
    if (answers.empty()) {
      skip = true;
      return;
    }
    password = answers.front();
    answers.erase(answers.begin());
  };
  EXPECT_EQ(archiver.Decode(0), SampleText());
  EXPECT_EQ(asked, (std::vector<WideString>{u"dir\\a.txt", u"dir\\a.txt"}));
  // The password that fitted is kept for the next entry.
  EXPECT_EQ(archiver.Password(), "right");
  EXPECT_EQ(archiver.Decode(1), "bee");
  EXPECT_EQ(asked.size(), 2u);

  archiver.SetPassword("");
  EXPECT_EQ(archiver.Decode(1), "");
  EXPECT_TRUE(archiver.SkipCurrent());
  EXPECT_FALSE(archiver.Cancelled());
}

// Takes at most limit bytes; a write that does not fit puts nothing.
class FullDisk : public rt::TMemoryStream {
 public:
  explicit FullDisk(int64_t limit) : limit_(limit) {}
  int64_t Write(const void* buffer, int64_t count) override {
    if (Position() + count > limit_) return 0;
    return TMemoryStream::Write(buffer, count);
  }
  int64_t limit_;
};

// Decodes the archive's only entry onto a disk with room for room bytes,
// twice. Without a handler the entry is cancelled, quietly, after what
// fitted; the bytes written then are returned. With a handler that makes
// room and asks for another try (and whose exception is no answer), the
// question comes once and the whole entry is written.
int64_t ExpectAFullDiskAskedAbout(const Bytes& archive, const std::string& data, int64_t room) {
  MemoryArchiver cancelled(archive);
  FullDisk small(room);
  cancelled.DecodeEntry(0, small);
  EXPECT_TRUE(cancelled.Cancelled());
  EXPECT_EQ(std::string(small.Bytes().begin(), small.Bytes().end()),
            data.substr(0, static_cast<size_t>(small.Size())));

  MemoryArchiver retried(archive);
  FullDisk disk(room);
  int asked = 0;
  retried.OnDiskFull = [&](rt::TObject*, int32_t volume, const WideString&, bool& cancel) {
    EXPECT_EQ(volume, 0);
    ++asked;
    disk.limit_ = INT64_MAX;
    cancel = false;
    throw std::runtime_error("ignored");
  };
  retried.DecodeEntry(0, disk);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(retried.Cancelled());
  EXPECT_EQ(std::string(disk.Bytes().begin(), disk.Bytes().end()), data);
  return small.Size();
}

TEST(DecodeEntryTest, AShortWriteAsksWhatToDo) {
  const PlentyOfMemory memory;
  const std::string data = RandomBytes(2'500'000);
  // Stored: written a megabyte chunk at a time.
  EXPECT_EQ(ExpectAFullDiskAskedAbout(OneEntry({.name = "f", .data = data}), data, 1'500'000),
            1'048'576);
}

// An entry decoded whole is written in pieces, each announced as a chunk
// of a streamed entry is, with the progress in compressed bytes.
TEST(DecodeEntryTest, PieceSequenceAndPercentagesOfAWholeEntry) {
  const PlentyOfMemory memory;
  const std::string data = RandomBytes(static_cast<size_t>(kWholeEntryLimit / 2 - kWholeEntryPiece / 2));
  const std::string stored = testing::StoredBlocksDeflate(data);
  const auto compressed = static_cast<int64_t>(stored.size());
  MemoryArchiver archiver(OneEntry({.name = "f", .data = data, .method = 8, .stored = stored}));
  std::vector<std::pair<double, int64_t>> steps;
  archiver.OnFileProgress = [&](rt::TObject*, const WideString&, double progress,
                                TZipProcessOperation, TZipProgressPhase, bool&) {
    steps.emplace_back(progress, archiver.EntryBytesDone());
  };
  EXPECT_EQ(archiver.Decode(0), data);
  // Half the limit less half a piece: 16 pieces, the last one short.
  ASSERT_EQ(steps.size(), 16u);
  for (size_t k = 0; k < steps.size(); ++k) {
    const int64_t done = compressed * (static_cast<int64_t>(k) * kWholeEntryPiece) /
                         static_cast<int64_t>(data.size());
    EXPECT_EQ(steps[k].second, done) << k;
    EXPECT_DOUBLE_EQ(steps[k].first, static_cast<double>(done) / static_cast<double>(compressed) * 100) << k;
  }
}

// A handler's cancel between pieces ends the entry: nothing more is
// written and no error is reported.
TEST(DecodeEntryTest, CancelBetweenThePiecesOfAWholeEntry) {
  const PlentyOfMemory memory;
  const std::string data = Text(static_cast<size_t>(kWholeEntryPiece * 3));
  MemoryArchiver archiver(OneEntry({.name = "f", .data = data, .deflate = true}));
  int announced = 0;
  archiver.OnFileProgress = [&](rt::TObject*, const WideString&, double, TZipProcessOperation,
                                TZipProgressPhase, bool& cancel) { cancel = ++announced == 3; };
  rt::TMemoryStream out;
  archiver.DecodeEntry(0, out);
  EXPECT_TRUE(archiver.Cancelled());
  EXPECT_EQ(announced, 3);
  EXPECT_EQ(out.Size(), 2 * kWholeEntryPiece);
}

TEST(DecodeEntryTest, AFullDiskDuringAWholeEntryAsksWhatToDo) {
  const PlentyOfMemory memory;
  const std::string data = RandomBytes(static_cast<size_t>(kWholeEntryPiece * 10));
  const Bytes archive = OneEntry({.name = "f", .data = data, .deflate = true});
  EXPECT_EQ(ExpectAFullDiskAskedAbout(archive, data, kWholeEntryPiece * 5 + kWholeEntryPiece / 2),
            5 * kWholeEntryPiece);
}

// Around the limit: the largest entry decoded whole and the smallest one
// streamed both decode, and both fail when the directory claims a byte
// more than the stream holds.
TEST(DecodeEntryTest, EntriesAtAndPastTheWholeEntryLimit) {
  const PlentyOfMemory memory;
  for (const int64_t size : {kWholeEntryLimit, kWholeEntryLimit + 1}) {
    // Mostly zeros: quick to deflate.
    std::string data = RandomBytes(static_cast<size_t>(std::min<int64_t>(size, 4096)));
    data.resize(static_cast<size_t>(size), '\0');
    TestEntry entry{.name = "f", .data = data, .deflate = true};
    MemoryArchiver archiver(OneEntry(entry));
    EXPECT_EQ(archiver.Decode(0), data) << size;
    entry.uncompressedSize = static_cast<uint64_t>(size) + 1;
    MemoryArchiver claimingMore(OneEntry(entry));
    EXPECT_THROW(claimingMore.Decode(0), EZipException) << size;
  }
}

// Past the limit a deflated entry's output is written on another thread
// while the next piece inflates: a full disk is still asked about once per
// refusal, from the decoder's thread, and the CRC still covers every piece.
TEST(DecodeEntryTest, APipelinedEntryAsksAboutAFullDiskAndChecksItsCrc) {
  const PlentyOfMemory memory;
  const std::string data = RandomBytes(static_cast<size_t>(kWholeEntryLimit + 3 * kOutputBufferLimit));
  const std::string stored = testing::StoredBlocksDeflate(data);
  const Bytes archive = OneEntry({.name = "f", .data = data, .method = 8, .stored = stored});
  EXPECT_LE(ExpectAFullDiskAskedAbout(archive, data, kOutputBufferLimit * 2), kOutputBufferLimit * 2);

  MemoryArchiver wrongCrc(
      OneEntry({.name = "f", .data = data, .corruptCrc = true, .method = 8, .stored = stored}));
  try {
    wrongCrc.Decode(0);
    FAIL() << "decoded";
  } catch (const EZipException& e) {
    EXPECT_EQ(e.ErrorCode(), zeInvalidSizeOrCrc);
  }
}

}  // namespace
}  // namespace zip
