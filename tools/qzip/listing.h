// The forms of "qzip list": a table of sizes, dates and names; a long form
// that adds method, compressed size, ratio, CRC and encryption; names only;
// and the raw tab-separated directory for scripts.
#pragma once

#include <string>

#include "zip/dir_manager.h"

namespace qzip {

enum class ListForm { kShort, kLong, kNames, kRaw };

// The listing of every entry; names have their control characters
// escaped.
std::string Listing(const zip::TZipDirManager& manager, const std::string& archive, ListForm form);

}  // namespace qzip
