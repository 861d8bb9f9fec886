// Decoding one entry to nowhere, to learn whether its data is whole and,
// when it is not, what is wrong with it.
#pragma once

#include <optional>

#include "tools/qzip/entry_report.h"
#include "zip/zip_archiver.h"

namespace qzip {

// Decodes entry index of an open archive; nothing when its data is whole.
// A password request the archiver's handler skips is not checked here.
std::optional<EntryProblem> CheckEntry(zip::TZipArchiver& archiver, int index);

}  // namespace qzip
