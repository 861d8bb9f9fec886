#include "zip/tests/test_zip_builder.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

#include "runtime/byte_order.h"
#include "zip/archive_records.h"
#include "zip/crc32.h"
#include "zip/zip_crypto.h"

namespace zip::testing {

namespace {

void AddText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

}  // namespace

std::string RawDeflate(const std::string& data) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&z, data.size()) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::string StoredBlocksDeflate(const std::string& data, size_t blockSize) {
  std::string out;
  size_t at = 0;
  do {
    const size_t n = std::min(blockSize, data.size() - at);
    const bool last = at + n == data.size();
    out.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00, padded to the byte
    out.push_back(static_cast<char>(n & 0xFF));
    out.push_back(static_cast<char>(n >> 8));
    out.push_back(static_cast<char>(~n & 0xFF));
    out.push_back(static_cast<char>((~n >> 8) & 0xFF));
    out.append(data, at, n);
    at += n;
  } while (at < data.size());
  return out;
}

namespace {

// The 12-byte header and the data, encrypted; the header's last byte is
// the check the reader compares.
std::string Encrypt(const std::string& stored, const std::string& password, uint8_t check) {
  std::string header = "quimora-sal";
  header.push_back(static_cast<char>(check));
  std::string out = header + stored;
  TZipCipher(password).Encrypt(reinterpret_cast<uint8_t*>(out.data()), out.size());
  return out;
}

}  // namespace

namespace {

// A bad offset in a test is a test's fault, not memory to touch.
size_t FieldAt(const Bytes& b, size_t at, size_t width) {
  if (at > b.size() || width > b.size() - at) throw std::out_of_range("a field past the end of the bytes");
  return at;
}

bool SignatureAt(const Bytes& b, size_t i, uint32_t signature) { return rt::GetU32(b.data() + i) == signature; }

}  // namespace

void PutLE16(Bytes& b, size_t at, uint16_t v) { rt::PutU16(b.data() + FieldAt(b, at, 2), v); }
void PutLE32(Bytes& b, size_t at, uint32_t v) { rt::PutU32(b.data() + FieldAt(b, at, 4), v); }
uint32_t GetLE32(const Bytes& b, size_t at) { return rt::GetU32(b.data() + FieldAt(b, at, 4)); }

size_t FindFirst(const Bytes& b, uint32_t signature) {
  for (size_t i = 0; i + 4 <= b.size(); ++i)
    if (SignatureAt(b, i, signature)) return i;
  throw std::runtime_error("signature not found");
}

size_t FindLast(const Bytes& b, uint32_t signature) {
  for (size_t i = b.size() - 4; i + 1 > 0; --i)
    if (SignatureAt(b, i, signature)) return i;
  throw std::runtime_error("signature not found");
}

Bytes UnicodeNameBlock(const std::u16string& name) {
  Bytes b;
  TUnicodeNameBlock{name}.Write(b);
  return b;
}

Bytes UnicodePathBlock(const std::string& utf8Name, const std::string& headerName, bool goodCrc) {
  TUnicodePathBlock block;
  block.HeaderNameCrc = UpdateCrc32(0, headerName.data(), headerName.size()) ^ (goodCrc ? 0 : 1);
  block.Utf8Name = utf8Name;
  Bytes b;
  block.Write(b);
  return b;
}

