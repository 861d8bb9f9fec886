// The installer's command line, for administrators who deploy it by
// script. Switches are case-insensitive:
//
//   /S, /SILENT, /VERYSILENT  no window and no message box
//   /D=folder                 the install folder: the rest of the command
//                             line, spaces and all, no quotes needed
//   /DIR="folder"             the same, quoted or not
//   /LOG=file                 a UTF-8 log of what was written, quoted or not
//   /?                        the usage
//
// The uninstaller's temporary copy takes two more, which nobody types:
// /_REMOVE="folder" (the uninstaller's own files to remove there) and
// /_AFTER=handle (the process to wait for first).
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/strings.h"

namespace installer {

using rt::WideString;
using rt::WideStringView;

struct TCommandLine {
  bool Silent = false;
  bool Usage = false;
  std::optional<WideString> Folder;
  std::optional<WideString> LogFile;
  std::optional<WideString> RemoveFrom;
  std::optional<uint64_t> After;
  // The first argument not understood, as written; empty when all were.
  WideString Unknown;

  bool Valid() const { return Unknown.empty(); }
};

// The arguments of a whole command line: what follows the program's name,
// quoted or not.
WideStringView ArgumentsOf(WideStringView commandLine);

TCommandLine ParseCommandLine(WideStringView arguments);

// What the usage box says.
WideString UsageText();

}  // namespace installer
