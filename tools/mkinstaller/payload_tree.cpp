#include "tools/mkinstaller/payload_tree.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tools/mkinstaller/windows_names.h"

namespace fs = std::filesystem;

namespace mkinstaller {

namespace {

std::string Utf8Of(const fs::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

// One path component as the archive stores it.
rt::WideString EntryComponent(const fs::path& path) {
  const std::string name = Utf8Of(path.filename());
  const rt::WideString wide = rt::Utf8ToWide(name);
  if (rt::WideToUtf8(wide) != name) throw PayloadError(Utf8Of(path) + ": the name is not UTF-8");
  if (const auto problem = WindowsNameProblem(wide)) throw PayloadError(Utf8Of(path) + ": " + *problem);
  return wide;
}

void Scan(const fs::path& folder, const rt::WideString& prefix, std::vector<PayloadEntry>& out) {
  std::vector<fs::path> children;
  for (const auto& entry : fs::directory_iterator(folder)) children.push_back(entry.path());
  std::sort(children.begin(), children.end(),
            [](const fs::path& a, const fs::path& b) { return Utf8Of(a.filename()) < Utf8Of(b.filename()); });
  // Windows finds a name whatever its case: two that differ in case only
  // would be one file there, the second overwriting the first.
  std::map<rt::WideString, fs::path> seen;
  for (const auto& child : children) {
    const auto [earlier, added] = seen.emplace(CaseFoldedName(EntryComponent(child)), child);
    if (!added)
      throw PayloadError(Utf8Of(earlier->second) + " and " + Utf8Of(child.filename()) +
                         ": the names differ only in case, which Windows does not tell apart");
  }
  for (const auto& child : children) {
    struct stat info {};
    if (lstat(child.c_str(), &info) != 0)
      throw std::runtime_error("cannot read " + Utf8Of(child) + ": " + std::strerror(errno));
    PayloadEntry entry;
    entry.path = child;
    entry.modified = info.st_mtime;
    entry.name = prefix + EntryComponent(child);
    if (S_ISDIR(info.st_mode)) {
      entry.folder = true;
      entry.name += u'/';
      const rt::WideString inner = entry.name;
      out.push_back(std::move(entry));
      Scan(child, inner, out);
    } else if (S_ISREG(info.st_mode)) {
      out.push_back(std::move(entry));
    } else {
      throw PayloadError(Utf8Of(child) + ": only plain files and folders can be installed");
    }
  }
}

}  // namespace

std::vector<PayloadEntry> ScanPayload(const fs::path& root) {
  if (!fs::is_directory(root)) throw PayloadError(Utf8Of(root) + ": not a folder");
  std::vector<PayloadEntry> entries;
  Scan(root, u"", entries);
  return entries;
}

}  // namespace mkinstaller
