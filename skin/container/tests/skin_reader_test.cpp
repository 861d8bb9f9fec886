#include "skin/container/skin_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "runtime/byte_order.h"
#include "skin/container/lzh.h"
#include "skin/container/skin_archive_writer.h"
#include "skin/container/skin_messages.h"

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// An archive laid out by hand, for the shapes the writer never makes.
Bytes RawArchive(uint32_t magic, const std::string& nameList, const std::vector<uint32_t>& sizes,
                 const std::string& content) {
  Bytes out;
  rt::AppendU32(out, magic);
  rt::AppendU32(out, static_cast<uint32_t>(nameList.size()));
  rt::AppendU32(out, 7);
  rt::AppendU32(out, 9);
  out.insert(out.end(), nameList.begin(), nameList.end());
  for (uint32_t size : sizes) rt::AppendU32(out, size);
  out.insert(out.end(), content.begin(), content.end());
  return out;
}

// Counts what the reader tells the user, and keeps it off the terminal.
class MessageCapture {
 public:
  MessageCapture() : previous_(SetSkinMessageSink(&Record)) { messages().clear(); }
  ~MessageCapture() { SetSkinMessageSink(previous_); }
  static std::vector<rt::WideString>& messages() {
    static std::vector<rt::WideString> m;
    return m;
  }

 private:
  static void Record(const rt::WideString& message) { messages().push_back(message); }
  TSkinMessageSink previous_;
};

bool OpenSkinFile(TSkinReader& reader, const Bytes& skinFile) {
  rt::TMemoryStream stream(skinFile);
  return reader.Open(stream);
}

std::string Entry(const TSkinReader& reader, const std::string& name) {
  rt::TMemoryStream dest;
  reader.ExtractEntry(name, dest);
  EXPECT_EQ(dest.Position(), 0);
  return std::string(dest.Bytes().begin(), dest.Bytes().end());
}

TEST(SkinReaderTest, ServesEveryEntryOfAPackedArchive) {
  const std::vector<TSkinArchiveEntry> entries = {
      {"Skin.ini", ToBytes("[Form]\r\nColor=1\r\n")},
      {"Title.bmp", Bytes(5000, 0x42)},
      {"empty.bmp", {}},
      {"Rebar.bmp", ToBytes("BMrebar")},
  };
  TSkinReader reader;
  ASSERT_TRUE(OpenSkinFile(reader, MakeSkinFile(PackSkinArchive(entries))))
      << reader.FailureReason();
  EXPECT_EQ(reader.Magic(), kSkinArchiveMagic);
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "title.bmp", "empty.bmp", "rebar.bmp"}));
  EXPECT_EQ(reader.Sizes(), (std::vector<uint32_t>{17, 5000, 0, 7}));
  EXPECT_EQ(Entry(reader, "skin.ini"), "[Form]\r\nColor=1\r\n");
  EXPECT_EQ(Entry(reader, "title.bmp"), std::string(5000, 0x42));
  EXPECT_EQ(Entry(reader, "empty.bmp"), "");
  EXPECT_EQ(Entry(reader, "rebar.bmp"), "BMrebar");
  EXPECT_TRUE(reader.FailureReason().empty());
}

TEST(SkinReaderTest, LookupsFoldCaseAndTakeTheFirstOfEqualNames) {
  TSkinReader reader;
  ASSERT_TRUE(OpenSkinFile(reader, MakeSkinFile(PackSkinArchive({{"REBAR.Bmp", ToBytes("first")},
                                                                  {"rebar.bmp", ToBytes("second")},
                                                                  {"Ä.bmp", ToBytes("8-bit")}}))));
  EXPECT_EQ(Entry(reader, "Rebar.bmp"), "first");
  EXPECT_EQ(Entry(reader, "rebar.BMP"), "first");
  EXPECT_EQ(Entry(reader, "rebar"), "");
  // Only ASCII letters fold: other bytes compare as they are.
  EXPECT_EQ(reader.Names()[2], "Ä.bmp");
  EXPECT_EQ(Entry(reader, "Ä.BMP"), "8-bit");
}

