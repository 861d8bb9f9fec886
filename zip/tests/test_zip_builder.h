// Builds ZIP archives in memory for tests: every field the reader looks at
// can be set, including the damage real archives carry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zip::testing {

using Bytes = std::vector<uint8_t>;

struct TestEntry {
  std::string name;  // stored bytes, as given
  std::string data;
  bool deflate = false;
  uint32_t attributes = 0x20;
  uint16_t flags = 0;
  uint16_t time = 0x6000;  // 12:00:00
  uint16_t date = 0x5A21;  // 2025-01-01
  Bytes extra;             // central-header extra field
  std::string comment;
  bool corruptCrc = false;
  std::optional<uint16_t> method;            // recorded instead of 0 or 8
  std::optional<std::string> stored;         // the data bytes as stored, instead of data's
  std::string password;                      // traditional encryption when not empty
  std::optional<std::string> localName;      // a different name in the local header
  std::optional<uint64_t> uncompressedSize;  // recorded instead of data's size
};

struct TestArchive {
  std::vector<TestEntry> entries;
  Bytes prefix;                  // host bytes before the archive
  bool relativeOffsets = false;  // offsets count from the archive start
  std::string comment;
  bool zip64 = false;            // Zip64 records and escaped fields
  Bytes suffix;                  // bytes after the end record
};

Bytes BuildZip(const TestArchive& archive);

// Raw deflate data: zlib's at level 9, or only stored blocks of at most
// blockSize bytes (whose length is exactly data + 5 bytes per block).
std::string RawDeflate(const std::string& data);
std::string StoredBlocksDeflate(const std::string& data, size_t blockSize = 65535);

// Extra blocks.
Bytes UnicodeNameBlock(const std::u16string& name);  // "NU"/"NUCX"
Bytes UnicodePathBlock(const std::string& utf8Name, const std::string& headerName, bool goodCrc = true);

// n bytes of a host program that begins "MZ" and holds no signature.
Bytes HostBytes(size_t n);
// A PE image whose certificate table, appended by a signing tool after
// padding zero bytes, ends the file after the archive: the archive's first
// bytes get just enough of a PE header to name the table.
Bytes SignedImage(const Bytes& archiveAtEnd, size_t padding);

// Helpers for raw edits; an offset past the bytes is a std::out_of_range.
void PutLE16(Bytes& b, size_t at, uint16_t v);
void PutLE32(Bytes& b, size_t at, uint32_t v);
uint32_t GetLE32(const Bytes& b, size_t at);
size_t FindFirst(const Bytes& b, uint32_t signature);
size_t FindLast(const Bytes& b, uint32_t signature);

}  // namespace zip::testing
