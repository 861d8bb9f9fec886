// The installation behind "Instalar", and behind /S: room on the volume,
// the folder, the payload, the uninstaller with its record of what was
// written, the two shortcuts and the Apps & features entry. It shows
// nothing itself: its outcome carries the exit code and what the window
// tells the user, and the log gets every step.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "installer/exit_codes.h"
#include "installer/install_log.h"
#include "installer/install_record.h"
#include "runtime/strings.h"
#include "zip/archive_integrity.h"
#include "zip/zip_archiver.h"

namespace installer {

using rt::WideString;

struct TOutcome {
  TExitCode Code = ecDone;
  WideString Message;
};

class TInstallation {
 public:
  // archiver: the form's, configured by the stored form. Silent: a failed
  // entry is logged and skipped; otherwise the archiver's failure box asks
  // the user, as always.
  TInstallation(zip::TZipArchiver& archiver, const zip::TArchiveIntegrity& payload, TInstallLog& log, bool silent);

  TOutcome Run(const WideString& folder);

 private:
  bool PayloadFits(TOutcome& outcome) const;
  // The payload's folders (relative, "\" between names) not there yet.
  std::set<WideString> MissingFolders() const;
  // Extracts the payload into folder_, recording what it writes.
  void Extract();
  void PlaceUninstaller();
  // Whether the desktop's shortcut was written.
  bool MakeShortcuts();
  void WriteRecord();
  // Writes a file of the installation's own, logging it or why it failed.
  void WriteLogged(const WideString& path, const std::function<void()>& write);

  zip::TZipArchiver& archiver_;
  const zip::TArchiveIntegrity& payload_;
  TInstallLog& log_;
  bool silent_;
  WideString folder_;
  TInstallRecord record_;
};

}  // namespace installer
