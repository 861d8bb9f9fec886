#include <windows.h>

#include <iterator>
#include <vector>

#include "runtime/format.h"
#include "runtime/stock_texts.h"
#include "runtime/text.h"
#include "runtime/wide_text_win.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"

namespace zip {

namespace {

FileHandle ToFileHandle(HANDLE handle) { return reinterpret_cast<FileHandle>(handle); }

// The buffer size the file layer hands to the system for a path.
constexpr DWORD kPathBuffer = MAX_PATH;

// The plain calls take names of at most MAX_PATH - 1 characters, and
// CreateDirectory leaves room for an 8.3 name below that. Longer names go
// to the system in the \\?\ form, which every version takes up to 32,767
// characters whatever the long-path policy of Windows 10 says. That form
// is passed on unparsed, so it is made from the normalized full path.
constexpr size_t kLongestPlainName = MAX_PATH - 13;

WideString CurrentDirectory();

// The full path of a name that is not one, joined to the current folder
// the way the system joins it.
WideString JoinedToCurrentDirectory(const WideString& name) {
  const WideString current = CurrentDirectory();
  if (!name.empty() && (name[0] == u'\\' || name[0] == u'/')) return DriveOf(current) + name;
  if (name.size() >= 2 && name[1] == u':') {
    // "X:name" is relative to drive X's own current folder, which the
    // system keeps only for the current drive.
    const WideString rest = name.substr(2);
    if (rt::UpperText(DriveOf(current)) == rt::UpperText(name.substr(0, 2))) return WithTrailingBackslash(current) + rest;
    return name.substr(0, 2) + u"\\" + rest;
  }
  return WithTrailingBackslash(current) + name;
}

// A name as the system's file calls take it: unchanged while it is short
// enough for them, else in the long form.
class SystemName {
 public:
  explicit SystemName(const WideString& name) : name_(name) {
    if (name.substr(0, 4) == u"\\\\?\\" || name.substr(0, 4) == u"\\\\.\\") return;
    if (IsFullyQualified(name)) {
      if (name.size() > kLongestPlainName) long_ = ExtendedLengthPath(NormalizedFullPath(name));
      return;
    }
    // The current folder's length, with its terminating zero.
    const DWORD current = GetCurrentDirectoryW(0, nullptr);
    if (name.size() + current <= kLongestPlainName) return;
    long_ = ExtendedLengthPath(NormalizedFullPath(JoinedToCurrentDirectory(name)));
  }
  const wchar_t* c_str() const { return rt::AsWchar(long_.empty() ? name_ : long_); }

 private:
  const WideString& name_;
  WideString long_;
};

// A directory search that ends itself.
class FileSearch {
 public:
  explicit FileSearch(const WideString& pattern)
      : handle_(FindFirstFileW(SystemName(pattern).c_str(), &first_)) {}
  ~FileSearch() {
    if (Found()) FindClose(handle_);
  }
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;

  bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool FirstIsFolder() const { return (first_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  const FILETIME& FirstLastWriteTime() const { return first_.ftLastWriteTime; }

 private:
  WIN32_FIND_DATAW first_{};
  HANDLE handle_;
};

}  // namespace

FileHandle FsCreateFile(const WideString& name) {
  return ToFileHandle(CreateFileW(SystemName(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

FileHandle FsOpenFile(const WideString& name, uint16_t mode) {
  static constexpr DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static constexpr DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE};
  const unsigned access = mode & 0x3;
  const unsigned share = (mode >> 4) & 0xF;
  if (access >= std::size(kAccess) || share >= std::size(kShare)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return rt::kInvalidFileHandle;
  }
  return ToFileHandle(CreateFileW(SystemName(name).c_str(), kAccess[access], kShare[share], nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool FsFileExists(const WideString& name) {
  const FileSearch search(name);
  return search.Found() && !search.FirstIsFolder();
}

bool FsDirectoryExists(const WideString& name) {
  const uint32_t attributes = FsGetAttributes(name);
  return attributes != kInvalidAttributes && (attributes & kFaDirectory) != 0;
}

uint32_t FsGetAttributes(const WideString& name) { return GetFileAttributesW(SystemName(name).c_str()); }

bool FsSetAttributes(const WideString& name, uint32_t attributes) {
  return SetFileAttributesW(SystemName(name).c_str(), attributes) != 0;
}

bool FsDeleteFile(const WideString& name) { return DeleteFileW(SystemName(name).c_str()) != 0; }

int32_t FsFileAge(const WideString& name) {
  const FileSearch search(name);
  if (!search.Found() || search.FirstIsFolder()) return kNoAge;
  FILETIME local;
  WORD date, time;
  if (!FileTimeToLocalFileTime(&search.FirstLastWriteTime(), &local) ||
      !FileTimeToDosDateTime(&local, &date, &time))
    return kNoAge;
  return static_cast<int32_t>(static_cast<uint32_t>(date) << 16 | time);
}

bool FsCreateDirectory(const WideString& path) {
  const SystemName name(path);
  if (CreateDirectoryW(name.c_str(), nullptr)) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  // Someone else made it since the caller looked: the folder is there,
  // which is all that was asked. A file of that name is still a failure.
  const DWORD attributes = GetFileAttributesW(name.c_str());
  SetLastError(ERROR_ALREADY_EXISTS);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FsRemoveDirectory(const WideString& path) { return RemoveDirectoryW(SystemName(path).c_str()) != 0; }

namespace {

WideString CurrentDirectory() {
  wchar_t buffer[kPathBuffer];
  const DWORD length = GetCurrentDirectoryW(kPathBuffer, buffer);
  if (length == 0) return {};
  if (length < kPathBuffer) return rt::WideFromWchar(buffer, length);
  // A deeper folder than the buffer holds: the length asked for includes
  // the terminating zero.
  std::vector<wchar_t> larger(length);
  const DWORD got = GetCurrentDirectoryW(length, larger.data());
  return got != 0 && got < length ? rt::WideFromWchar(larger.data(), got) : WideString();
}

}  // namespace

WideString FsCurrentDir() { return CurrentDirectory(); }

WideString FsSystemName(const WideString& name) {
  const SystemName systemName(name);
  return rt::WideFromWchar(systemName.c_str());
}

WideString FsFullPath(const WideString& name) {
  wchar_t buffer[kPathBuffer];
  const DWORD length = GetFullPathNameW(rt::AsWchar(name), kPathBuffer, buffer, nullptr);
  // The name as given is still the best thing to show in a message.
  if (length == 0) return name;
  if (length < kPathBuffer) return rt::WideFromWchar(buffer, length);
  std::vector<wchar_t> larger(length);
  const DWORD got = GetFullPathNameW(rt::AsWchar(name), length, larger.data(), nullptr);
  return got != 0 && got < length ? rt::WideFromWchar(larger.data(), got) : name;
}

WideString FsSysErrorMessage(int code) {
  wchar_t buffer[256];
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      nullptr, static_cast<DWORD>(code), 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  WideStringView text(rt::AsChar16(buffer), length);
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  if (text.empty()) return rt::Format(rt::kSUnknownSystemError, {code, u"system"});
  return WideString(text);
}

int FsLastError() { return static_cast<int>(GetLastError()); }

WideString FsDisplayName(const WideString& name) { return name; }

int FsSetFileTime(FileHandle handle, int32_t age) {
  const auto packed = static_cast<uint32_t>(age);
  FILETIME local, utc;
  // A refused date does not always come with an error code of its own; a
  // stale one must not be reported instead, nor a failure read as success.
  SetLastError(ERROR_SUCCESS);
  if (!DosDateTimeToFileTime(static_cast<WORD>(packed >> 16), static_cast<WORD>(packed & 0xFFFF),
                             &local) ||
      !LocalFileTimeToFileTime(&local, &utc) ||
      !SetFileTime(reinterpret_cast<HANDLE>(handle), nullptr, nullptr, &utc)) {
    const DWORD error = GetLastError();
    return error != 0 ? static_cast<int>(error) : ERROR_INVALID_PARAMETER;
  }
  return 0;
}

bool IsRemovablePath(const WideString& name) {
  const WideString drive = rt::UpperText(DriveOf(name));
  if (drive == u"A:" || drive == u"B:") return true;
  // Without a drive part the system would answer for the current folder's
  // drive, which is not the name's; the system wants the root with its
  // trailing backslash.
  if (drive.empty()) return false;
  return GetDriveTypeW(rt::AsWchar(WithTrailingBackslash(drive))) == DRIVE_REMOVABLE;
}

}  // namespace zip
