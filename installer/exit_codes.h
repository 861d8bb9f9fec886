// The installer's and the uninstaller's exit codes, as scripts read them.
#pragma once

namespace installer {

enum TExitCode {
  ecDone = 0,               // installed, or uninstalled
  ecCancelled = 1,          // the user said no, or closed the window first
  ecPayloadDamaged = 2,     // the installer is damaged or incomplete
  ecFolderNotCreated = 3,   // the install folder cannot be created
  ecIncomplete = 4,         // some entries not installed (or not removed)
  ecNoRoom = 5,             // the payload does not fit on the volume
  ecBadCommandLine = 64,
};

// What a code means, in the log's words.
const char* ExitCodeMeaning(TExitCode code);

}  // namespace installer
