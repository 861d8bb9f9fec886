// Opening the archive a command names, with failures that say which of
// "not there", "not a ZIP archive" and "damaged" it is.
#pragma once

#include <string>

#include "zip/zip_archiver.h"

namespace qzip {

// Opens the archive read-only, the way the installer opens its payload.
// Raises cli::Failure: status 9 when the file is missing, unreadable or no
// ZIP archive, 2 when it is damaged. An archive without a usable central
// directory is refused unless recover is set; then its entries are rebuilt
// from the local headers that remain and a warning says so. Returns
// whether the directory was rebuilt.
bool OpenArchive(zip::TZipArchiver& archiver, const std::string& typed, bool recover);

}  // namespace qzip
