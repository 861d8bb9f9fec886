// What qzip says about an entry that could not be decoded or written: the
// reason in words a person and a script can tell apart, and the exit status
// it stands for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "zip/dir_item.h"

namespace qzip {

struct EntryProblem {
  int status;
  std::string reason;
};

// A method or encryption qzip cannot decode, known from the directory
// alone; nothing when the engine may decode the entry.
std::optional<EntryProblem> UnsupportedEntry(const zip::TDirItem& item);

// The data decoded to a different CRC or size than the directory records:
// fewer bytes are damaged data, the right number a bad CRC.
EntryProblem BadData(const zip::TDirItem& item, uint32_t crc, uint64_t size);

// The name of a compression method, as listings show it ("Defl:N").
std::string MethodName(uint16_t method);

// A name or message with its control characters written as "\x1b", so
// that a listing cannot move the cursor or change the terminal's colours.
std::string Printable(const std::string& utf8);

// The engine's own message without the number of its raising site.
std::string EngineText(const std::string& message);

}  // namespace qzip
