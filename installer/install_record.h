// What an installation wrote, kept in the install folder beside the
// uninstaller, so that uninstalling removes exactly that and nothing the
// user added: the files extracted, the folders the installation created
// and the shortcuts. Stored as UTF-8 lines "kind<TAB>path": "file" and
// "folder" paths relative to the install folder ("." is the folder
// itself), "shortcut" paths full.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/strings.h"

namespace installer {

using rt::WideString;

inline constexpr char16_t kUninstallerName[] = u"Desinstalar.exe";
inline constexpr char16_t kRecordName[] = u"Desinstalar.dat";

struct TInstallRecord {
  std::vector<WideString> Files;
  std::vector<WideString> Folders;
  std::vector<WideString> Shortcuts;

  bool Empty() const { return Files.empty() && Folders.empty() && Shortcuts.empty(); }

  // Lines of no known kind, relative paths that would lead out of the
  // install folder and shortcuts that are not shell links are dropped: the
  // file is the user's to edit, and uninstalling must never remove more
  // than an installation wrote.
  static TInstallRecord Parse(std::string_view utf8);
  std::string Text() const;

  // What an earlier installation into the same folder recorded and this
  // one did not: the folders it created (this one found them there), its
  // files and its shortcuts.
  void Merge(const TInstallRecord& earlier);
};

// The record kept in folder; empty when there is none or it cannot be
// read.
TInstallRecord ReadInstallRecord(const WideString& folder);
// Writes the record into folder; raises the file layer's errors.
void WriteInstallRecord(const WideString& folder, const TInstallRecord& record);

// Told of every path removed, or that could not be.
using TRemovalReport = std::function<void(const WideString& path, bool removed)>;

// Removes what the record lists from folder: the files (read-only ones
// too) and shortcuts, then the folders that the installation created and
// that are left empty, deepest first; a folder that still holds something
// is the user's and stays (and is not reported). Returns the files and
// shortcuts that could not be removed (in use, no rights).
TInstallRecord RemoveInstalled(const WideString& folder, const TInstallRecord& record, const TRemovalReport& report);

}  // namespace installer