TEST(SkinReaderTest, SubstringLookupMatchesTheLowerCaseNamesAsGiven) {
  TSkinReader reader;
  ASSERT_TRUE(OpenSkinFile(reader, MakeSkinFile(PackSkinArchive({{"a.bmp", ToBytes("image")},
                                                                  {"Blue.INI", ToBytes("blue")},
                                                                  {"red.ini", ToBytes("red")}}))));
  rt::TMemoryStream dest;
  std::string found;
  EXPECT_TRUE(reader.ExtractEntryContaining(".ini", dest, found));
  EXPECT_EQ(found, "blue.ini");
  EXPECT_EQ(std::string(dest.Bytes().begin(), dest.Bytes().end()), "blue");
  EXPECT_EQ(dest.Position(), 0);
  // The text itself is not folded.
  EXPECT_FALSE(reader.ExtractEntryContaining(".INI", dest, found));
  EXPECT_EQ(found, "");
  EXPECT_EQ(dest.Size(), 0);
}

TEST(SkinReaderTest, NameListWithAndWithoutFinalLineEnd) {
  for (const std::string list : {"one.ini\r\ntwo.bmp\r\n", "one.ini\r\ntwo.bmp"}) {
    SCOPED_TRACE(list);
    TSkinReader reader;
    ASSERT_TRUE(OpenSkinFile(reader, MakeSkinFile(RawArchive(20000, list, {3, 2}, "abcde"))));
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"one.ini", "two.bmp"}));
    // Entry data starts right after the size table.
    EXPECT_EQ(Entry(reader, "one.ini"), "abc");
    EXPECT_EQ(Entry(reader, "two.bmp"), "de");
  }
}

TEST(SkinReaderTest, OlderMagicIsRefusedWithOneMessage) {
  MessageCapture capture;
  TSkinReader reader;
  EXPECT_FALSE(OpenSkinFile(reader, MakeSkinFile(RawArchive(19999, "a.ini\r\n", {1}, "x"))));
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0], u"This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(reader.Count(), 0u);
}

// Cut or inconsistent tables fail the open, quietly: no message.
TEST(SkinReaderTest, TruncatedArchivesAreRefused) {
  const Bytes whole = RawArchive(20000, "a.ini\r\nb.bmp\r\n", {1, 1}, "xy");
  struct Case {
    const char* title;
    Bytes skinFile;
  } cases[] = {
      {"no size", {0x10, 0x00}},
      {"archive too short for the magic", MakeSkinFile(Bytes{0x20, 0x4E})},
      {"header cut", MakeSkinFile(Bytes(whole.begin(), whole.begin() + 12))},
      {"name list cut", MakeSkinFile(Bytes(whole.begin(), whole.begin() + 20))},
      {"size table cut", MakeSkinFile(Bytes(whole.begin(), whole.begin() + 16 + 14 + 6))},
      {"name list length far beyond the data", MakeSkinFile([] {
         Bytes b = RawArchive(20000, "a.ini\r\n", {1}, "x");
         std::fill(b.begin() + 4, b.begin() + 8, 0xFF);
         return b;
       }())},
  };
  MessageCapture capture;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    TSkinReader reader;
    EXPECT_FALSE(OpenSkinFile(reader, c.skinFile));
    EXPECT_FALSE(reader.FailureReason().empty());
    EXPECT_EQ(reader.Count(), 0u);
  }
  EXPECT_TRUE(capture.messages().empty());
}

TEST(SkinReaderTest, SizesRunningPastTheDataGiveWhatExists) {
  TSkinReader reader;
  ASSERT_TRUE(OpenSkinFile(
      reader, MakeSkinFile(RawArchive(20000, "a\r\nb\r\nc\r\nd\r\n", {2, 5, 0xFFFFFFFF, 1}, "aabb"))));
  EXPECT_EQ(Entry(reader, "a"), "aa");
  EXPECT_EQ(Entry(reader, "b"), "bb");
  EXPECT_EQ(Entry(reader, "c"), "");
  EXPECT_EQ(Entry(reader, "d"), "");
}

