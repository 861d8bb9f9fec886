// The entries of a payload folder, in the order the archive stores them:
// each folder's entry before its contents, names sorted by their bytes
// within a folder, so the same folder always gives the same archive.
#pragma once

#include <ctime>
#include <filesystem>
#include <vector>

#include "runtime/strings.h"

namespace mkinstaller {

struct PayloadEntry {
  rt::WideString name;  // relative, "/"-separated; a folder's ends in "/"
  std::filesystem::path path;
  bool folder = false;
  std::time_t modified = 0;
};

// Raises PayloadError for what an installer cannot carry: links and other
// special files, names that are not UTF-8 or that Windows refuses or
// reserves for devices, names in one folder that differ only in case.
std::vector<PayloadEntry> ScanPayload(const std::filesystem::path& root);

}  // namespace mkinstaller
