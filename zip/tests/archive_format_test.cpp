#include "zip/archive_format.h"

#include <gtest/gtest.h>

#include "zip/crc32.h"
#include "zip/dir_manager.h"
#include "zip/tests/test_zip_builder.h"
#include "zip/zip_archiver.h"
#include "zip/zip_exception.h"

namespace zip {
namespace {

using testing::Bytes;
using testing::HostBytes;
using testing::SignedImage;
using testing::TestArchive;
using testing::TestEntry;

// Reads a directory from bytes the way an open does.
struct LoadedDirectory {
  explicit LoadedDirectory(const Bytes& bytes, bool oemNames = true)
      : stream(bytes), manager(&stream, &archiver, false) {
    archiver.Options().SetOEMFileNames(oemNames);
    manager.LoadDirectory();
  }
  int Count() const { return manager.Items().Count(); }
  const TDirItem& Item(int i) const { return manager.Items().Item(i); }

  TZipArchiver archiver;
  rt::TMemoryStream stream;
  TZipDirManager manager;
};

TestArchive ThreeEntries() {
  TestArchive a;
  a.entries = {{.name = "docs/", .attributes = 0x10},
               {.name = "docs/readme.txt", .data = "hello"},
               {.name = "data.bin", .data = std::string(3000, 'x'), .deflate = true}};
  return a;
}

TEST(Crc32, KnownValuesAndPieces) {
  EXPECT_EQ(UpdateCrc32(0, "", 0), 0u);
  EXPECT_EQ(UpdateCrc32(0, "123456789", 9), 0xCBF43926u);
  const std::string text = "The quick brown fox jumps over the lazy dog";
  uint32_t crc = 0;
  for (size_t i = 0; i < text.size(); i += 5) crc = UpdateCrc32(crc, text.data() + i, std::min<size_t>(5, text.size() - i));
  EXPECT_EQ(crc, 0x414FA339u);
}

TEST(EndRecord, FoundAtTheEndOfAPlainArchive) {
  LoadedDirectory d(BuildZip(ThreeEntries()));
  ASSERT_EQ(d.Count(), 3);
  EXPECT_FALSE(d.manager.Rebuilt());
  EXPECT_EQ(d.Item(1).Name, u"docs/readme.txt");
  EXPECT_EQ(d.Item(2).CompressionMethod, 8);
  EXPECT_EQ(d.manager.StubSize(), 0);
  EXPECT_EQ(d.Item(0).LocalHeaderOffset, 0u);
}

TEST(EndRecord, CommentHoldingTheSignatureIsPassedOver) {
  TestArchive a = ThreeEntries();
  a.comment = std::string("fake PK\x05\x06", 9) + std::string(30, '\0') + "end";
  LoadedDirectory d(BuildZip(a));
  EXPECT_EQ(d.Count(), 3);
  EXPECT_FALSE(d.manager.Rebuilt());
  EXPECT_EQ(d.manager.ArchiveComment(), a.comment);
}

TEST(EndRecord, NotFoundInShortOrInconsistentStreams) {
  for (size_t n : {0, 4, 21}) {
    rt::TMemoryStream s(Bytes(n, 0));
    EXPECT_FALSE(FindEndRecord(s)) << n;
  }
  Bytes bytes = BuildZip(ThreeEntries());
  const size_t at = testing::FindLast(bytes, TEndRecord::kSignature);
  testing::PutLE16(bytes, at + 20, 5);  // comment length past the end
  rt::TMemoryStream s(bytes);
  EXPECT_FALSE(FindEndRecord(s));
  bytes.push_back(0);  // trailing garbage after a correct record
  testing::PutLE16(bytes, at + 20, 0);
  rt::TMemoryStream t(bytes);
  EXPECT_FALSE(FindEndRecord(t));
}

TEST(EmbeddedArchive, AbsoluteAndRelativeOffsetsGiveTheSameTrueOffsets) {
  TestArchive absolute = ThreeEntries();
  absolute.prefix = HostBytes(5000);
  TestArchive relative = absolute;
  relative.relativeOffsets = true;
  LoadedDirectory a(BuildZip(absolute)), r(BuildZip(relative));
  ASSERT_EQ(a.Count(), 3);
  ASSERT_EQ(r.Count(), 3);
  EXPECT_EQ(a.manager.StubSize(), 5000);
  EXPECT_EQ(r.manager.StubSize(), 5000);
  for (int i = 1; i < 3; ++i) EXPECT_EQ(a.Item(i).LocalHeaderOffset, r.Item(i).LocalHeaderOffset) << i;
  EXPECT_EQ(a.Item(1).LocalHeaderOffset, 5000u + 30 + 5);
  // Folder entries keep their stored offsets.
  EXPECT_EQ(r.Item(0).LocalHeaderOffset, 0u);
}

TEST(EmbeddedArchive, ArchiveWithoutEntriesTakesTheEndRecordPosition) {
  TestArchive empty;
  empty.prefix = HostBytes(100);
  LoadedDirectory d(BuildZip(empty));
  EXPECT_EQ(d.Count(), 0);
  EXPECT_EQ(d.manager.StubSize(), 100);
}

TEST(EmbeddedArchive, SignedHostIsReadThroughItsCertificateTable) {
  TestArchive a = ThreeEntries();
  a.prefix = HostBytes(1024);
  const Bytes zip = BuildZip(a);
  // The signer aligns the table to 8 bytes with zeros.
  LoadedDirectory aligned(SignedImage(zip, (8 - zip.size() % 8) % 8));
  EXPECT_FALSE(aligned.manager.Rebuilt());
  ASSERT_EQ(aligned.Count(), 3);
  EXPECT_EQ(aligned.manager.StubSize(), 1024);
  EXPECT_EQ(aligned.Item(1).LocalHeaderOffset, 1024u + 30 + 5);
  // Eight bytes or more, or bytes that are not zero, are not alignment.
  LoadedDirectory overPadded(SignedImage(zip, (8 - zip.size() % 8) % 8 + 8));
  EXPECT_TRUE(overPadded.manager.Rebuilt());
  Bytes junk = zip;
  junk.push_back(1);
  LoadedDirectory notZero(SignedImage(junk, (8 - junk.size() % 8) % 8));
  EXPECT_TRUE(notZero.manager.Rebuilt());
}

TEST(Names, UnicodeBlocksWinInTheirOrder) {
  TestArchive a;
  TestEntry nu{.name = "caf\x82.txt", .data = "1"};
  nu.extra = testing::UnicodeNameBlock(u"\u540d\u524d.txt");
  TestEntry both{.name = "x.txt", .data = "2"};
  both.extra = testing::UnicodePathBlock("path-\xC3\xA9.txt", "x.txt");
  Bytes nuBlock = testing::UnicodeNameBlock(u"nu-wins.txt");
  both.extra.insert(both.extra.end(), nuBlock.begin(), nuBlock.end());
  TestEntry path{.name = "y.txt", .data = "3"};
  path.extra = testing::UnicodePathBlock("\xC3\xB1.txt", "y.txt");
  TestEntry staleCrc{.name = "z.txt", .data = "4"};
  staleCrc.extra = testing::UnicodePathBlock("other.txt", "z.txt", false);
  TestEntry utf8{.name = "\xC3\xBC.txt", .data = "5", .flags = kFlagUtf8};
  TestEntry oem{.name = "caf\x82.txt", .data = "6"};
  a.entries = {nu, both, path, staleCrc, utf8, oem};
  LoadedDirectory d(BuildZip(a));
  ASSERT_EQ(d.Count(), 6);
  EXPECT_EQ(d.Item(0).Name, u"\u540d\u524d.txt");
  EXPECT_EQ(d.Item(1).Name, u"nu-wins.txt");
  EXPECT_EQ(d.Item(2).Name, u"\u00f1.txt");
  EXPECT_EQ(d.Item(3).Name, u"z.txt");
  EXPECT_EQ(d.Item(4).Name, u"\u00fc.txt");
  EXPECT_EQ(d.Item(5).Name, u"caf\u00e9.txt");
  // The name index holds the names that won, lower-cased.
  EXPECT_EQ(d.manager.Items().IndexOfName(u"NU-WINS.TXT"), 1);
  EXPECT_EQ(d.manager.Items().IndexOfName(u"x.txt"), -1);
  EXPECT_EQ(d.Item(1).ExtraFields.size(), 2u);
}

TEST(Names, CutAtTheFirstZeroByte) {
  const uint8_t stored[] = {'a', 'b', 0, 'c'};
  EXPECT_EQ(DecodeEntryName(stored, sizeof stored, true), u"ab");
}

TEST(ExtraField, BlocksAreTruncatedToTheField) {
  TDirItem item;
  const uint8_t extra[] = {0x34, 0x12, 10, 0, 'a', 'b', 'c'};
  ParseExtraField(extra, sizeof extra, nullptr, 0, item);
  ASSERT_EQ(item.ExtraFields.size(), 1u);
  EXPECT_EQ(item.ExtraFields[0].HeaderId, 0x1234);
  EXPECT_EQ(item.ExtraFields[0].DataSize, 3);
  const uint8_t cut[] = {0x34, 0x12, 10, 0, 'a', 0x01};
  ParseExtraField(cut, 2, nullptr, 0, item);
  EXPECT_EQ(item.ExtraFields.size(), 1u);
}

TEST(ExtraField, Zip64ValuesOnlyForEscapedFieldsAndOnlyInsideTheBlock) {
  TDirItem item;
  item.UncompressedSize = 0xFFFFFFFF;
  item.CompressedSize = 123;
  item.LocalHeaderOffset = 0xFFFFFFFF;
  // Uncompressed size, then the offset; the offset is cut off by the block.
  const uint8_t extra[] = {1, 0, 12, 0, 1, 2, 3, 4, 5, 0, 0, 0, 9, 9, 9, 9};
  ParseExtraField(extra, sizeof extra, nullptr, 0, item);
  EXPECT_TRUE(item.HasZip64Info);
  EXPECT_EQ(item.Zip64UncompressedSize, 0x0504030201u);
  EXPECT_EQ(item.Zip64CompressedSize, 0u);
  EXPECT_EQ(item.Zip64LocalHeaderOffset, 0u);
}

TEST(ExtraField, InvalidNucxBlocksLeaveTheName) {
  const uint8_t notNucx[] = {'N', 'U', 'X', 'X', 1, 0, 0, 0, 'a', 0};
  EXPECT_FALSE(TUnicodeNameBlock::Read(notNucx));
  const uint8_t tooShort[] = {'N', 'U', 'C', 'X', 5, 0, 0, 0, 'a', 0};
  EXPECT_FALSE(TUnicodeNameBlock::Read(tooShort));
  const uint8_t good[] = {'N', 'U', 'C', 'X', 1, 0, 0, 0, 'a', 0};
  const auto block = TUnicodeNameBlock::Read(good);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->Name, u"a");
}

TEST(Zip64, RecordsGiveCountsSizesAndOffsets) {
  TestArchive a = ThreeEntries();
  a.zip64 = true;
  a.prefix = HostBytes(300);
  LoadedDirectory d(BuildZip(a));
  EXPECT_TRUE(d.manager.IsZip64());
  ASSERT_EQ(d.Count(), 3);
  EXPECT_FALSE(d.manager.Rebuilt());
  EXPECT_EQ(d.Item(1).TrueUncompressedSize(), 5u);
  EXPECT_EQ(d.Item(1).TrueLocalHeaderOffset(), 300u + 30 + 5);
  EXPECT_EQ(d.manager.StubSize(), 300);
}

TEST(Zip64, LocatorWithoutRecordIsError22) {
  TestArchive a = ThreeEntries();
  a.zip64 = true;
  Bytes bytes = BuildZip(a);
  bytes[testing::FindLast(bytes, TZip64EndRecord::kSignature)] = 'X';
  try {
    LoadedDirectory d(bytes);
    FAIL() << "opened";
  } catch (const EZipException& e) {
    EXPECT_EQ(e.ErrorCode(), zeNoZip64EndRecord);
    EXPECT_EQ(e.NativeError(), neNoZip64EndRecord);
  }
}

TEST(Recovery, MissingCentralDirectoryIsRebuiltFromLocalHeaders) {
  TestArchive a = ThreeEntries();
  a.entries[1].flags = kFlagDataDescriptor;
  Bytes bytes = BuildZip(a);
  bytes.resize(testing::FindFirst(bytes, TCentralHeader::kSignature));
  LoadedDirectory d(bytes);
  EXPECT_TRUE(d.manager.Rebuilt());
  ASSERT_EQ(d.Count(), 3);
  EXPECT_EQ(d.Item(0).Name, u"docs/");
  EXPECT_EQ(d.Item(0).ExternalAttributes, 0x10u);
  EXPECT_EQ(d.Item(1).ExternalAttributes, 0x20u);
  EXPECT_EQ(d.Item(1).Name, u"docs/readme.txt");
  // Its sizes came from the data descriptor after its data.
  EXPECT_EQ(d.Item(1).UncompressedSize, 5u);
  EXPECT_EQ(d.Item(2).Name, u"data.bin");
  EXPECT_EQ(d.Item(2).UncompressedSize, 3000u);
  EXPECT_EQ(d.manager.CentralDirOffset(), static_cast<int64_t>(bytes.size()));
}

TEST(Recovery, OnlyANameEndingInASeparatorIsAFolder) {
  TestArchive a;
  a.entries = {{.name = "empty.txt", .data = ""},
               {.name = "dir/", .attributes = 0x10},
               {.name = "win\\", .attributes = 0x10},
               {.name = "dir/full.txt", .data = "x"}};
  Bytes bytes = BuildZip(a);
  bytes.resize(testing::FindFirst(bytes, TCentralHeader::kSignature));
  LoadedDirectory d(bytes);
  ASSERT_TRUE(d.manager.Rebuilt());
  ASSERT_EQ(d.Count(), 4);
  EXPECT_EQ(d.Item(0).ExternalAttributes, 0x20u) << "a zero-length file stays a file";
  EXPECT_EQ(d.Item(1).ExternalAttributes, 0x10u);
  EXPECT_EQ(d.Item(2).ExternalAttributes, 0x10u);
  EXPECT_EQ(d.Item(3).ExternalAttributes, 0x20u);
}

TEST(Recovery, DirectoryThatCannotBeReadIsRebuilt) {
  TestArchive a = ThreeEntries();
  Bytes bytes = BuildZip(a);
  const size_t end = testing::FindLast(bytes, TEndRecord::kSignature);
  testing::PutLE32(bytes, end + 12, 0x7FFFFFF0);  // directory larger than the file
  LoadedDirectory d(bytes);
  EXPECT_TRUE(d.manager.Rebuilt());
  EXPECT_EQ(d.Count(), 3);
  // A count the directory cannot hold is damage too, not an allocation.
  testing::PutLE32(bytes, end + 12,
                   static_cast<uint32_t>(end - testing::FindFirst(bytes, TCentralHeader::kSignature)));
  testing::PutLE16(bytes, end + 10, 0xFFFE);
  LoadedDirectory e(bytes);
  EXPECT_TRUE(e.manager.Rebuilt());
}

TEST(Recovery, EmptyNameTwiceAndZeroLengthStreams) {
  TestArchive a;
  a.entries = {{.name = "", .data = "1"}, {.name = "b", .data = "2"}};
  LoadedDirectory d(BuildZip(a));
  // The second entry finds the empty name at another index: rebuilt.
  EXPECT_TRUE(d.manager.Rebuilt());
  EXPECT_EQ(d.Count(), 2);
  try {
    LoadedDirectory z(Bytes{});
    FAIL() << "opened";
  } catch (const EZipException& e) {
    EXPECT_EQ(e.ErrorCode(), zeInvalidArchive);
    EXPECT_EQ(e.NativeError(), neNoLocalHeaders);
  }
}

TEST(Recovery, SignatureBytesWithoutAnAcceptableHeaderAreNoArchive) {
  // A program's code holds the signature as an immediate; what follows is
  // no header: a compressed size past the end, then an oversized extra.
  Bytes program(4000, 0x90);
  const uint8_t signature[] = {0x50, 0x4B, 0x03, 0x04};
  for (size_t at : {size_t{1000}, size_t{2000}}) std::copy(std::begin(signature), std::end(signature), program.begin() + at);
  std::fill_n(program.begin() + 1018, 4, 0xFF);
  program[2028] = 0xFF;
  program[2029] = 0x7F;
  try {
    LoadedDirectory d(program);
    FAIL() << "opened with " << d.Count() << " entries";
  } catch (const EZipException& e) {
    EXPECT_EQ(e.ErrorCode(), zeInvalidArchive);
  }
}

TEST(Scanner, FindsSignaturesAcrossWindowSeams) {
  Bytes bytes(25000, 'z');
  const size_t at[] = {0, 9997, 19993, 19994 + 4, 24996};
  for (size_t p : at) testing::PutLE32(bytes, p, TLocalHeader::kSignature);
  rt::TMemoryStream s(bytes);
  TSignatureScanner scanner(s, TLocalHeader::kSignature, 10000);
  std::vector<int64_t> hits;
  for (int64_t h = scanner.Next(0); h >= 0; h = scanner.Next(h + 1)) hits.push_back(h);
  EXPECT_EQ(hits, (std::vector<int64_t>{0, 9997, 19993, 19998, 24996}));
  EXPECT_EQ(SearchForward(s, 9998, TLocalHeader::kSignature, 10000), 19993);
  EXPECT_EQ(SearchForward(s, 24997, TLocalHeader::kSignature, 10000), -1);
}

}  // namespace
}  // namespace zip
