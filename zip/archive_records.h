// The records of a ZIP archive, each described once: its signature, its
// fixed size and its fields in the order they are stored. Read takes a
// record from exactly its fixed bytes, Write appends it in little-endian
// order. The engine reads through these; the installer's packer and the
// tests' archive builder write through them, with whatever values they
// are given, sound or damaged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/strings.h"

namespace zip {

inline constexpr uint16_t kFlagEncrypted = 0x0001;
inline constexpr uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr uint16_t kFlagUtf8 = 0x0800;

// The fields that a local header and a central header share, from
// "version needed" to the name and extra lengths.
struct TEntryFields {
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

  bool operator==(const TEntryFields&) const = default;

  template <class Self, class Visit>
  static constexpr void Fields(Self& r, Visit&& visit) {
    visit(r.VersionNeeded), visit(r.Flags), visit(r.CompressionMethod), visit(r.LastModTime),
        visit(r.LastModDate), visit(r.Crc32), visit(r.CompressedSize), visit(r.UncompressedSize),
        visit(r.NameLength), visit(r.ExtraLength);
  }
};

// Before each entry's data; the name and the extra field follow it.
struct TLocalHeader : TEntryFields {
  static constexpr uint32_t kSignature = 0x04034B50;
  static constexpr size_t kSize = 30;
  uint32_t Signature = 0;

  template <class Self, class Visit>
  static constexpr void Fields(Self& r, Visit&& visit) {
    visit(r.Signature);
    TEntryFields::Fields(r, visit);
  }
  static TLocalHeader Read(std::span<const uint8_t, kSize> bytes);
  void Write(std::vector<uint8_t>& out) const;
};

// An entry of the central directory; the name, the extra field and the
// comment follow it.
struct TCentralHeader : TEntryFields {
  static constexpr uint32_t kSignature = 0x02014B50;
  static constexpr size_t kSize = 46;
  uint32_t Signature = 0;
  uint16_t VersionMadeBy = 0;
  uint16_t CommentLength = 0;
  uint16_t DiskNumberStart = 0;
  uint16_t InternalAttributes = 0;
  uint32_t ExternalAttributes = 0;
  uint32_t LocalHeaderOffset = 0;

  template <class Self, class Visit>
  static constexpr void Fields(Self& r, Visit&& visit) {
    visit(r.Signature), visit(r.VersionMadeBy);
    TEntryFields::Fields(r, visit);
    visit(r.CommentLength), visit(r.DiskNumberStart), visit(r.InternalAttributes), visit(r.ExternalAttributes),
        visit(r.LocalHeaderOffset);
  }
  static TCentralHeader Read(std::span<const uint8_t, kSize> bytes);
  void Write(std::vector<uint8_t>& out) const;
};

// After the data of an entry whose flags say the sizes come later.
struct TDataDescriptor {
  static constexpr uint32_t kSignature = 0x08074B50;
  static constexpr size_t kSize = 16;
  uint32_t Signature = 0;
  uint32_t Crc32 = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;

  template <class Self, class Visit>
  static constexpr void Fields(Self& r, Visit&& visit) {
    visit(r.Signature), visit(r.Crc32), visit(r.CompressedSize), visit(r.UncompressedSize);
  }
  static TDataDescriptor Read(std::span<const uint8_t, kSize> bytes);
  void Write(std::vector<uint8_t>& out) const;
};

// The 64-bit end of the central directory, without extensible data.
struct TZip64EndRecord {
  static constexpr uint32_t kSignature = 0x06064B50;
  static constexpr size_t kSize = 56;
  uint32_t Signature = 0;
  uint64_t RecordSize = 0;  // what follows this field: kSize - 12
  uint16_t VersionMadeBy = 0;
  uint16_t VersionNeeded = 0;
  uint32_t DiskNumber = 0;
  uint32_t StartDisk = 0;
  uint64_t EntriesOnDisk = 0;
  uint64_t TotalEntries = 0;
  uint64_t DirectorySize = 0;
  uint64_t DirectoryOffset = 0;

