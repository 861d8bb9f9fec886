#include "zip/tests/test_zip_builder.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

#include "zip/crc32.h"
#include "zip/zip_crypto.h"

namespace zip::testing {

namespace {

void Add16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Add32(Bytes& b, uint32_t v) {
  Add16(b, static_cast<uint16_t>(v));
  Add16(b, static_cast<uint16_t>(v >> 16));
}
void Add64(Bytes& b, uint64_t v) {
  Add32(b, static_cast<uint32_t>(v));
  Add32(b, static_cast<uint32_t>(v >> 32));
}
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

void PutLE16(Bytes& b, size_t at, uint16_t v) {
  b.at(at) = static_cast<uint8_t>(v);
  b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

void PutLE32(Bytes& b, size_t at, uint32_t v) {
  PutLE16(b, at, static_cast<uint16_t>(v));
  PutLE16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

namespace {
bool SignatureAt(const Bytes& b, size_t i, uint32_t signature) {
  return (b[i] | (b[i + 1] << 8) | (b[i + 2] << 16) | (uint32_t(b[i + 3]) << 24)) == signature;
}
}  // namespace

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
  Add16(b, 0x554E);
  Add16(b, static_cast<uint16_t>(8 + 2 * name.size()));
  AddText(b, "NUCX");
  Add32(b, static_cast<uint32_t>(name.size()));
  for (char16_t c : name) Add16(b, c);
  return b;
}

Bytes UnicodePathBlock(const std::string& utf8Name, const std::string& headerName, bool goodCrc) {
  Bytes b;
  Add16(b, 0x7075);
  Add16(b, static_cast<uint16_t>(5 + utf8Name.size()));
  b.push_back(1);
  Add32(b, UpdateCrc32(0, headerName.data(), headerName.size()) ^ (goodCrc ? 0 : 1));
  AddText(b, utf8Name);
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
      flags |= 1;
      const uint8_t check = (flags & 8) ? static_cast<uint8_t>(e.time >> 8)
                                        : static_cast<uint8_t>(crc >> 24);
      stored = Encrypt(stored, e.password, check);
    }
    const uint64_t size = e.uncompressedSize ? *e.uncompressedSize : e.data.size();
    const std::string localName = e.localName ? *e.localName : e.name;

    Add32(out, 0x04034B50);
    Add16(out, 20);
    Add16(out, flags);
    Add16(out, method);
    Add16(out, e.time);
    Add16(out, e.date);
    Add32(out, crc);
    Add32(out, archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(stored.size()));
    Add32(out, archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(size));
    Add16(out, static_cast<uint16_t>(localName.size()));
    Add16(out, 0);
    AddText(out, localName);
    AddText(out, stored);

    Bytes extra = e.extra;
    if (archive.zip64) {
      Bytes z;
      Add16(z, 0x0001);
      Add16(z, 24);
      Add64(z, size);
      Add64(z, stored.size());
      Add64(z, offset);
      extra.insert(extra.begin(), z.begin(), z.end());
    }
    Add32(central, 0x02014B50);
    Add16(central, 20);
    Add16(central, 20);
    Add16(central, flags);
    Add16(central, method);
    Add16(central, e.time);
    Add16(central, e.date);
    Add32(central, crc);
    Add32(central, archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(stored.size()));
    Add32(central, archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(size));
    Add16(central, static_cast<uint16_t>(e.name.size()));
    Add16(central, static_cast<uint16_t>(extra.size()));
    Add16(central, static_cast<uint16_t>(e.comment.size()));
    Add16(central, 0);
    Add16(central, 0);
    Add32(central, e.attributes);
    Add32(central, archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(offset));
    AddText(central, e.name);
    central.insert(central.end(), extra.begin(), extra.end());
    AddText(central, e.comment);
  }
  const uint64_t centralOffset = out.size() - base;
  out.insert(out.end(), central.begin(), central.end());
  const uint64_t count = archive.entries.size();
  if (archive.zip64) {
    const uint64_t recordOffset = out.size() - base;
    Add32(out, 0x06064B50);
    Add64(out, 44);
    Add16(out, 45);
    Add16(out, 45);
    Add32(out, 0);
    Add32(out, 0);
    Add64(out, count);
    Add64(out, count);
    Add64(out, central.size());
    Add64(out, centralOffset);
    Add32(out, 0x07064B50);
    Add32(out, 0);
    Add64(out, recordOffset);
    Add32(out, 1);
  }
  Add32(out, 0x06054B50);
  Add16(out, 0);
  Add16(out, 0);
  Add16(out, archive.zip64 ? 0xFFFF : static_cast<uint16_t>(count));
  Add16(out, archive.zip64 ? 0xFFFF : static_cast<uint16_t>(count));
  Add32(out, archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(central.size()));
  Add32(out, archive.zip64 ? 0xFFFFFFFF : static_cast<uint32_t>(centralOffset));
  Add16(out, static_cast<uint16_t>(archive.comment.size()));
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
