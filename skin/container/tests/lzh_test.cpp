#include "skin/container/lzh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot open " << path;
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string VectorPath(const std::string& name) { return std::string(LZHUF_VECTORS) + "/" + name; }

// A skin file body: the unpacked size, then the stream.
struct SizedStream {
  uint32_t size = 0;
  Bytes stream;
};

SizedStream Split(const Bytes& file) {
  SizedStream s;
  if (file.size() < 4) return s;
  s.size = file[0] | file[1] << 8 | file[2] << 16 | static_cast<uint32_t>(file[3]) << 24;
  s.stream.assign(file.begin() + 4, file.end());
  return s;
}

Bytes RandomBytes(size_t n, unsigned seed) {
  std::mt19937 random(seed);
  Bytes b(n);
  for (auto& c : b) c = static_cast<uint8_t>(random());
  return b;
}

// Words with line breaks: long matches, many rebuilds of the tree.
Bytes Text(size_t n, unsigned seed) {
  static const char* const kWords[] = {"skin", "frame", "button", "caption", "menu", "border",
                                       "the", "of", "and", "bitmap", "colour", "[Form]", "="};
  std::mt19937 random(seed);
  std::string s;
  while (s.size() < n) {
    s += kWords[random() % std::size(kWords)];
    s += random() % 9 == 0 ? "\r\n" : " ";
  }
  s.resize(n);
  return Bytes(s.begin(), s.end());
}

const char* const kVectorNames[] = {"empty",         "abc",           "single_byte", "run_60",
                                    "run_4095",      "run_4097",      "spaces_prefill",
                                    "all_bytes",     "random_1000",   "text_300k",
                                    "lowentropy_2m", "dna_3m"};

TEST(LzhVectorListTest, CoversEveryVectorOfTheManifest) {
  std::ifstream manifest(VectorPath("MANIFEST.tsv"));
  ASSERT_TRUE(manifest);
  std::vector<std::string> listed;
  std::string line;
  std::getline(manifest, line);  // the column names
  while (std::getline(manifest, line))
    if (!line.empty()) listed.push_back(line.substr(0, line.find('\t')));
  std::vector<std::string> known(std::begin(kVectorNames), std::end(kVectorNames));
  known.push_back("truncated_text");  // checked on its own below
  std::sort(listed.begin(), listed.end());
  std::sort(known.begin(), known.end());
  EXPECT_EQ(listed, known);
}

class LzhVectorTest : public ::testing::TestWithParam<const char*> {
 protected:
  Bytes Packed() const { return ReadFile(VectorPath(std::string(GetParam()) + ".lzh")); }
  Bytes Original() const { return ReadFile(VectorPath(std::string(GetParam()) + ".bin")); }
};

TEST_P(LzhVectorTest, DecodesToTheOriginal) {
  const SizedStream packed = Split(Packed());
  const Bytes original = Original();
  ASSERT_EQ(packed.size, original.size());
  const Bytes decoded = LzhUnpack(packed.stream, packed.size);
  ASSERT_EQ(decoded.size(), original.size());
  EXPECT_TRUE(decoded == original);
}

// The exact decoding takes every stream of the reference encoder.
TEST_P(LzhVectorTest, DecodesExactlyToTheOriginal) {
  const SizedStream packed = Split(Packed());
  EXPECT_TRUE(LzhUnpackExact(packed.stream, packed.size) == Original());
}

// The encoder follows the reference one step for step, matches included,
// so it produces the very same streams.
TEST_P(LzhVectorTest, EncodesToTheReferenceStream) {
  const Bytes encoded = LzhPack(Original());
  const Bytes expected = Split(Packed()).stream;
  ASSERT_EQ(encoded.size(), expected.size());
  EXPECT_TRUE(encoded == expected);
}

INSTANTIATE_TEST_SUITE_P(Shared, LzhVectorTest, ::testing::ValuesIn(kVectorNames),
                         [](const auto& p) { return std::string(p.param); });

