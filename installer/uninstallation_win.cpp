#include "installer/uninstallation_win.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "installer/install_record.h"
#include "installer/installer_texts.h"
#include "installer/program_file.h"
#include "installer/uninstall_entry_win.h"
#include "runtime/format.h"
#include "runtime/gui/handles.h"
#include "runtime/text.h"
#include "runtime/wide_text_win.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"
#include "zip/wide_file_stream.h"

namespace installer {

namespace {

WideString Under(const WideString& folder, const WideString& path) { return folder + u"\\" + path; }

std::vector<uint8_t> ProgramBytes() {
  zip::TWideFileStream program(ProgramPath(), zip::kFmOpenRead | zip::kFmShareDenyNone);
  std::vector<uint8_t> bytes(static_cast<size_t>(program.Size()));
  program.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

bool SameFolder(const WideString& a, const WideString& b) {
  return rt::CompareWide(zip::WithoutTrailingBackslash(a), zip::WithoutTrailingBackslash(b), true) == 0;
}

WideString TemporaryFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, path);
  return length == 0 || length > MAX_PATH ? WideString() : rt::WideFromWchar(path, length);
}

}  // namespace

TOutcome Uninstall(const WideString& folder, TInstallLog& log) {
  const TInstallRecord record = ReadInstallRecord(folder);
  TInstallRecord left = RemoveInstalled(folder, record, [&](const WideString& path, bool removed) {
    if (removed)
      log.Write("removed", path);
    else
      log.Write("failed", path, zip::FsSysErrorMessage(zip::FsLastError()));
  });
  const size_t remaining = left.Files.size() + left.Shortcuts.size();
  if (remaining > 0) {
    // What is left can be removed by running the uninstaller again.
    left.Folders = record.Folders;
    WriteInstallRecord(folder, left);
    return {ecIncomplete, rt::Format(kUninstallIncomplete, {remaining})};
  }
  // The entry is the last installation's: another folder's stays.
  const WideString key = WideString(u"HKEY_CURRENT_USER\\") + kUninstallKey;
  const auto recorded = RecordedInstallFolder();
  if (recorded && !SameFolder(*recorded, folder))
    log.Write("kept", key, u"it is the entry of the installation in " + *recorded);
  else if (DeleteUninstallEntry())
    log.Write("removed", key);
  else
    log.Write("failed", key, u"the entry cannot be removed");
  return {ecDone, kUninstalled};
}

bool StartSelfRemoval(const WideString& folder) {
  const WideString temporary = TemporaryFolder();
  if (temporary.empty()) return false;
  const WideString copy = temporary + u"QuimoraDesinstalar-" + rt::Format(u"%u", {GetCurrentProcessId()}) + u".exe";
  {
    const std::vector<uint8_t> bytes = ProgramBytes();
    zip::TWideFileStream file(copy, zip::kFmCreate);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  }
  // Opened to be deleted when closed, shared so that the system can start
  // it: the file goes once this handle is closed and the copy has ended.
  const gui::UniqueKernelHandle deleteOnClose(CreateFileW(rt::AsWchar(copy), DELETE | GENERIC_READ,
                                                          FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                                          FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!deleteOnClose) {
    DeleteFileW(rt::AsWchar(copy));
    return false;
  }
  // The copy waits on this process through a handle it inherits.
  HANDLE self = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0))
    return false;
  const gui::UniqueKernelHandle ownSelf(self);
  WideString commandLine = u"\"" + copy + u"\" /_REMOVE=\"" + folder + u"\" /_AFTER=" +
                           rt::Format(u"%u", {static_cast<uint64_t>(reinterpret_cast<uintptr_t>(self))});
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  // Started in the temporary folder, so that no process holds the install
  // folder as its current one.
  if (!CreateProcessW(rt::AsWchar(copy), rt::AsWchar(commandLine.data()), nullptr, nullptr, TRUE, 0, nullptr,
                      rt::AsWchar(temporary), &startup, &started))
    return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

TExitCode RemoveUninstaller(const WideString& folder, uint64_t process) {
  const HANDLE uninstaller = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(process));
  constexpr DWORD kPatience = 60 * 1000;
  WaitForSingleObject(uninstaller, kPatience);
  CloseHandle(uninstaller);
  const bool createdFolder = [&] {
    const TInstallRecord record = ReadInstallRecord(folder);
    return std::find(record.Folders.begin(), record.Folders.end(), u".") != record.Folders.end();
  }();
  // The system may hold the ended program's file a moment longer.
  const WideString program = Under(folder, kUninstallerName);
  for (int attempt = 0; attempt < 50 && zip::FsFileExists(program) && !zip::FsDeleteFile(program); ++attempt)
    Sleep(100);
  zip::FsDeleteFile(Under(folder, kRecordName));
  if (createdFolder) zip::FsRemoveDirectory(folder);
  return ecDone;
}

}  // namespace installer
