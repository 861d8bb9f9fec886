// One central-directory entry in memory.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/streams.h"
#include "runtime/strings.h"

namespace zip {

using rt::AnsiString;
using rt::WideString;
using rt::WideStringView;

struct TZipExtraField {
  uint16_t HeaderId = 0;
  uint16_t DataSize = 0;
  std::vector<uint8_t> Data;
};

inline constexpr uint32_t kCentralHeaderSignature = 0x02014B50;
inline constexpr size_t kCentralHeaderSize = 46;

inline constexpr uint16_t kFlagEncrypted = 0x0001;
inline constexpr uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr uint16_t kFlagUtf8 = 0x0800;

struct TDirItem {
  // The central header as stored; LocalHeaderOffset may be corrected by
  // the offset of an archive embedded in a host file.
  uint32_t Signature = 0;
  uint16_t VersionMadeBy = 0;
  uint16_t VersionNeeded = 0;
  uint16_t Flags = 0;
  uint16_t CompressionMethod = 0;
  uint16_t LastModTime = 0;
  uint16_t LastModDate = 0;
  uint32_t Crc32 = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;
  uint16_t NameLength = 0;
  uint16_t ExtraLength = 0;
  uint16_t CommentLength = 0;
  uint16_t DiskNumberStart = 0;
  uint16_t InternalAttributes = 0;
  uint32_t ExternalAttributes = 0;
  uint32_t LocalHeaderOffset = 0;

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

// Fills the 17 fixed fields from the 46 stored bytes.
void ReadCentralHeaderFields(const uint8_t* bytes, TDirItem& item);

}  // namespace zip
