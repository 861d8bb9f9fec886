#include "installer/install_record.h"

#include <algorithm>

#include "zip/entry_names.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"
#include "zip/wide_file_stream.h"

namespace installer {

namespace {

constexpr std::string_view kFile = "file";
constexpr std::string_view kFolder = "folder";
constexpr std::string_view kShortcut = "shortcut";

// A path below the install folder, or the folder itself.
bool StaysInside(const WideString& path) { return path == u"." || (!path.empty() && !zip::LeavesDestination(path)); }

bool IsShellLink(const WideString& path) {
  return path.size() > 4 && zip::IsFullyQualified(path) &&
         std::equal(path.end() - 4, path.end(), u".lnk", [](char16_t a, char16_t b) {
           return (a >= u'A' && a <= u'Z' ? a - u'A' + u'a' : a) == b;
         });
}

void AddNew(std::vector<WideString>& to, const WideString& path) {
  if (std::find(to.begin(), to.end(), path) == to.end()) to.push_back(path);
}

WideString Under(const WideString& folder, const WideString& path) {
  return path == u"." ? folder : folder + u"\\" + path;
}

}  // namespace

TInstallRecord TInstallRecord::Parse(std::string_view utf8) {
  TInstallRecord record;
  while (!utf8.empty()) {
    const size_t end = utf8.find('\n');
    std::string_view line = utf8.substr(0, end);
    utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) continue;
    const std::string_view kind = line.substr(0, tab);
    const WideString path = rt::Utf8ToWide(line.substr(tab + 1));
    if (kind == kFile && path != u"." && StaysInside(path)) AddNew(record.Files, path);
    if (kind == kFolder && StaysInside(path)) AddNew(record.Folders, path);
    if (kind == kShortcut && IsShellLink(path)) AddNew(record.Shortcuts, path);
  }
  return record;
}

std::string TInstallRecord::Text() const {
  std::string text;
  auto lines = [&](std::string_view kind, const std::vector<WideString>& paths) {
    for (const WideString& path : paths) {
      text += kind;
      text += '\t';
      rt::AppendUtf8(text, path);
      text += "\r\n";
    }
  };
  lines(kFolder, Folders);
  lines(kFile, Files);
  lines(kShortcut, Shortcuts);
  return text;
}

void TInstallRecord::Merge(const TInstallRecord& earlier) {
  for (const WideString& folder : earlier.Folders) AddNew(Folders, folder);
  for (const WideString& file : earlier.Files) AddNew(Files, file);
  for (const WideString& shortcut : earlier.Shortcuts) AddNew(Shortcuts, shortcut);
}

TInstallRecord ReadInstallRecord(const WideString& folder) {
  const WideString path = Under(folder, kRecordName);
  if (!zip::FsFileExists(path)) return {};
  try {
    zip::TWideFileStream file(path, zip::kFmOpenRead | zip::kFmShareDenyWrite);
    // A record is a few kilobytes; a larger file is not one.
    constexpr int64_t kLargestRecord = 1 << 24;
    std::string text(static_cast<size_t>(std::min(file.Size(), kLargestRecord)), '\0');
    file.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
    return TInstallRecord::Parse(text);
  } catch (const std::exception&) {
    return {};
  }
}

void WriteInstallRecord(const WideString& folder, const TInstallRecord& record) {
  const std::string text = record.Text();
  zip::TWideFileStream file(Under(folder, kRecordName), zip::kFmCreate);
  file.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

TInstallRecord RemoveInstalled(const WideString& folder, const TInstallRecord& record, const TRemovalReport& report) {
  TInstallRecord left;
  // A file already gone is not reported: nothing was removed.
  auto remove = [&](const WideString& path) {
    if (!zip::FsFileExists(path)) return true;
    zip::FsSetAttributes(path, zip::kFaNormal);
    const bool removed = zip::FsDeleteFile(path);
    report(path, removed);
    return removed;
  };
  for (const WideString& file : record.Files)
    if (!remove(Under(folder, file))) left.Files.push_back(file);
  for (const WideString& shortcut : record.Shortcuts)
    if (!remove(shortcut)) left.Shortcuts.push_back(shortcut);
  // Deepest first: a folder is empty only once its subfolders are gone.
  std::vector<WideString> folders = record.Folders;
  std::sort(folders.begin(), folders.end(), [](const WideString& a, const WideString& b) {
    const auto depth = [](const WideString& path) { return path == u"." ? 0 : 1 + std::count(path.begin(), path.end(), u'\\'); };
    return depth(a) > depth(b);
  });
  for (const WideString& created : folders)
    if (zip::FsRemoveDirectory(Under(folder, created))) report(Under(folder, created), true);
  return left;
}

}  // namespace installer
