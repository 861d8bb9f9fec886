// One central-directory entry in memory.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/streams.h"
#include "runtime/strings.h"
#include "zip/archive_records.h"

namespace zip {

using rt::AnsiString;
using rt::WideString;
using rt::WideStringView;

struct TZipExtraField {
  uint16_t HeaderId = 0;
  uint16_t DataSize = 0;
  std::vector<uint8_t> Data;
};

// The central header as stored, and what the engine keeps beside it.
// LocalHeaderOffset may be corrected by the offset of an archive embedded
// in a host file.
struct TDirItem : TCentralHeader {
  WideString Name;  // "/" separated, as stored
  WideString AltName;
  AnsiString Comment;
  std::vector<TZipExtraField> ExtraFields;
  uint8_t HasZip64Info = 0;
  uint64_t Zip64UncompressedSize = 0;
  uint64_t Zip64CompressedSize = 0;
  uint64_t Zip64LocalHeaderOffset = 0;
  uint32_t Zip64DiskNumberStart = 0;
  uint8_t StorePending = 0;
  WideString EntryPassword;
  rt::TStream* SourceStream = nullptr;
  uint8_t OwnsSourceStream = 0;
  uint32_t SourcePosition = 0;
  uint8_t Selected = 0;
  WideString SourceFileName;
  uint8_t EntryCompressionMode = 0;
  uint8_t PendingOperation = 0;

  // Sizes and offset with the Zip64 values where the 32-bit field is escaped.
  uint64_t TrueCompressedSize() const {
    return CompressedSize == 0xFFFFFFFF ? Zip64CompressedSize : CompressedSize;
  }
  uint64_t TrueUncompressedSize() const {
    return UncompressedSize == 0xFFFFFFFF ? Zip64UncompressedSize : UncompressedSize;
  }
  uint64_t TrueLocalHeaderOffset() const {
    return LocalHeaderOffset == 0xFFFFFFFF ? Zip64LocalHeaderOffset : LocalHeaderOffset;
  }
};

}  // namespace zip
