// Pure functions on wide path strings. The delimiters are "\" and ":".
#pragma once

#include "runtime/strings.h"

namespace zip {

using rt::WideString;
using rt::WideStringView;

// Everything up to and including the last delimiter; empty without one.
WideString PathOf(WideStringView name);
// Everything after the last delimiter.
WideString NameOf(WideStringView name);
// From the last "." to the end when it follows the last delimiter.
WideString ExtOf(WideStringView name);
// "X:" for a drive name; "\\server\share" for a UNC name; else empty.
WideString DriveOf(WideStringView name);
WideString WithTrailingBackslash(WideStringView name);
WideString WithoutTrailingBackslash(WideStringView name);
// Every "/" turned into "\", and the reverse: stored names separate with
// "/", the path functions and the system's names with "\".
WideString WithBackslashes(WideString name);
WideString WithSlashes(WideString name);

// Whether the name is a full path: "X:\" or "\\" first ("/" counts as "\").
bool IsFullyQualified(WideStringView name);
// The text that the system's own normalization makes of a full path
// ("C:\...", "\\server\share\..."): "/" read as "\", runs of separators
// as one, "." dropped, ".." taking away the name before it but never the
// drive or share, and dots and blanks dropped from the end of the last
// name. A trailing "\" stays.
WideString NormalizedFullPath(WideStringView fullPath);
// The "\\?\" form of a normalized full path, which the system passes on
// without parsing and takes up to 32,767 characters long: "\\?\C:\..." or
// "\\?\UNC\server\share\...".
WideString ExtendedLengthPath(WideStringView normalizedFullPath);

enum ReplaceFlags : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
WideString ReplaceText(WideStringView text, WideStringView oldPattern, WideStringView newPattern,
                       unsigned flags);

}  // namespace zip
