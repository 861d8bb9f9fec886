#include "zip/archive_integrity.h"

#include <gtest/gtest.h>

#include "zip/archive_format.h"
#include "zip/tests/test_zip_builder.h"

namespace zip {
namespace {

using testing::Bytes;
using testing::FindFirst;
using testing::FindLast;
using testing::GetLE32;
using testing::HostBytes;
using testing::PutLE16;
using testing::PutLE32;
using testing::SignedImage;
using testing::TestArchive;

TArchiveIntegrity Check(const Bytes& bytes) {
  rt::TMemoryStream stream(bytes);
  return CheckArchiveIntegrity(stream);
}

// An installer: a host program with an archive of a folder, an empty file
// and two files appended, its offsets counting from the start of the file.
TestArchive Installer() {
  TestArchive a;
  a.prefix = HostBytes(700);
  a.entries = {{.name = "datos/", .attributes = 0x10},
               {.name = "datos/vacio.txt"},
               {.name = "datos/leeme.txt", .data = "hola"},
               {.name = "programa.exe", .data = std::string(3000, 'q'), .deflate = true}};
  return a;
}

TEST(ArchiveIntegrity, WholeArchivesPassAndCountTheirFiles) {
  TestArchive relative = Installer();
  relative.relativeOffsets = true;
  TestArchive commented = Installer();
  commented.comment = "PK\x05\x06 inside the comment";
  TestArchive zip64 = Installer();
  zip64.zip64 = true;
  TestArchive plain = Installer();
  plain.prefix.clear();
  const Bytes installer = BuildZip(Installer());
  const std::pair<const char*, Bytes> cases[] = {
      {"installer", installer},
      {"relative offsets", BuildZip(relative)},
      {"comment", BuildZip(commented)},
      {"zip64", BuildZip(zip64)},
      {"no host", BuildZip(plain)},
      {"signed", SignedImage(installer, (8 - installer.size() % 8) % 8)},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    const TArchiveIntegrity result = Check(bytes);
    EXPECT_TRUE(result.Whole()) << result.Detail;
    EXPECT_EQ(result.EntryCount, 4u);
    EXPECT_EQ(result.FileCount, 3u);
    EXPECT_EQ(result.UncompressedSize, 3004u);
    EXPECT_EQ(result.ArchiveStart, std::string(what) == "no host" ? 0u : 700u);
  }
  EXPECT_TRUE(Check(BuildZip(TestArchive{})).Whole()) << "an empty archive is whole";
}

// Whatever length a download was cut to, the copy is refused, and bytes
// after the archive are as wrong as bytes missing.
TEST(ArchiveIntegrity, EveryCopyCutShortOrLengthenedIsRefused) {
  const Bytes installer = BuildZip(Installer());
  const Bytes signedInstaller = SignedImage(installer, (8 - installer.size() % 8) % 8);
  for (const Bytes* whole : {&installer, &signedInstaller}) {
    for (size_t length = 0; length < whole->size(); ++length) {
      const Bytes cut(whole->begin(), whole->begin() + static_cast<std::ptrdiff_t>(length));
      ASSERT_FALSE(Check(cut).Whole()) << "cut to " << length << " of " << whole->size();
    }
    Bytes longer = *whole;
    longer.push_back(0);
    const TArchiveIntegrity result = Check(longer);
    EXPECT_EQ(result.Defect, whole == &installer ? adNoEndRecord : adCertificateCut) << result.Detail;
  }
  // The archive whole, its signature lost.
  const Bytes unsigned_(signedInstaller.begin(), signedInstaller.begin() + static_cast<std::ptrdiff_t>(installer.size()));
  EXPECT_EQ(Check(unsigned_).Defect, adCertificateCut);
}

struct Damage {
  const char* what;
  void (*apply)(Bytes&);
  TArchiveDefect expected;
};

size_t EndRecord(const Bytes& b) { return FindLast(b, TEndRecord::kSignature); }
size_t FirstCentralHeader(const Bytes& b) { return FindFirst(b, TCentralHeader::kSignature); }
// The central header of entry 3 ("programa.exe"), the last one.
size_t LastCentralHeader(const Bytes& b) { return FindLast(b, TCentralHeader::kSignature); }

const Damage kDamages[] = {
    {"one entry fewer counted", [](Bytes& b) {
       PutLE16(b, EndRecord(b) + 8, 3);
       PutLE16(b, EndRecord(b) + 10, 3);
     }, adCountMismatch},
    {"count on the disk differs", [](Bytes& b) { PutLE16(b, EndRecord(b) + 8, 3); }, adCountMismatch},
    {"more entries than the directory holds", [](Bytes& b) {
       PutLE16(b, EndRecord(b) + 8, 400);
       PutLE16(b, EndRecord(b) + 10, 400);
     }, adCountMismatch},
    {"directory one byte larger", [](Bytes& b) {
       PutLE32(b, EndRecord(b) + 12, GetLE32(b, EndRecord(b) + 12) + 1);
     }, adOffsetMismatch},
    {"directory one byte smaller", [](Bytes& b) {
       PutLE32(b, EndRecord(b) + 12, GetLE32(b, EndRecord(b) + 12) - 1);
     }, adBadCentralHeader},
    {"directory larger than the file", [](Bytes& b) { PutLE32(b, EndRecord(b) + 12, 0x7FFFFFFF); },
     adDirectoryOutside},
    {"offset after the directory", [](Bytes& b) {
       PutLE32(b, EndRecord(b) + 16, static_cast<uint32_t>(FirstCentralHeader(b) + 1));
     }, adOffsetMismatch},
    {"second volume", [](Bytes& b) { PutLE16(b, EndRecord(b) + 4, 1); }, adMultiVolume},
    {"central signature damaged", [](Bytes& b) { b[LastCentralHeader(b)] = 'X'; }, adBadCentralHeader},
    {"name runs past the directory", [](Bytes& b) { PutLE16(b, LastCentralHeader(b) + 28, 200); },
     adBadCentralHeader},
    {"local header beyond the directory", [](Bytes& b) {
       PutLE32(b, LastCentralHeader(b) + 42, static_cast<uint32_t>(FirstCentralHeader(b) - 10));
     }, adLocalHeaderOutside},
    {"local signature damaged", [](Bytes& b) { b[FindLast(b, TLocalHeader::kSignature)] = 'X'; }, adBadLocalHeader},
    {"data larger than its room", [](Bytes& b) { PutLE32(b, LastCentralHeader(b) + 20, 100000); }, adDataOutside},
    {"two entries at one header", [](Bytes& b) {
       const size_t second = FindFirst(b, TCentralHeader::kSignature) + 46 + 6;  // after "datos/"
       PutLE32(b, second + 42, GetLE32(b, FirstCentralHeader(b) + 42));
     }, adOverlap},
};

TEST(ArchiveIntegrity, EachDamageIsNamed) {
  for (const Damage& damage : kDamages) {
    SCOPED_TRACE(damage.what);
    Bytes bytes = BuildZip(Installer());
    damage.apply(bytes);
    const TArchiveIntegrity result = Check(bytes);
    EXPECT_EQ(result.Defect, damage.expected) << result.Detail;
    EXPECT_FALSE(result.Detail.empty());
  }
}

TEST(ArchiveIntegrity, AZip64LocatorWithoutItsRecordIsRefused) {
  TestArchive a = Installer();
  a.zip64 = true;
  Bytes bytes = BuildZip(a);
  bytes[FindLast(bytes, TZip64EndRecord::kSignature)] = 'X';
  EXPECT_EQ(Check(bytes).Defect, adZip64RecordMissing);
}

}  // namespace
}  // namespace zip