TEST(LzhDecodeTest, ThreeLiteralsFillTheLastByteWithZeroBits) {
  const uint8_t stream[] = {0xF6, 0xFB, 0xBD, 0xE0};
  static_assert(sizeof stream == 4);
  EXPECT_EQ(LzhUnpack(stream, 3), (Bytes{'a', 'b', 'c'}));
}

// Cut in the middle: the part before the cut decodes as the whole stream
// would; after it, missing bytes read as zero bits until the size is reached.
TEST(LzhDecodeTest, TruncatedStreamDecodesItsPrefixAndEnds) {
  const SizedStream packed = Split(ReadFile(VectorPath("truncated_text.lzh")));
  const Bytes original = ReadFile(VectorPath("text_300k.bin"));
  ASSERT_EQ(packed.size, 20000u);
  const Bytes decoded = LzhUnpack(packed.stream, packed.size);
  ASSERT_GE(decoded.size(), packed.size);
  EXPECT_LT(decoded.size(), packed.size + 60);
  ASSERT_GE(original.size(), 9621u);
  EXPECT_TRUE(std::equal(original.begin(), original.begin() + 9621, decoded.begin()));
}

TEST(LzhDecodeTest, MatchRunningPastTheCountIsWrittenWhole) {
  // One literal 'a', then one match of 59.
  const SizedStream packed = Split(ReadFile(VectorPath("run_60.lzh")));
  EXPECT_EQ(LzhUnpack(packed.stream, 2), Bytes(60, 'a'));
}

// What the lenient decoding fills in or writes past, the exact one refuses.
TEST(LzhExactDecodeTest, RefusesACutStreamAMatchPastTheCountAndACountTooLarge) {
  const SizedStream cut = Split(ReadFile(VectorPath("truncated_text.lzh")));
  EXPECT_THROW(LzhUnpackExact(cut.stream, cut.size), ElzhException);
  const SizedStream run = Split(ReadFile(VectorPath("run_60.lzh")));
  EXPECT_THROW(LzhUnpackExact(run.stream, 2), ElzhException);
  EXPECT_EQ(LzhUnpackExact(run.stream, 60), Bytes(60, 'a'));
  // Four bytes hold at most 4 * 48 bytes and a match.
  const uint8_t four[] = {1, 2, 3, 4};
  EXPECT_THROW(LzhUnpackExact(four, 64u << 20), ElzhException);
  EXPECT_TRUE(LzhUnpackExact({}, 0).empty());
  // Each of the last bytes of a whole stream is needed.
  const SizedStream text = Split(ReadFile(VectorPath("text_300k.lzh")));
  const std::span<const uint8_t> shorter(text.stream.data(), text.stream.size() - 1);
  EXPECT_THROW(LzhUnpackExact(shorter, text.size), ElzhException);
}

// Bit flips. The expected outputs were worked out once with a decoder
// written apart from this one. A flip leaves every symbol before it as
// it was; the symbol it lies in becomes another one. The format carries
// no check value: only a length that no longer fits tells the exact
// decoder of the damage.

// The stream of "abc": three 9-bit literal codes (the starting tree puts
// 'a' to 'c' on its deepest level), then five zero bits that are never
// decoded.
constexpr uint8_t kAbc[] = {0xF6, 0xFB, 0xBD, 0xE0};

Bytes FlipBit(std::span<const uint8_t> stream, size_t bit) {
  Bytes flipped(stream.begin(), stream.end());
  flipped[bit / 8] ^= static_cast<uint8_t>(0x80 >> (bit % 8));
  return flipped;
}

