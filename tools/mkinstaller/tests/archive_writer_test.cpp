#include "tools/mkinstaller/archive_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/mkinstaller/dos_time.h"
#include "tools/mkinstaller/entry_names.h"
#include "zip/archive_records.h"

namespace mkinstaller {
namespace {

template <class Record>
Record RecordAt(const std::string& file, size_t at) {
  if (at > file.size() || file.size() - at < Record::kSize) throw std::out_of_range("a record past the end");
  std::array<uint8_t, Record::kSize> raw;
  std::memcpy(raw.data(), file.data() + at, raw.size());
  return Record::Read(raw);
}

std::vector<uint8_t> Inflate(const std::string& data, size_t size) {
  std::vector<uint8_t> out(size + 1);
  z_stream z{};
  inflateInit2(&z, -MAX_WBITS);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  inflateEnd(&z);
  return out;
}

TEST(EntryNames, Code437WithUnicodeBlockBeyondAscii) {
  EXPECT_EQ(OemName(u"Cr\u00e9ditos.txt"), "Cr\x82" "ditos.txt");
  EXPECT_EQ(OemName(u"im\u00e1genes/mol\u00e9culas/"), "im\xA0genes/mol\x82" "culas/");
  EXPECT_EQ(OemName(u"Equilibrio \u21cc.txt"), "Equilibrio _.txt");
  EXPECT_EQ(OemName(u"a\U0001F600b"), "a_b");
  EXPECT_TRUE(IsAscii(u"lecciones/Tema 01.txt"));
  EXPECT_FALSE(IsAscii(u"\u00e9"));
  const std::vector<uint8_t> expected = {0x4E, 0x55, 10, 0, 'N', 'U', 'C', 'X', 1, 0, 0, 0, 0xE9, 0};
  EXPECT_EQ(UnicodeNameBlock(u"\u00e9"), expected);
}

TEST(DosTime, LocalFieldsPackedAndClamped) {
  std::tm t{};
  t.tm_year = 2018 - 1900, t.tm_mon = 8, t.tm_mday = 3, t.tm_hour = 10, t.tm_min = 15, t.tm_sec = 31;
  EXPECT_EQ(ToDosDateTime(t), (DosDateTime{38 << 9 | 9 << 5 | 3, 10 << 11 | 15 << 5 | 15}));
  t.tm_year = 70;
  EXPECT_EQ(ToDosDateTime(t), (DosDateTime{1 << 5 | 1, 0}));
  t.tm_year = 2200 - 1900;
  EXPECT_EQ(ToDosDateTime(t), (DosDateTime{127 << 9 | 12 << 5 | 31, 23 << 11 | 59 << 5 | 29}));
}

// Reads back what the writer made, field by field, the way an archive
// reader finds it: from the end record at the very end of the file.
TEST(ArchiveWriter, AppendedArchiveWithAbsoluteOffsets) {
  const std::string stub = "MZ" + std::string(98, 's');
  std::ostringstream out;
  out << stub;
  const DosDateTime when{38 << 9 | 9 << 5 | 3, 10 << 11};
  const std::string text = std::string(3000, 'q') + "fin";
  ArchiveWriter writer(out, stub.size());
  writer.AddFolder(u"im\u00e1genes/", when);
  writer.AddFile(u"im\u00e1genes/a.txt", {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, when);
  writer.AddFile(u"vac\u00edo", {}, when);
  writer.Finish();
  const std::string file = out.str();

  ASSERT_GT(file.size(), stub.size() + zip::TEndRecord::kSize);
  const size_t endRecord = file.size() - zip::TEndRecord::kSize;
  const auto end = RecordAt<zip::TEndRecord>(file, endRecord);
  EXPECT_EQ(end.Signature, zip::TEndRecord::kSignature);
  EXPECT_EQ(end.DiskNumber, 0u);
  EXPECT_EQ(end.StartDisk, 0u);
  EXPECT_EQ(end.EntriesOnDisk, 3u);
  EXPECT_EQ(end.TotalEntries, 3u);
  EXPECT_EQ(end.CommentLength, 0u);
  const size_t directory = end.DirectoryOffset;
  EXPECT_EQ(directory + end.DirectorySize, endRecord);

  struct Expected {
    const char* oemName;
    std::u16string name;
    uint32_t method, attributes, size;
  } expected[] = {
      {"im\xA0genes/", u"im\u00e1genes/", 0, 0x10, 0},
      {"im\xA0genes/a.txt", u"im\u00e1genes/a.txt", 8, 0x20, static_cast<uint32_t>(text.size())},
      {"vac\xA1o", u"vac\u00edo", 8, 0x20, 0},
  };
  size_t at = directory;
  size_t previousLocal = 0;
  for (const auto& e : expected) {
    SCOPED_TRACE(e.oemName);
    const auto central = RecordAt<zip::TCentralHeader>(file, at);
    ASSERT_EQ(central.Signature, zip::TCentralHeader::kSignature);
    EXPECT_EQ(central.VersionMadeBy, 20u);
    EXPECT_EQ(central.VersionNeeded, 20u);
    EXPECT_EQ(central.Flags, 0u);
    EXPECT_EQ(central.CompressionMethod, e.method);
    EXPECT_EQ(central.LastModTime, when.time);
    EXPECT_EQ(central.LastModDate, when.date);
    EXPECT_EQ(central.UncompressedSize, e.size);
    EXPECT_EQ(central.CommentLength, 0u);
    EXPECT_EQ(central.DiskNumberStart, 0u);
    EXPECT_EQ(central.InternalAttributes, 0u);
    EXPECT_EQ(central.ExternalAttributes, e.attributes);
    const size_t name = at + zip::TCentralHeader::kSize;
    EXPECT_EQ(file.substr(name, central.NameLength), e.oemName);
    const std::vector<uint8_t> block = UnicodeNameBlock(e.name);
    EXPECT_EQ(file.substr(name + central.NameLength, central.ExtraLength), std::string(block.begin(), block.end()));

    // The offset counts from the start of the file, past the stub.
    const size_t local = central.LocalHeaderOffset;
    EXPECT_GE(local, previousLocal);
    EXPECT_GE(local, stub.size());
    previousLocal = local;
    const auto header = RecordAt<zip::TLocalHeader>(file, local);
    ASSERT_EQ(header.Signature, zip::TLocalHeader::kSignature);
    EXPECT_EQ(static_cast<const zip::TEntryFields&>(header), static_cast<const zip::TEntryFields&>(central));
    EXPECT_EQ(file.substr(local + zip::TLocalHeader::kSize, header.NameLength), e.oemName);
    const size_t data = local + zip::TLocalHeader::kSize + header.NameLength + header.ExtraLength;
    const std::string stored = file.substr(data, central.CompressedSize);
    if (e.method == 8) {
      const std::vector<uint8_t> plain = Inflate(stored, e.size);
      EXPECT_EQ(std::string(plain.begin(), plain.end()), e.size ? text : "");
      EXPECT_EQ(central.Crc32, crc32(0, plain.data(), static_cast<uInt>(plain.size())));
    } else {
      EXPECT_TRUE(stored.empty());
    }
    at = name + central.NameLength + central.ExtraLength;
  }
  EXPECT_EQ(at, endRecord);
  // The archive starts right after the stub.
  EXPECT_EQ(RecordAt<zip::TLocalHeader>(file, stub.size()).Signature, zip::TLocalHeader::kSignature);
}

TEST(ArchiveWriter, RefusesMisnamedEntries) {
  std::ostringstream out;
  ArchiveWriter writer(out, 0);
  EXPECT_THROW(writer.AddFolder(u"folder", {}), std::logic_error);
  EXPECT_THROW(writer.AddFile(u"file/", {}, {}), std::logic_error);
}

}  // namespace
}  // namespace mkinstaller
