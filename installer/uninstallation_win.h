// The uninstaller: removes what an installation's record lists and the
// Apps & features entry, then itself. A running program cannot delete its
// own file, so the last step is a copy of the program in the temporary
// folder, which waits for the uninstaller to end, removes its file, its
// record and the folder when the installation made it and it is left
// empty, and goes itself when it ends.
#pragma once

#include <cstdint>

#include "installer/install_log.h"
#include "installer/installation_win.h"
#include "runtime/strings.h"

namespace installer {

// Removes the installation in folder, where the uninstaller and the record
// are. Nothing asked, nothing shown: the outcome says what to tell.
TOutcome Uninstall(const WideString& folder, TInstallLog& log);

// Starts the copy that removes the uninstaller's own files from folder
// once this process has ended; false when it cannot be started.
bool StartSelfRemoval(const WideString& folder);

// What the copy does: waits for the process whose handle it inherited,
// then removes the uninstaller, its record and the folder.
TExitCode RemoveUninstaller(const WideString& folder, uint64_t process);

}  // namespace installer
