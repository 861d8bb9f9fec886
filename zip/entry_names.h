// What an entry's stored name means for extracting it: whether it stands
// for a folder, and whether it may be written at all.
#pragma once

#include "runtime/strings.h"
#include "zip/dir_item.h"

namespace zip {

using rt::WideStringView;

// A folder entry: the directory attribute, or a name ending with a
// separator. Extracting one creates folders and reads no data.
bool IsFolderEntry(const TDirItem& item);

// True when a stored entry name, with "\" separators, would lead out of
// the destination folder: a ".." component (also written with more dots
// or with trailing blanks, which Windows drops from a name), a leading
// "\", a ":" (a drive or a stream), a doubled "\" (a complete path to the
// extraction), or a zero character (which would cut the name short where
// it meets the system).
bool LeavesDestination(WideStringView name);

}  // namespace zip
