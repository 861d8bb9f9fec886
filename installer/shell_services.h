// The shell's services that the installer uses: special folders, the
// folder-browse dialog and shell links. Paths are 8-bit strings in the
// system's ANSI code page, as the shell's ANSI interfaces take them.
#pragma once

#include <string>

namespace installer {

// The current user's documents folder, not created when missing; empty
// when the shell has none.
std::string GetPersonalFolder();

// The path of a shell special folder (a CSIDL_ value); empty when the
// shell call fails.
std::string GetSpecialFolder(int csidl, bool create);

// Writes the shell link linkFolder + "\" + linkName, which starts target
// with arguments in workingFolder. Returns whether the link file was
// saved; failing to create the link object raises EOleSysError.
bool CreateShortcut(const std::string& target, const std::string& arguments, const std::string& workingFolder,
                    const std::string& linkFolder, const std::string& linkName);

// Runs the shell's folder-browse dialog, modal to every window of the
// program, rooted at root (the desktop when empty), with directory
// preselected when it names an existing folder. On true, directory holds
// the chosen path; on false (cancelled, or no file-system folder) it is
// left as it was, or cleared if it named no folder.
bool BrowseForFolder(const std::string& caption, const std::string& root, std::string& directory);

// True when path names an existing directory.
bool FolderExists(const std::string& path);

}  // namespace installer
