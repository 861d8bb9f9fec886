// Writes a ZIP archive the way the installer's payload is stored: files
// deflated, folders as empty stored entries whose names end in "/", MS-DOS
// attributes, version made by and needed 2.0, names in code page 437 with
// a "NU" block for names beyond ASCII, and offsets that count from the
// start of the whole file the archive is appended to. No Zip64: a payload
// that needs it is refused.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

#include "runtime/strings.h"
#include "tools/mkinstaller/dos_time.h"

namespace mkinstaller {

inline constexpr uint32_t kAttrFolder = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;

class ArchiveWriter {
 public:
  // The first byte written to out lies at offset start of the whole file.
  ArchiveWriter(std::ostream& out, uint64_t start) : out_(out), position_(start) {}

  // name ends in "/".
  void AddFolder(rt::WideStringView name, DosDateTime when);
  void AddFile(rt::WideStringView name, std::span<const uint8_t> data, DosDateTime when);
  // The central directory and the end record, without a comment.
  void Finish();

 private:
  void AddEntry(rt::WideStringView name, uint16_t method, uint32_t crc, std::span<const uint8_t> stored,
                uint64_t size, uint32_t attributes, DosDateTime when);
  void Write(std::span<const uint8_t> bytes);

  std::ostream& out_;
  uint64_t position_;
  std::vector<std::vector<uint8_t>> entries_;  // central headers, in order
};

// Raw deflate (no zlib header) at the best compression.
std::vector<uint8_t> Deflate(std::span<const uint8_t> data);

}  // namespace mkinstaller
