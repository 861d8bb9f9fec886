// Asking the person at the terminal before an existing file is replaced.
#pragma once

#include "zip/zip_archiver.h"

namespace qzip {

// Sets the archiver to ask, for each existing file, "replace NAME?
// [y]es, [n]o, [A]ll, [N]one" and to take y, n, A or N (also the words);
// "All" and "None" answer every later question. The end of the input is
// "None". shown turns the engine's destination name into the one shown.
void AskBeforeOverwriting(zip::TZipArchiver& archiver, std::string (*shown)(const zip::WideString&));

}  // namespace qzip