Bytes Of(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Why the exact decoder refuses the stream: the start of its message,
// empty when it takes the stream.
constexpr char kPast[] = "the stream decodes past its stated length";
constexpr char kEarly[] = "the stream ends early";
std::string ExactRefusal(std::span<const uint8_t> stream, uint32_t count) {
  try {
    LzhUnpackExact(stream, count);
    return "";
  } catch (const ElzhException& e) {
    const std::string message = e.what();
    return message.substr(0, message.find(':'));
  }
}

TEST(LzhCorruptionTest, AFlippedBitChangesTheSymbolItLiesInAndNothingBefore) {
  const auto used = [](std::span<const uint8_t> stream, uint32_t count) {
    size_t offset = 0;
    return TLZH()
        .Unpack(
            count, [](const uint8_t*, size_t) {},
            [&](uint8_t* buffer, size_t capacity) {
              const size_t n = std::min(capacity, stream.size() - offset);
              std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(offset), n, buffer);
              offset += n;
              return n;
            })
        .bitsUsed;
  };
  ASSERT_EQ(used(kAbc, 3), 27u);
  // The bits after the last code are not read.
  for (size_t bit = 27; bit < 32; ++bit) {
    SCOPED_TRACE(bit);
    EXPECT_EQ(LzhUnpack(FlipBit(kAbc, bit), 3), Of("abc"));
    EXPECT_EQ(LzhUnpackExact(FlipBit(kAbc, bit), 3), Of("abc"));
  }
  struct Flip {
    size_t bit;
    Bytes lenient;
    const char* exactRefusal;  // nullptr: the exact decoder takes it
  };
  const Flip flips[] = {
      // The last bit of the first code tells a pair of the starting tree
      // apart: 'a' (97) becomes '`' (96). Same length, so accepted.
      {8, Of("`bc"), nullptr},
      // Shorter codes of other literals: 25 bits for three bytes.
      {0, Bytes{0xEA, 'k', 0xEF}, nullptr},
      // A match of 45 of the spaces the ring starts with, past the count.
      {1, Bytes(45, ' '), kPast},
      // Matches whose positions take bits the stream does not have:
      // 'b' becomes 'c' and the rest of the 'c' a match of 59, ...
      {17, Of("ac" + std::string(59, 'c')), kEarly},
      // ... or the third code becomes a match.
      {25, Of("ab" + std::string(60, 'b')), kEarly},
      {19, Of("ab" + std::string(46, ' ')), kEarly},
  };
  for (const Flip& flip : flips) {
    SCOPED_TRACE(flip.bit);
    const Bytes damaged = FlipBit(kAbc, flip.bit);
    EXPECT_EQ(LzhUnpack(damaged, 3), flip.lenient);
    EXPECT_EQ(ExactRefusal(damaged, 3), flip.exactRefusal ? flip.exactRefusal : "");
    if (!flip.exactRefusal) {
      EXPECT_EQ(LzhUnpackExact(damaged, 3), flip.lenient);
    }
  }
}

// One flip in a long stream: the output is the original up to the
// damaged symbol, then follows the damage; its length and what the exact
// decoder says depend on where the flip falls.
TEST(LzhCorruptionTest, AFlipInALongStreamKeepsEverythingBeforeIt) {
  const SizedStream packed = Split(ReadFile(VectorPath("text_300k.lzh")));
  const Bytes original = ReadFile(VectorPath("text_300k.bin"));
  ASSERT_EQ(packed.size, 307200u);
  ASSERT_EQ(packed.stream.size(), 137627u);
  struct Flip {
    size_t byte;
    uint8_t mask;
    size_t firstDifference;
    size_t decodedSize;
    const char* exactRefusal;
  };
  const Flip flips[] = {
      // The same length from the same number of bits: nothing to see.
      {68813, 0x10, 153250, 307200, nullptr},
      // One byte past the count.
      {1000, 0x01, 1816, 307201, kPast},
      // The last code needs bits after the end.
      {137626, 0x80, 307199, 307205, kEarly},
  };
  for (const Flip& flip : flips) {
    SCOPED_TRACE(flip.byte);
    Bytes damaged = packed.stream;
    damaged[flip.byte] ^= flip.mask;
    const Bytes decoded = LzhUnpack(damaged, packed.size);
    ASSERT_EQ(decoded.size(), flip.decodedSize);
    const auto [mismatch, ignored] = std::mismatch(decoded.begin(), decoded.begin() + 307200, original.begin());
    EXPECT_EQ(static_cast<size_t>(mismatch - decoded.begin()), flip.firstDifference);
    EXPECT_EQ(ExactRefusal(damaged, packed.size), flip.exactRefusal ? flip.exactRefusal : "");
    if (!flip.exactRefusal) {
      EXPECT_TRUE(LzhUnpackExact(damaged, packed.size) == decoded);
    }
  }
}

