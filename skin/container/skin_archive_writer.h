// Making skin files, for tools and tests: the archive that TSkinReader
// reads, and the packed file around it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "runtime/exceptions.h"

namespace skin {

// Entries that an archive cannot hold: too many, a name with a line break,
// more than 4 GiB.
class ESkinArchiveError : public rt::Exception {
  using rt::Exception::Exception;
};

using TSkinArchiveEntry = std::pair<std::string, std::vector<uint8_t>>;

// The unpacked archive: header (the two unused fields 0), the names each
// with CR LF, the sizes, the contents, in the order given.
std::vector<uint8_t> PackSkinArchive(const std::vector<TSkinArchiveEntry>& entries);

// The skin file: the archive's size as 32 bits, then its LZHUF stream.
std::vector<uint8_t> MakeSkinFile(std::span<const uint8_t> archive);

}  // namespace skin
