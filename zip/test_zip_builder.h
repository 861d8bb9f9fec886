// Builds ZIP archives in memory for tests: every field the reader looks at
// can be set, including the damage real archives carry.
#pragma once

#include <cstdint>
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

// Extra blocks.
Bytes UnicodeNameBlock(const std::u16string& name);  // "NU"/"NUCX"
Bytes UnicodePathBlock(const std::string& utf8Name, const std::string& headerName, bool goodCrc = true);

// Helpers for raw edits.
void PutLE16(Bytes& b, size_t at, uint16_t v);
void PutLE32(Bytes& b, size_t at, uint32_t v);
size_t FindFirst(const Bytes& b, uint32_t signature);
size_t FindLast(const Bytes& b, uint32_t signature);

}  // namespace zip::testing