TEST(LzhDecodeTest, EmptyStreamStillProducesTheCount) {
  EXPECT_GE(LzhUnpack({}, 5000).size(), 5000u);
  EXPECT_TRUE(LzhUnpack({}, 0).empty());
}

// The source is read in whatever pieces it gives, never again once it has
// run dry, and the sink may see any block sizes.
TEST(LzhDecodeTest, CallbacksSeeEveryByteOnceAndNothingAfterTheEnd) {
  const SizedStream packed = Split(ReadFile(VectorPath("text_300k.lzh")));
  const Bytes original = ReadFile(VectorPath("text_300k.bin"));
  for (const size_t piece : {size_t{1}, size_t{31}, size_t{100000}}) {
    SCOPED_TRACE(piece);
    size_t offset = 0;
    int callsAfterEnd = 0;
    bool ended = false;
    Bytes decoded;
    TLZH().Unpack(
        packed.size, [&](const uint8_t* b, size_t n) { decoded.insert(decoded.end(), b, b + n); },
        [&](uint8_t* buffer, size_t capacity) {
          if (ended) ++callsAfterEnd;
          const size_t n = std::min({piece, capacity, packed.stream.size() - offset});
          std::copy_n(packed.stream.begin() + static_cast<std::ptrdiff_t>(offset), n, buffer);
          offset += n;
          ended = n == 0;
          return n;
        });
    EXPECT_TRUE(decoded == original);
    EXPECT_EQ(callsAfterEnd, 0);
  }
}

TEST(LzhDecodeTest, ReadCallbackClaimingTooMuchIsHeldToItsBuffer) {
  Bytes decoded;
  TLZH().Unpack(
      1000, [&](const uint8_t* b, size_t n) { decoded.insert(decoded.end(), b, b + n); },
      [](uint8_t*, size_t capacity) { return capacity * 4; });
  EXPECT_GE(decoded.size(), 1000u);
}

struct RoundTripCase {
  const char* title;
  Bytes data;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
  *os << c.title << ", " << c.data.size() << " bytes";
}

class LzhRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(LzhRoundTripTest, DecodesToWhatWasEncoded) {
  const Bytes& data = GetParam().data;
  const Bytes packed = LzhPack(data);
  const Bytes decoded = LzhUnpack(packed, static_cast<uint32_t>(data.size()));
  ASSERT_EQ(decoded.size(), data.size());
  EXPECT_TRUE(decoded == data);
}

std::vector<RoundTripCase> RoundTripCases() {
  std::vector<RoundTripCase> cases;
  for (const size_t n : {0, 1, 2, 3, 59, 60, 61, 4035, 4036, 4095, 4096, 4097, 8192, 250000})
    cases.push_back({"random", RandomBytes(n, static_cast<unsigned>(n))});
  for (const size_t n : {4097, 300000}) cases.push_back({"text", Text(n, 5)});
  cases.push_back({"zeros", Bytes(70000, 0)});
  cases.push_back({"spaces", Bytes(5000, ' ')});
  // Long runs broken by single bytes: matches of every length and distance.
  Bytes runs;
  for (int i = 0; runs.size() < 100000; ++i) {
    runs.insert(runs.end(), static_cast<size_t>(i % 97), 'x');
    runs.push_back(static_cast<uint8_t>(i));
  }
  cases.push_back({"runs", runs});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Data, LzhRoundTripTest, ::testing::ValuesIn(RoundTripCases()),
                         [](const auto& p) {
                           return std::string(p.param.title) + "_" +
                                  std::to_string(p.param.data.size());
                         });

TEST(LzhPackTest, EmptyDataGivesAnEmptyStream) { EXPECT_TRUE(LzhPack({}).empty()); }

TEST(LzhPackTest, RandomDataGrowsLittleAndTextShrinks) {
  const Bytes random = RandomBytes(100000, 1);
  EXPECT_LT(LzhPack(random).size(), random.size() * 113 / 100);
  const Bytes text = Text(100000, 2);
  EXPECT_LT(LzhPack(text).size(), text.size() / 2);
}

}  // namespace
}  // namespace skin
