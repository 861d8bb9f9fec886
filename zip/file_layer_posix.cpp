#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/format.h"
#include "runtime/stock_texts.h"
#include "runtime/text.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"

// Sharing: the open modes' sharing bits are checked for validity but not
// enforced. POSIX has only advisory locks, which no other program is bound
// to honour, so "exclusive" or "deny write" could not be promised anyway.
//
// Names reach the system as UTF-8 with every "\" turned into "/"; names the
// system hands back are turned the other way.

namespace zip {

namespace {

std::string NativeName(const WideString& name) {
  WideString slashed(name);
  for (auto& c : slashed)
    if (c == u'\\') c = u'/';
  return rt::WideToUtf8(slashed);
}

WideString LayerName(const std::string& native) {
  WideString name = rt::Utf8ToWide(native);
  for (auto& c : name)
    if (c == u'/') c = u'\\';
  return name;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool HasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

// fnmatch also treats "[" as the start of a set; a Windows search pattern
// has only "*" and "?", so a "[" is an ordinary character.
std::string SearchPattern(const std::string& component) {
  std::string pattern;
  for (char c : component) {
    if (c == '[') pattern.push_back('\\');
    pattern.push_back(c);
  }
  return pattern;
}

// What a directory search for the name reports first: the entry of that
// name, or, when its last component has "*" or "?", the alphabetically
// first entry of its folder that matches ("." and ".." aside). Leading dots
// need no special match, as on Windows.
std::optional<struct stat> FindFirst(const WideString& name) {
  const std::string native = NativeName(name);
  const size_t slash = native.rfind('/');
  const std::string last = slash == std::string::npos ? native : native.substr(slash + 1);
  struct stat info;
  if (!HasWildcard(last)) {
    if (native.empty() || stat(native.c_str(), &info) != 0) return std::nullopt;
    return info;
  }
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : native.substr(0, slash));
  DirHandle dir(opendir(folder.c_str()));
  if (!dir) return std::nullopt;
  const std::string pattern = SearchPattern(last);
  std::optional<std::string> first;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string entryName = entry->d_name;
    if (entryName == "." || entryName == "..") continue;
    if (fnmatch(pattern.c_str(), entryName.c_str(), 0) != 0) continue;
    if (!first || entryName < *first) first = entryName;
  }
  if (!first) {
    errno = ENOENT;
    return std::nullopt;
  }
  if (stat((folder + "/" + *first).c_str(), &info) != 0) return std::nullopt;
  return info;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// mktime quietly carries a day 31 of April into May; the MS-DOS fields are
// checked first so that an impossible age is refused rather than moved.
std::optional<struct tm> DosToLocalTime(uint32_t packed) {
  const unsigned date = packed >> 16;
  const unsigned time = packed & 0xFFFF;
  struct tm local {};
  local.tm_year = static_cast<int>(date >> 9) + 1980 - 1900;
  local.tm_mon = static_cast<int>((date >> 5) & 0xF) - 1;
  local.tm_mday = static_cast<int>(date & 0x1F);
  local.tm_hour = static_cast<int>(time >> 11);
  local.tm_min = static_cast<int>((time >> 5) & 0x3F);
  local.tm_sec = static_cast<int>(time & 0x1F) * 2;
  local.tm_isdst = -1;
  const int year = local.tm_year + 1900;
  if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 ||
      local.tm_mday > DaysInMonth(year, local.tm_mon + 1) || local.tm_hour > 23 ||
      local.tm_min > 59 || local.tm_sec > 58)
    return std::nullopt;
  return local;
}

// strerror_r comes in a GNU flavour returning the text and an XSI one
// filling the buffer; these pick the text out of either.
[[maybe_unused]] const char* ErrorText(int result, const char* buffer) {
  return result == 0 ? buffer : "";
}
[[maybe_unused]] const char* ErrorText(const char* result, const char*) { return result; }

}  // namespace

