#include "installer/installation_win.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "installer/disk_space.h"
#include "installer/installer_texts.h"
#include "installer/program_file.h"
#include "installer/shell_services.h"
#include "installer/uninstall_entry_win.h"
#include "installer/uninstaller_image.h"
#include "runtime/format.h"
#include "zip/dir_manager.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"
#include "zip/wide_file_stream.h"

namespace installer {

namespace {

// Open for reading, sharing denied to nobody.
constexpr uint16_t kOpenForReading = zip::kFmOpenRead | zip::kFmShareDenyNone;

WideString Under(const WideString& folder, const WideString& path) { return folder + u"\\" + path; }

// The archiver's handlers for the time of one extraction; the form's own
// (none, as stored) come back after it.
class TExtractionHandlers {
 public:
  explicit TExtractionHandlers(zip::TZipArchiver& archiver)
      : archiver_(archiver),
        fileProgress_(archiver.OnFileProgress),
        failure_(archiver.OnProcessFileFailure),
        diskFull_(archiver.OnDiskFull) {}
  ~TExtractionHandlers() {
    archiver_.OnFileProgress = fileProgress_;
    archiver_.OnProcessFileFailure = failure_;
    archiver_.OnDiskFull = diskFull_;
  }
  TExtractionHandlers(const TExtractionHandlers&) = delete;
  TExtractionHandlers& operator=(const TExtractionHandlers&) = delete;

