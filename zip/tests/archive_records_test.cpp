#include "zip/archive_records.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <vector>

#include "runtime/byte_order.h"

namespace zip {
namespace {

using Bytes = std::vector<uint8_t>;

// Where a field lies in the stored record, as the format lays it out.
struct Place {
  size_t offset;
  size_t width;
  uint64_t value;
};

template <class Record>
Bytes Written(const Record& record) {
  Bytes out = {0xEE};  // Write appends: what is there stays
  record.Write(out);
  EXPECT_EQ(out.front(), 0xEE);
  return Bytes(out.begin() + 1, out.end());
}

uint64_t ValueAt(const Bytes& bytes, const Place& place) {
  switch (place.width) {
    case 2: return rt::GetU16(bytes.data() + place.offset);
    case 4: return rt::GetU32(bytes.data() + place.offset);
    default: return rt::GetU64(bytes.data() + place.offset);
  }
}

// The record written has its fixed size, every field at its place, and
// reads back to the same bytes.
template <class Record>
void ExpectLayout(const Record& record, const std::vector<Place>& places) {
  const Bytes bytes = Written(record);
  ASSERT_EQ(bytes.size(), Record::kSize);
  size_t covered = 0;
  for (const Place& place : places) {
    SCOPED_TRACE(place.offset);
    EXPECT_EQ(ValueAt(bytes, place), place.value);
    covered += place.width;
  }
  EXPECT_EQ(covered, Record::kSize);
  std::array<uint8_t, Record::kSize> fixed;
  std::copy(bytes.begin(), bytes.end(), fixed.begin());
  EXPECT_EQ(Written(Record::Read(fixed)), bytes);
}

TEST(ArchiveRecords, HeadersLayTheirFieldsWhereTheFormatPutsThem) {
  const TEntryFields shared{.VersionNeeded = 20,
                            .Flags = 0x0809,
                            .CompressionMethod = 8,
                            .LastModTime = 0x6000,
                            .LastModDate = 0x5A21,
                            .Crc32 = 0xCBF43926,
                            .CompressedSize = 0x11223344,
                            .UncompressedSize = 0x55667788,
                            .NameLength = 12,
                            .ExtraLength = 34};
  ExpectLayout(TLocalHeader{shared, TLocalHeader::kSignature},
               {{0, 4, 0x04034B50}, {4, 2, 20}, {6, 2, 0x0809}, {8, 2, 8}, {10, 2, 0x6000}, {12, 2, 0x5A21},
                {14, 4, 0xCBF43926}, {18, 4, 0x11223344}, {22, 4, 0x55667788}, {26, 2, 12}, {28, 2, 34}});

  TCentralHeader central;
  static_cast<TEntryFields&>(central) = shared;
  central.Signature = TCentralHeader::kSignature;
  central.VersionMadeBy = 0x0314;
  central.CommentLength = 56;
  central.DiskNumberStart = 7;
  central.InternalAttributes = 1;
  central.ExternalAttributes = 0x81A40020;
  central.LocalHeaderOffset = 0x99AABBCC;
  ExpectLayout(central, {{0, 4, 0x02014B50}, {4, 2, 0x0314}, {6, 2, 20}, {8, 2, 0x0809}, {10, 2, 8},
                         {12, 2, 0x6000}, {14, 2, 0x5A21}, {16, 4, 0xCBF43926}, {20, 4, 0x11223344},
                         {24, 4, 0x55667788}, {28, 2, 12}, {30, 2, 34}, {32, 2, 56}, {34, 2, 7}, {36, 2, 1},
                         {38, 4, 0x81A40020}, {42, 4, 0x99AABBCC}});

  ExpectLayout(TDataDescriptor{.Signature = TDataDescriptor::kSignature,
                               .Crc32 = 0xCBF43926,
                               .CompressedSize = 0x11223344,
                               .UncompressedSize = 0x55667788},
               {{0, 4, 0x08074B50}, {4, 4, 0xCBF43926}, {8, 4, 0x11223344}, {12, 4, 0x55667788}});
}

TEST(ArchiveRecords, EndRecordsLayTheirFieldsWhereTheFormatPutsThem) {
  ExpectLayout(TEndRecord{.DiskNumber = 1,
                          .StartDisk = 2,
                          .EntriesOnDisk = 3,
                          .TotalEntries = 4,
                          .DirectorySize = 0x11223344,
                          .DirectoryOffset = 0x55667788,
                          .CommentLength = 9},
               {{0, 4, 0x06054B50}, {4, 2, 1}, {6, 2, 2}, {8, 2, 3}, {10, 2, 4}, {12, 4, 0x11223344},
                {16, 4, 0x55667788}, {20, 2, 9}});

  ExpectLayout(TZip64EndRecord{.Signature = TZip64EndRecord::kSignature,
                               .RecordSize = 44,
                               .VersionMadeBy = 45,
                               .VersionNeeded = 46,
                               .DiskNumber = 0x01020304,
                               .StartDisk = 0x05060708,
                               .EntriesOnDisk = 0x1111222233334444,
                               .TotalEntries = 0x5555666677778888,
                               .DirectorySize = 0x0102030405060708,
                               .DirectoryOffset = 0x1112131415161718},
               {{0, 4, 0x06064B50}, {4, 8, 44}, {12, 2, 45}, {14, 2, 46}, {16, 4, 0x01020304},
                {20, 4, 0x05060708}, {24, 8, 0x1111222233334444}, {32, 8, 0x5555666677778888},
                {40, 8, 0x0102030405060708}, {48, 8, 0x1112131415161718}});

  ExpectLayout(TZip64Locator{.Signature = TZip64Locator::kSignature,
                             .EndRecordDisk = 3,
                             .EndRecordOffset = 0x0102030405060708,
                             .TotalDisks = 4},
               {{0, 4, 0x07064B50}, {4, 4, 3}, {8, 8, 0x0102030405060708}, {16, 4, 4}});
}

TEST(ArchiveRecords, ReadTakesWhateverTheBytesSay) {
  // Damage is read as it stands: the caller judges the signature.
  std::array<uint8_t, TEndRecord::kSize> bytes;
  bytes.fill(0xFF);
  const TEndRecord end = TEndRecord::Read(bytes);
  EXPECT_EQ(end.Signature, 0xFFFFFFFFu);
  EXPECT_TRUE(NeedsZip64(end));
  EXPECT_FALSE(NeedsZip64(TEndRecord{}));
  // A default end record is an empty archive's whole directory.
  EXPECT_EQ(Written(TEndRecord{}), Bytes({0x50, 0x4B, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ExtraBlocks, Zip64ValuesFollowTheEscapedFieldsInOrder) {
  const Bytes block = Written(TZip64ExtraBlock{.UncompressedSize = 0x0102030405060708,
                                               .CompressedSize = 0x1112131415161718,
                                               .LocalHeaderOffset = 0x2122232425262728,
                                               .DiskNumberStart = 9});
  ASSERT_EQ(block.size(), 4u + 28);
  EXPECT_EQ(rt::GetU16(block.data()), TZip64ExtraBlock::kId);
  EXPECT_EQ(rt::GetU16(block.data() + 2), 28u);
  const std::span<const uint8_t> data(block.begin() + 4, block.end());

  TCentralHeader header;
  header.UncompressedSize = header.CompressedSize = header.LocalHeaderOffset = 0xFFFFFFFF;
  header.DiskNumberStart = 0xFFFF;
  TZip64ExtraBlock all = TZip64ExtraBlock::Read(data, header);
  EXPECT_EQ(all.UncompressedSize, 0x0102030405060708u);
  EXPECT_EQ(all.CompressedSize, 0x1112131415161718u);
  EXPECT_EQ(all.LocalHeaderOffset, 0x2122232425262728u);
  EXPECT_EQ(all.DiskNumberStart, 9u);

  // Only the escaped fields have values, taken from the front.
  header.UncompressedSize = 5;
  header.DiskNumberStart = 0;
  const TZip64ExtraBlock two = TZip64ExtraBlock::Read(data, header);
  EXPECT_FALSE(two.UncompressedSize);
  EXPECT_EQ(two.CompressedSize, 0x0102030405060708u);
  EXPECT_EQ(two.LocalHeaderOffset, 0x1112131415161718u);
  EXPECT_FALSE(two.DiskNumberStart);

  // A value cut short by the block is not read.
  const TZip64ExtraBlock cut = TZip64ExtraBlock::Read(data.first(12), header);
  EXPECT_EQ(cut.CompressedSize, 0x0102030405060708u);
  EXPECT_FALSE(cut.LocalHeaderOffset);
  EXPECT_FALSE(TZip64ExtraBlock::Read({}, header).CompressedSize);
}

TEST(ExtraBlocks, UnicodeNamesRoundTrip) {
  const Bytes nu = Written(TUnicodeNameBlock{u"\u00e9"});
  EXPECT_EQ(nu, Bytes({0x4E, 0x55, 10, 0, 'N', 'U', 'C', 'X', 1, 0, 0, 0, 0xE9, 0}));
  const auto name = TUnicodeNameBlock::Read(std::span(nu).subspan(4));
  ASSERT_TRUE(name);
  EXPECT_EQ(name->Name, u"\u00e9");
  EXPECT_FALSE(TUnicodeNameBlock::Read(std::span(nu).subspan(4, 7)));

  const Bytes up = Written(TUnicodePathBlock{.HeaderNameCrc = 0xCBF43926, .Utf8Name = "caf\xC3\xA9"});
  EXPECT_EQ(up, Bytes({0x75, 0x70, 10, 0, 1, 0x26, 0x39, 0xF4, 0xCB, 'c', 'a', 'f', 0xC3, 0xA9}));
  const auto path = TUnicodePathBlock::Read(std::span(up).subspan(4));
  ASSERT_TRUE(path);
  EXPECT_EQ(path->Version, 1);
  EXPECT_EQ(path->HeaderNameCrc, 0xCBF43926u);
  EXPECT_EQ(path->Utf8Name, "caf\xC3\xA9");
  EXPECT_FALSE(TUnicodePathBlock::Read(std::span(up).subspan(4, 4)));
}

TEST(ExtraBlocks, DataLargerThanABlockHoldsIsRefused) {
  Bytes out;
  const Bytes most(0xFFFF, 'x');
  WriteExtraBlock(out, 0x1234, most);
  EXPECT_EQ(out.size(), 4u + 0xFFFF);
  EXPECT_THROW(WriteExtraBlock(out, 0x1234, Bytes(0x10000, 'x')), std::length_error);
  EXPECT_EQ(out.size(), 4u + 0xFFFF);
}

}  // namespace
}  // namespace zip
