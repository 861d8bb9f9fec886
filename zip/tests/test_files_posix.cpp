#include <filesystem>

#include "runtime/strings.h"
#include "zip/file_layer.h"
#include "zip/tests/test_files.h"

namespace zip::testing {

namespace stdfs = std::filesystem;

void RemoveTree(const rt::WideString& folder) {
  const stdfs::path root(rt::WideToUtf8(FsSystemName(folder)));
  std::error_code walking, ignored;
  for (stdfs::recursive_directory_iterator entry(root, walking), end; !walking && entry != end;
       entry.increment(walking))
    stdfs::permissions(entry->path(), stdfs::perms::owner_write, stdfs::perm_options::add, ignored);
  stdfs::remove_all(root, ignored);
}

}  // namespace zip::testing