 private:
  zip::TZipArchiver& archiver_;
  zip::TZipFileProgressEvent fileProgress_;
  zip::TZipProcessFileFailureEvent failure_;
  zip::TZipDiskFullEvent diskFull_;
};

}  // namespace

TInstallation::TInstallation(zip::TZipArchiver& archiver, const zip::TArchiveIntegrity& payload, TInstallLog& log,
                             bool silent)
    : archiver_(archiver), payload_(payload), log_(log), silent_(silent) {}

TOutcome TInstallation::Run(const WideString& folder) {
  folder_ = folder;
  record_ = {};
  TOutcome outcome;
  if (!PayloadFits(outcome)) return outcome;

  if (!FolderExists(folder_)) {
    if (!zip::FsCreateDirectory(folder_)) {
      log_.Write("failed", folder_, u"the folder cannot be created: " + zip::FsSysErrorMessage(zip::FsLastError()));
      return {ecFolderNotCreated, kFolderCreationFailed};
    }
    log_.Write("folder", folder_);
    record_.Folders.push_back(u".");
  }

  archiver_.Options().SetOverwriteMode(zip::omAlways);
  archiver_.SetFileName(ProgramPath());
  archiver_.OpenArchive(kOpenForReading);
  Extract();
  const int32_t selected = archiver_.SelectedCount();
  const int32_t missing = selected - archiver_.ProcessedCount();
  archiver_.CloseArchive();

  // What an earlier installation into this folder wrote is removed with
  // what this one wrote.
  record_.Merge(ReadInstallRecord(folder_));

  if (missing > 0) {
    // Entries answered Ignore or Abort, or a full disk: no uninstaller,
    // shortcut or entry for a program that may be missing, but what was
    // written is recorded for the next attempt's uninstaller.
    WriteRecord();
    return {ecIncomplete, rt::Format(kIncomplete, {missing, selected})};
  }

  PlaceUninstaller();
  const bool onDesktop = MakeShortcuts();
  WriteRecord();
  if (WriteUninstallEntry(folder_, payload_.UncompressedSize))
    log_.Write("registry", WideString(u"HKEY_CURRENT_USER\\") + kUninstallKey);
  else
    log_.Write("failed", WideString(u"HKEY_CURRENT_USER\\") + kUninstallKey, u"the entry cannot be written");

  WideString text = kFinished;
  text += u'\r';
  text += onDesktop ? kShortcutMade : kShortcutFailed;
  text += u'\r';
  text += kShortcutNameLine;
  text += u"\r\r";
  text += kFolderLine;
  text += folder_;
  text += u'\r';
  text += kProgramLine;
  text += kProgramFile;
  text += u'\r';
  return {ecDone, text};
}

bool TInstallation::PayloadFits(TOutcome& outcome) const {
  const auto space = DiskSpaceAt(folder_);
  // A volume that cannot be asked is found out by the folder's creation.
  if (!space) return true;
  const uint64_t needed = SpaceNeeded(payload_.UncompressedSize, payload_.FileCount, space->ClusterSize);
  if (needed <= space->FreeBytes) return true;
  outcome = {ecNoRoom, rt::Format(kNoRoom, {MegabytesUp(needed), MegabytesDown(space->FreeBytes)})};
  log_.Write("failed", folder_, outcome.Message);
  return false;
}

std::set<WideString> TInstallation::MissingFolders() const {
  std::set<WideString> missing;
  const zip::TZipDirArray& items = archiver_.DirManager()->Items();
  for (int i = 0; i < items.Count(); ++i) {
    const WideString name = zip::WithBackslashes(items.Item(i).Name);
    for (size_t end = name.find(u'\\'); end != WideString::npos; end = name.find(u'\\', end + 1)) {
      const WideString folder = name.substr(0, end);
      if (!folder.empty() && !missing.count(folder) && !zip::FsDirectoryExists(Under(folder_, folder)))
        missing.insert(folder);
    }
  }
  return missing;
}

void TInstallation::Extract() {
  const std::set<WideString> missingBefore = MissingFolders();
  const TExtractionHandlers restored(archiver_);
  archiver_.OnFileProgress = [&](rt::TObject*, const WideString& name, double, zip::TZipProcessOperation,
                                 zip::TZipProgressPhase phase, bool&) {
    const WideString relative = zip::WithBackslashes(name);
    if (phase != zip::ppEnd || relative.empty() || relative.back() == u'\\') return;
    record_.Files.push_back(relative);
    log_.Write("file", Under(folder_, relative));
  };
  archiver_.OnProcessFileFailure = [&](rt::TObject*, const WideString& name, zip::TZipProcessOperation,
                                       int32_t nativeError, int32_t, const WideString& message,
                                       zip::TZipAction& action) {
    log_.Write("failed", Under(folder_, name), message);
    action = silent_ ? zip::fxaIgnore : archiver_.AskAboutFileFailure(nativeError, message);
  };
  archiver_.OnDiskFull = [&](rt::TObject*, int32_t, const WideString&, bool& cancel) {
    log_.Write("failed", folder_, u"the disk is full");
    cancel = true;
  };
  archiver_.SetBaseDir(folder_);
  archiver_.ExtractMatching(u"*.*", zip::kEverySearchAttr, u"");
  for (const WideString& folder : missingBefore) {
    if (!zip::FsDirectoryExists(Under(folder_, folder))) continue;
    record_.Folders.push_back(folder);
    log_.Write("folder", Under(folder_, folder));
  }
}

void TInstallation::WriteLogged(const WideString& path, const std::function<void()>& write) {
  try {
    write();
    log_.Write("file", path);
  } catch (const std::exception& error) {
    log_.Write("failed", path, rt::Utf8ToWide(error.what()));
  }
}

void TInstallation::PlaceUninstaller() {
  const WideString path = Under(folder_, kUninstallerName);
  WriteLogged(path, [&] {
    zip::TWideFileStream program(ProgramPath(), kOpenForReading);
    const std::vector<uint8_t> image = UninstallerImage(program, payload_);
    zip::TWideFileStream file(path, zip::kFmCreate);
    file.WriteBuffer(image.data(), static_cast<int64_t>(image.size()));
  });
}

void TInstallation::WriteRecord() {
  WriteLogged(Under(folder_, kRecordName), [&] { WriteInstallRecord(folder_, record_); });
}

bool TInstallation::MakeShortcuts() {
  const WideString program = Under(folder_, kProgramFile);
  bool onDesktop = false;
  for (const int csidl : {CSIDL_DESKTOP, CSIDL_PROGRAMS}) {
    const WideString linkFolder = GetSpecialFolder(csidl, false);
    const WideString link = linkFolder + u"\\" + kShortcutFile;
    if (CreateShortcut(program, {}, folder_, linkFolder, kShortcutFile)) {
      record_.Shortcuts.push_back(link);
      log_.Write("shortcut", link);
      if (csidl == CSIDL_DESKTOP) onDesktop = true;
    } else {
      log_.Write("failed", link, u"the shortcut cannot be written");
    }
  }
  return onDesktop;
}

}  // namespace installer