FileHandle FsCreateFile(const WideString& name) {
  return open(NativeName(name).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

FileHandle FsOpenFile(const WideString& name, uint16_t mode) {
  static constexpr int kAccess[] = {O_RDONLY, O_WRONLY, O_RDWR};
  const unsigned access = mode & 0x3;
  const unsigned share = (mode >> 4) & 0xF;
  if (access > 2 || share > 4) {
    errno = EINVAL;
    return rt::kInvalidFileHandle;
  }
  const int fd = open(NativeName(name).c_str(), kAccess[access] | O_CLOEXEC);
  if (fd < 0) return rt::kInvalidFileHandle;
  // A folder opens for reading here, but never as a file on Windows.
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    close(fd);
    errno = EISDIR;
    return rt::kInvalidFileHandle;
  }
  return fd;
}

bool FsFileExists(const WideString& name) {
  const auto found = FindFirst(name);
  return found && !S_ISDIR(found->st_mode);
}

bool FsDirectoryExists(const WideString& name) {
  const uint32_t attributes = FsGetAttributes(name);
  return attributes != kInvalidAttributes && (attributes & kFaDirectory) != 0;
}

// Of the attribute word only what POSIX has a counterpart for: the folder
// bit, read-only as a missing owner write permission (not as access(),
// which says yes to everything when run as root), and hidden as a name
// starting with a dot. A file with none of these is "normal".
uint32_t FsGetAttributes(const WideString& name) {
  const std::string native = NativeName(name);
  struct stat info;
  if (native.empty() || stat(native.c_str(), &info) != 0) return kInvalidAttributes;
  uint32_t attributes = 0;
  if (S_ISDIR(info.st_mode)) attributes |= kFaDirectory;
  if ((info.st_mode & S_IWUSR) == 0) attributes |= kFaReadOnly;
  const WideString last = NameOf(name);
  if (last.size() > 1 && last[0] == u'.' && last != u"..") attributes |= kFaHidden;
  return attributes == 0 ? kFaNormal : attributes;
}

// Only read-only can be stored, as the write permissions. Folders keep
// theirs: Windows ignores read-only on a folder, whereas here it would
// stop files from being created in it.
bool FsSetAttributes(const WideString& name, uint32_t attributes) {
  const std::string native = NativeName(name);
  struct stat info;
  if (native.empty() || stat(native.c_str(), &info) != 0) return false;
  if (S_ISDIR(info.st_mode)) return true;
  mode_t mode = info.st_mode & 07777;
  if (attributes & kFaReadOnly)
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  else
    mode |= S_IWUSR;
  return mode == (info.st_mode & 07777) || chmod(native.c_str(), mode) == 0;
}

bool FsDeleteFile(const WideString& name) {
  const std::string native = NativeName(name);
  struct stat info;
  // unlink would not remove a folder either, but some systems say EPERM.
  if (lstat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return false;
  }
  return unlink(native.c_str()) == 0;
}

int32_t FsFileAge(const WideString& name) {
  const auto found = FindFirst(name);
  if (!found || S_ISDIR(found->st_mode)) return kNoAge;
  struct tm local;
  if (!localtime_r(&found->st_mtime, &local)) return kNoAge;
  const int year = local.tm_year + 1900;
  if (year < 1980 || year > 2107) return kNoAge;
  // A leap second would not fit the 5-bit field of seconds / 2.
  const int seconds = local.tm_sec > 59 ? 59 : local.tm_sec;
  const uint32_t date = static_cast<uint32_t>(year - 1980) << 9 |
                        static_cast<uint32_t>(local.tm_mon + 1) << 5 |
                        static_cast<uint32_t>(local.tm_mday);
  const uint32_t time = static_cast<uint32_t>(local.tm_hour) << 11 |
                        static_cast<uint32_t>(local.tm_min) << 5 |
                        static_cast<uint32_t>(seconds / 2);
  return static_cast<int32_t>(date << 16 | time);
}

bool FsCreateDirectory(const WideString& path) {
  const std::string native = NativeName(path);
  if (mkdir(native.c_str(), 0777) == 0) return true;
  if (errno != EEXIST) return false;
  // Someone else made it since the caller looked: the folder is there,
  // which is all that was asked. A file of that name is still a failure.
  struct stat info;
  const bool isFolder = stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  errno = EEXIST;
  return isFolder;
}

bool FsRemoveDirectory(const WideString& path) { return rmdir(NativeName(path).c_str()) == 0; }

WideString FsCurrentDir() {
  std::vector<char> buffer(256);
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  return LayerName(buffer.data());
}

// Lexical, like GetFullPathName: the name need not exist, "." and ".."
// are resolved by the text, and a trailing "\" is kept.
WideString FsFullPath(const WideString& name) {
  if (name.empty()) return name;
  WideString full(name);
  for (auto& c : full)
    if (c == u'/') c = u'\\';
  if (full[0] != u'\\') {
    const WideString current = FsCurrentDir();
    if (current.empty()) return name;
    full = WithTrailingBackslash(current) + full;
  }
  std::vector<WideString> parts;
  size_t start = 0;
  while (start <= full.size()) {
    size_t end = full.find(u'\\', start);
    if (end == WideString::npos) end = full.size();
    const WideString part = full.substr(start, end - start);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  WideString out;
  for (const auto& part : parts) out += u"\\" + part;
  if (out.empty() || full.back() == u'\\') out.push_back(u'\\');
  return out;
}

WideString FsSysErrorMessage(int code) {
  char buffer[256] = "";
  WideString text = rt::Utf8ToWide(ErrorText(strerror_r(code, buffer, sizeof buffer), buffer));
  WideStringView trimmed(text);
  while (!trimmed.empty() && trimmed.front() <= u' ') trimmed.remove_prefix(1);
  while (!trimmed.empty() && trimmed.back() <= u' ') trimmed.remove_suffix(1);
  if (trimmed.empty()) return rt::Format(rt::kSUnknownSystemError, {code, u"system"});
  return WideString(trimmed);
}

int FsLastError() { return errno; }

WideString FsSystemName(const WideString& name) { return rt::Utf8ToWide(NativeName(name)); }

WideString FsDisplayName(const WideString& name) {
  WideString shown(name);
  std::replace(shown.begin(), shown.end(), u'\\', u'/');
  return shown;
}

int FsSetFileTime(FileHandle handle, int32_t age) {
  auto local = DosToLocalTime(static_cast<uint32_t>(age));
  if (!local) return EINVAL;
  const time_t when = mktime(&*local);
  if (when == static_cast<time_t>(-1)) return EINVAL;
  const struct timespec times[2] = {{0, UTIME_OMIT}, {when, 0}};
  if (futimens(static_cast<int>(handle), times) != 0) return errno;
  return 0;
}

// POSIX has no drive types: only the floppy letters are known removable.
bool IsRemovablePath(const WideString& name) {
  const WideString drive = rt::UpperText(DriveOf(name));
  return drive == u"A:" || drive == u"B:";
}

}  // namespace zip
