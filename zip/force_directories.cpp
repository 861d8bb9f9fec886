#include <algorithm>

#include "runtime/exceptions.h"
#include "runtime/stock_texts.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"

namespace zip {

bool FsForceDirectories(const WideString& path) {
  if (path.empty()) throw rt::EFileLayerError(rt::kSCannotCreateDir);
  // The system takes "/" between folders as well as "\" (on POSIX it is
  // the only one), but the path functions split at "\" alone: a path
  // written with "/" would otherwise look like one folder whose parent is
  // missing.
  const WideString folder = WithoutTrailingBackslash(WithBackslashes(path));
  // Anything shorter than "C:\" is a drive, a root or a name too short to
  // tell apart from one; it counts as present.
  if (folder.size() < 3 || FsDirectoryExists(folder)) return true;
  const WideString parent = PathOf(folder);
  // Still ending in a delimiter, as a root written "C:\\" leaves "C:\":
  // nothing left to create.
  if (parent == folder) return true;
  // The parent's failure is the whole answer; the folder is not tried, so
  // the system's last error still tells why the parent could not be made.
  // A relative name whose first folder is missing ends here with an empty
  // parent, which raises.
  if (!FsForceDirectories(parent)) return false;
  return FsCreateDirectory(folder);
}

}  // namespace zip
