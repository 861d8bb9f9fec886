// The shell's services that the installer uses: special folders, the
// folder-browse dialog and shell links. Paths are UTF-16 from end to end,
// through the shell's wide interfaces, so that any folder name works.
#pragma once

#include "runtime/strings.h"

namespace installer {

using rt::WideString;

// The current user's documents folder, not created when missing; empty
// when the shell has none.
WideString GetPersonalFolder();

// The path of a shell special folder (a CSIDL_ value); empty when the
// shell call fails.
WideString GetSpecialFolder(int csidl, bool create);

// Writes the shell link linkFolder + "\" + linkName, which starts target
// with arguments in workingFolder. Returns whether the link file was
// saved with its target (the shell refuses targets longer than it can
// store); failing to create the link object raises EOleSysError.
bool CreateShortcut(const WideString& target, const WideString& arguments, const WideString& workingFolder,
                    const WideString& linkFolder, const WideString& linkName);

// Runs the shell's folder-browse dialog, modal to every window of the
// program, rooted at root (the desktop when empty), with directory
// preselected when it names an existing folder. On true, directory holds
// the chosen path; on false (cancelled, or no file-system folder) it is
// left as it was, or cleared if it named no folder.
bool BrowseForFolder(const WideString& caption, const WideString& root, WideString& directory);

// True when path names an existing directory.
bool FolderExists(const WideString& path);

}  // namespace installer