TEST(SkinReaderTest, AtMost1001Names) {
  std::string list;
  for (int i = 0; i < 1001; ++i) list += std::to_string(i) + ".bmp\r\n";
  TSkinReader reader;
  EXPECT_TRUE(OpenSkinFile(reader, MakeSkinFile(RawArchive(20000, list, std::vector<uint32_t>(1001, 0), ""))));
  EXPECT_EQ(reader.Count(), 1001u);
  list += "one-too-many.bmp";
  EXPECT_FALSE(OpenSkinFile(reader, MakeSkinFile(RawArchive(20000, list, std::vector<uint32_t>(1002, 0), ""))));
  EXPECT_EQ(reader.Count(), 0u);
  EXPECT_NE(reader.FailureReason().find("1002"), std::string::npos) << reader.FailureReason();
}

TEST(SkinReaderTest, UnpackedSizeOverTheLimitIsRefusedBeforeDecoding) {
  Bytes tooLarge;
  rt::AppendU32(tooLarge, kMaxSkinUnpackedSize + 1);
  TSkinReader reader;
  EXPECT_FALSE(OpenSkinFile(reader, tooLarge));
  EXPECT_NE(reader.FailureReason().find("67108865"), std::string::npos) << reader.FailureReason();

  // At the limit a truncated stream decodes up to the limit and no further.
  const Bytes archive = PackSkinArchive({{"a.ini", Bytes(3000, 'a')}});
  Bytes file = MakeSkinFile(archive);
  file.resize(file.size() / 2);
  TSkinReader small(static_cast<uint32_t>(archive.size()));
  EXPECT_TRUE(OpenSkinFile(small, file));
  EXPECT_LT(Entry(small, "a.ini").size(), 3000u + 60u);
  TSkinReader smaller(static_cast<uint32_t>(archive.size() - 1));
  EXPECT_FALSE(OpenSkinFile(smaller, file));
}

TEST(SkinReaderTest, OpenReadsFromTheStartAndForgetsTheLastArchive) {
  const Bytes good = MakeSkinFile(PackSkinArchive({{"a.ini", ToBytes("x")}}));
  rt::TMemoryStream stream(good);
  stream.SetPosition(5);
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(stream));
  EXPECT_EQ(Entry(reader, "a.ini"), "x");
  MessageCapture capture;
  EXPECT_FALSE(OpenSkinFile(reader, MakeSkinFile(RawArchive(1, "", {}, ""))));
  EXPECT_EQ(Entry(reader, "a.ini"), "");
}

TEST(SkinArchiveWriterTest, RefusesWhatTheReaderCouldNotServe) {
  EXPECT_THROW(PackSkinArchive({{"a\r\nb", {}}}), ESkinArchiveError);
  EXPECT_THROW(PackSkinArchive({{"a\n", {}}}), ESkinArchiveError);
  EXPECT_THROW(PackSkinArchive(std::vector<TSkinArchiveEntry>(1002)), ESkinArchiveError);
  EXPECT_NO_THROW(PackSkinArchive(std::vector<TSkinArchiveEntry>(1001)));
}

TEST(SkinArchiveWriterTest, WritesTheLayoutTheReaderExpects) {
  const Bytes archive = PackSkinArchive({{"A.ini", ToBytes("xy")}, {"b.bmp", ToBytes("z")}});
  Bytes expected = RawArchive(20000, "A.ini\r\nb.bmp\r\n", {2, 1}, "xyz");
  // The two unused fields are written as 0.
  std::fill(expected.begin() + 8, expected.begin() + 16, 0);
  EXPECT_EQ(archive, expected);
  const Bytes file = MakeSkinFile(archive);
  ASSERT_GT(file.size(), 4u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{41, 0, 0, 0}));
  EXPECT_EQ(LzhUnpack(std::span(file).subspan(4), 41), archive);
}

}  // namespace
}  // namespace skin