  template <class Self, class Visit>
  static constexpr void Fields(Self& r, Visit&& visit) {
    visit(r.Signature), visit(r.RecordSize), visit(r.VersionMadeBy), visit(r.VersionNeeded),
        visit(r.DiskNumber), visit(r.StartDisk), visit(r.EntriesOnDisk), visit(r.TotalEntries),
        visit(r.DirectorySize), visit(r.DirectoryOffset);
  }
  static TZip64EndRecord Read(std::span<const uint8_t, kSize> bytes);
  void Write(std::vector<uint8_t>& out) const;
};

// Right before the end record: where the Zip64 end record lies.
struct TZip64Locator {
  static constexpr uint32_t kSignature = 0x07064B50;
  static constexpr size_t kSize = 20;
  uint32_t Signature = 0;
  uint32_t EndRecordDisk = 0;
  uint64_t EndRecordOffset = 0;
  uint32_t TotalDisks = 0;

  template <class Self, class Visit>
  static constexpr void Fields(Self& r, Visit&& visit) {
    visit(r.Signature), visit(r.EndRecordDisk), visit(r.EndRecordOffset), visit(r.TotalDisks);
  }
  static TZip64Locator Read(std::span<const uint8_t, kSize> bytes);
  void Write(std::vector<uint8_t>& out) const;
};

// The end of the central directory, which ends the archive; the archive
// comment follows it.
struct TEndRecord {
  static constexpr uint32_t kSignature = 0x06054B50;
  static constexpr size_t kSize = 22;
  uint32_t Signature = kSignature;
  uint16_t DiskNumber = 0;
  uint16_t StartDisk = 0;
  uint16_t EntriesOnDisk = 0;
  uint16_t TotalEntries = 0;
  uint32_t DirectorySize = 0;
  uint32_t DirectoryOffset = 0;
  uint16_t CommentLength = 0;

  template <class Self, class Visit>
  static constexpr void Fields(Self& r, Visit&& visit) {
    visit(r.Signature), visit(r.DiskNumber), visit(r.StartDisk), visit(r.EntriesOnDisk),
        visit(r.TotalEntries), visit(r.DirectorySize), visit(r.DirectoryOffset), visit(r.CommentLength);
  }
  static TEndRecord Read(std::span<const uint8_t, kSize> bytes);
  void Write(std::vector<uint8_t>& out) const;
};

// Whether an end record defers any of its values to the Zip64 record.
bool NeedsZip64(const TEndRecord& record);

// Appends an extra-field block: its id, the size of its data, the data.
// Data larger than a block holds is a std::length_error.
void WriteExtraBlock(std::vector<uint8_t>& out, uint16_t id, std::span<const uint8_t> data);

// The Zip64 extended information block. Each value is there only when its
// header field is escaped (all ones), in this order.
struct TZip64ExtraBlock {
  static constexpr uint16_t kId = 0x0001;
  std::optional<uint64_t> UncompressedSize = std::nullopt;
  std::optional<uint64_t> CompressedSize = std::nullopt;
  std::optional<uint64_t> LocalHeaderOffset = std::nullopt;
  std::optional<uint32_t> DiskNumberStart = std::nullopt;

  // The values that header escapes, each as far as the data holds it
  // whole. Of the disk number only the low 16 bits are read.
  static TZip64ExtraBlock Read(std::span<const uint8_t> data, const TCentralHeader& header);
  // The whole block with the values that are there.
  void Write(std::vector<uint8_t>& out) const;
};

// The "NU" block: "NUCX", the count of UTF-16 units, the units.
struct TUnicodeNameBlock {
  static constexpr uint16_t kId = 0x554E;
  rt::WideString Name;

  // Nothing when the data is not a "NUCX" name, or names more units than
  // it holds.
  static std::optional<TUnicodeNameBlock> Read(std::span<const uint8_t> data);
  void Write(std::vector<uint8_t>& out) const;
};

// The 0x7075 block: a version, the CRC-32 of the header name it stands
// for, then the name in UTF-8.
struct TUnicodePathBlock {
  static constexpr uint16_t kId = 0x7075;
  uint8_t Version = 1;
  uint32_t HeaderNameCrc = 0;
  std::string Utf8Name;

  // Nothing when the data is shorter than the version and the CRC.
  static std::optional<TUnicodePathBlock> Read(std::span<const uint8_t> data);
  void Write(std::vector<uint8_t>& out) const;
};

}  // namespace zip
