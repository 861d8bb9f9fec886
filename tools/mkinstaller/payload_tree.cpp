#include "tools/mkinstaller/payload_tree.h"

#include <sys/stat.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

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
  if (rt::WideToUtf8(wide) != name) throw std::runtime_error(Utf8Of(path) + ": the name is not UTF-8");
  for (const char16_t c : wide)
    if (c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos)
      throw std::runtime_error(Utf8Of(path) + ": the name is not a valid Windows file name");
  if (wide.back() == u'.' || wide.back() == u' ')
    throw std::runtime_error(Utf8Of(path) + ": Windows drops a trailing dot or blank from a name");
  return wide;
}

void Scan(const fs::path& folder, const rt::WideString& prefix, std::vector<PayloadEntry>& out) {
  std::vector<fs::path> children;
  for (const auto& entry : fs::directory_iterator(folder)) children.push_back(entry.path());
  std::sort(children.begin(), children.end(),
            [](const fs::path& a, const fs::path& b) { return Utf8Of(a.filename()) < Utf8Of(b.filename()); });
  for (const auto& child : children) {
    struct stat info {};
    if (lstat(child.c_str(), &info) != 0)
      throw std::runtime_error(Utf8Of(child) + ": cannot read its status");
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
      throw std::runtime_error(Utf8Of(child) + ": only plain files and folders can be installed");
    }
  }
}

}  // namespace

std::vector<PayloadEntry> ScanPayload(const fs::path& root) {
  if (!fs::is_directory(root)) throw std::runtime_error(Utf8Of(root) + ": not a folder");
  std::vector<PayloadEntry> entries;
  Scan(root, u"", entries);
  return entries;
}

}  // namespace mkinstaller
