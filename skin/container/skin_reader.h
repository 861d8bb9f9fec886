// TSkinReader: opens a skin file (a 32-bit unpacked size, then an LZHUF
// stream of the archive) and serves the archive's entries by name.
//
// The archive: magic 20000, the name list's length, two unused 32-bit
// fields, the names one per CR LF line, a 32-bit size per name, then the
// entries' bytes back to back in name order. All numbers little-endian.
// Names are plain 8-bit file names, folded to lower case on opening.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/streams.h"

namespace skin {

inline constexpr uint32_t kSkinArchiveMagic = 20000;
inline constexpr size_t kMaxSkinEntries = 1001;
// Far beyond any real skin (the installer's unpacks to about 540 KB), and
// low enough that a damaged size cannot make a load take all memory.
inline constexpr uint32_t kMaxSkinUnpackedSize = 64u << 20;
inline constexpr char16_t kOlderSkinFileMessage[] =
    u"This is Older Skin File\rPlease update to new version !";

class TSkinReader {
 public:
  explicit TSkinReader(uint32_t maxUnpackedSize = kMaxSkinUnpackedSize)
      : maxUnpackedSize_(maxUnpackedSize) {}

  // Unpacks and indexes the whole skin file, from its start. False when it
  // is no archive this reader can serve: too short, an unpacked size over
  // the limit, a magic other than 20000 (the user is told through the skin
  // message sink), tables cut short, or more than 1001 names.
  bool Open(rt::TStream& skinFile);

  // Clears dest and fills it with the first entry called name (any case),
  // rewound to 0; dest stays empty when there is none. An entry whose size
  // runs past the end of the data gives the bytes that exist.
  void ExtractEntry(std::string_view name, rt::TMemoryStream& dest) const;
  // The same for the first entry whose lower-case name contains text
  // (compared as given). foundName is that name, or empty.
  bool ExtractEntryContaining(std::string_view text, rt::TMemoryStream& dest,
                              std::string& foundName) const;

  size_t Count() const { return names_.size(); }
  const std::vector<std::string>& Names() const { return names_; }
  const std::vector<uint32_t>& Sizes() const { return sizes_; }
  uint32_t Magic() const { return magic_; }
  // The bytes after the size table, which the entries share out.
  size_t ContentSize() const { return content_.size(); }
  // Why the last Open returned false, with the numbers; empty after success.
  const std::string& FailureReason() const { return failure_; }

 private:
  bool Fail(std::string reason);
  bool Index(const std::vector<uint8_t>& archive, size_t& contentOffset);
  void CopyEntry(size_t index, rt::TMemoryStream& dest) const;

  uint32_t maxUnpackedSize_;
  uint32_t magic_ = 0;
  std::vector<std::string> names_;
  std::vector<uint32_t> sizes_;
  std::vector<uint8_t> content_;  // the entries' bytes, from the end of the size table
  std::string failure_;
};

// ASCII upper-case letters to lower case; other bytes as they are.
std::string FoldSkinName(std::string_view name);

}  // namespace skin