Bytes BuildZip(const TestArchive& archive) {
  Bytes out = archive.prefix;
  const uint64_t base = archive.relativeOffsets ? archive.prefix.size() : 0;
  Bytes central;
  for (const TestEntry& e : archive.entries) {
    std::string stored = e.stored ? *e.stored : e.deflate ? RawDeflate(e.data) : e.data;
    uint32_t crc = UpdateCrc32(0, e.data.data(), e.data.size());
    if (e.corruptCrc) crc ^= 0x5A5A5A5A;
    const uint64_t offset = out.size() - base;
    const uint16_t method = e.method ? *e.method : e.deflate ? 8 : 0;
    uint16_t flags = e.flags;
    if (!e.password.empty()) {
      flags |= kFlagEncrypted;
      const uint8_t check = (flags & kFlagDataDescriptor) ? static_cast<uint8_t>(e.time >> 8)
                                        : static_cast<uint8_t>(crc >> 24);
      stored = Encrypt(stored, e.password, check);
    }
    const uint64_t size = e.uncompressedSize ? *e.uncompressedSize : e.data.size();
    const std::string localName = e.localName ? *e.localName : e.name;

    // A Zip64 archive escapes the sizes in both headers.
    const TEntryFields fields{.VersionNeeded = 20,
                              .Flags = flags,
                              .CompressionMethod = method,
                              .LastModTime = e.time,
                              .LastModDate = e.date,
                              .Crc32 = crc,
                              .CompressedSize = archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(stored.size()),
                              .UncompressedSize = archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(size)};

    TLocalHeader local{fields, TLocalHeader::kSignature};
    local.NameLength = static_cast<uint16_t>(localName.size());
    local.Write(out);
    AddText(out, localName);
    AddText(out, stored);

    Bytes extra = e.extra;
    if (archive.zip64) {
      Bytes z;
      TZip64ExtraBlock{.UncompressedSize = size, .CompressedSize = stored.size(), .LocalHeaderOffset = offset}.Write(z);
      extra.insert(extra.begin(), z.begin(), z.end());
    }
    TCentralHeader header;
    static_cast<TEntryFields&>(header) = fields;
    header.Signature = TCentralHeader::kSignature;
    header.VersionMadeBy = 20;
    header.NameLength = static_cast<uint16_t>(e.name.size());
    header.ExtraLength = static_cast<uint16_t>(extra.size());
    header.CommentLength = static_cast<uint16_t>(e.comment.size());
    header.ExternalAttributes = e.attributes;
    header.LocalHeaderOffset = archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(offset);
    header.Write(central);
    AddText(central, e.name);
    central.insert(central.end(), extra.begin(), extra.end());
    AddText(central, e.comment);
  }
  const uint64_t centralOffset = out.size() - base;
  out.insert(out.end(), central.begin(), central.end());
  const uint64_t count = archive.entries.size();
  if (archive.zip64) {
    const uint64_t recordOffset = out.size() - base;
    TZip64EndRecord{.Signature = TZip64EndRecord::kSignature,
                    .RecordSize = TZip64EndRecord::kSize - 12,
                    .VersionMadeBy = 45,
                    .VersionNeeded = 45,
                    .EntriesOnDisk = count,
                    .TotalEntries = count,
                    .DirectorySize = central.size(),
                    .DirectoryOffset = centralOffset}
        .Write(out);
    TZip64Locator{.Signature = TZip64Locator::kSignature, .EndRecordOffset = recordOffset, .TotalDisks = 1}.Write(out);
  }
  TEndRecord{.EntriesOnDisk = archive.zip64 ? uint16_t{0xFFFF} : static_cast<uint16_t>(count),
             .TotalEntries = archive.zip64 ? uint16_t{0xFFFF} : static_cast<uint16_t>(count),
             .DirectorySize = archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(central.size()),
             .DirectoryOffset = archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(centralOffset),
             .CommentLength = static_cast<uint16_t>(archive.comment.size())}
      .Write(out);
  AddText(out, archive.comment);
  out.insert(out.end(), archive.suffix.begin(), archive.suffix.end());
  return out;
}

Bytes HostBytes(size_t n) {
  Bytes host(n);
  for (size_t i = 0; i < n; ++i) host[i] = static_cast<uint8_t>(i * 7);
  host[0] = 'M';
  host[1] = 'Z';
  return host;
}

Bytes SignedImage(const Bytes& archiveAtEnd, size_t padding) {
  Bytes image = archiveAtEnd;
  image.insert(image.end(), padding, 0);
  const size_t table = image.size();
  image.insert(image.end(), 40, 0xCC);
  // PE32+ headers at 0x80: signature, COFF header, optional header.
  PutLE32(image, 0x3C, 0x80);
  PutLE32(image, 0x80, 0x00004550);
  PutLE16(image, 0x80 + 20, 240);  // size of the optional header
  PutLE16(image, 0x98, 0x20B);     // magic
  PutLE32(image, 0x98 + 108, 16);  // number of directories
  PutLE32(image, 0x98 + 112 + 32, static_cast<uint32_t>(table));
  PutLE32(image, 0x98 + 112 + 36, 40);
  return image;
}

}  // namespace zip::testing
