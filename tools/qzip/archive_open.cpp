#include "tools/qzip/archive_open.h"

#include <cerrno>
#include <filesystem>

#include "runtime/strings.h"
#include "tools/cli/command_line.h"
#include "tools/cli/console.h"
#include "tools/cli/files.h"
#include "tools/qzip/entry_report.h"
#include "tools/qzip/exit_codes.h"
#include "zip/dir_manager.h"
#include "zip/zip_exception.h"

namespace qzip {

namespace {


// The engine names a missing file and a folder alike; the system tells
// them apart.
void RefuseWhatIsNoFile(const std::string& typed) {
  const std::filesystem::path path = cli::PathFromUtf8(typed);
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  int reason = 0;
  if (status.type() == std::filesystem::file_type::not_found)
    reason = ENOENT;
  else if (status.type() == std::filesystem::file_type::directory)
    reason = EISDIR;
  else
    reason = cli::ReadableOrError(path);
  if (reason != 0) throw cli::Failure(kExitNotArchive, "cannot open " + typed + ": " + cli::SystemReason(reason));
}

}  // namespace

bool OpenArchive(zip::TZipArchiver& archiver, const std::string& typed, bool recover) {
  RefuseWhatIsNoFile(typed);
  archiver.SetFileName(rt::Utf8ToWide(typed));
  try {
    archiver.OpenArchive(zip::TZipBaseArchiver::kOpenReadOnly);
  } catch (const zip::EZipException& e) {
    if (e.ErrorCode() == zip::zeInvalidArchive) throw cli::Failure(kExitNotArchive, typed + ": not a ZIP archive");
    throw cli::Failure(kExitDamaged, typed + ": damaged archive: " + EngineText(e.what()));
  } catch (const rt::Exception& e) {
    throw cli::Failure(kExitNotArchive, "cannot open " + typed + ": " + EngineText(e.what()));
  }
  if (!archiver.DirManager()->Rebuilt()) return false;
  if (!recover) {
    archiver.CloseArchive();
    throw cli::Failure(kExitDamaged, typed +
                                         ": damaged archive: end of central directory not found or unusable "
                                         "(--recover rebuilds the entries from the local headers)");
  }
  cli::WriteErr("qzip: warning: " + typed +
                ": no usable central directory; entries rebuilt from the local headers, some may be missing\n");
  return true;
}

}  // namespace qzip
