#include "zip/path_functions.h"

#include <algorithm>
#include <vector>

#include "runtime/text.h"

namespace zip {

namespace {

constexpr WideStringView kDelimiters = u"\\:";

// The position just after the last delimiter: 0 when there is none.
size_t AfterLastDelimiter(WideStringView name) {
  const size_t at = name.find_last_of(kDelimiters);
  return at == WideStringView::npos ? 0 : at + 1;
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

}  // namespace

WideString PathOf(WideStringView name) { return WideString(name.substr(0, AfterLastDelimiter(name))); }

WideString NameOf(WideStringView name) { return WideString(name.substr(AfterLastDelimiter(name))); }

WideString ExtOf(WideStringView name) {
  const size_t at = name.find_last_of(u".\\:");
  if (at == WideStringView::npos || name[at] != u'.') return {};
  return WideString(name.substr(at));
}

WideString DriveOf(WideStringView name) {
  if (name.size() >= 2 && name[1] == u':') return WideString(name.substr(0, 2));
  if (name.size() >= 2 && name[0] == u'\\' && name[1] == u'\\') {
    // "\\server\share\rest": the drive ends before the backslash that
    // follows the share name; a name without one is all drive.
    const size_t afterServer = name.find(u'\\', 2);
    if (afterServer == WideStringView::npos) return WideString(name);
    return WideString(name.substr(0, name.find(u'\\', afterServer + 1)));
  }
  return {};
}

WideString WithTrailingBackslash(WideStringView name) {
  WideString out(name);
  if (out.empty() || out.back() != u'\\') out.push_back(u'\\');
  return out;
}

WideString WithoutTrailingBackslash(WideStringView name) {
  if (!name.empty() && name.back() == u'\\') name.remove_suffix(1);
  return WideString(name);
}

bool IsFullyQualified(WideStringView name) {
  if (name.size() >= 3 && name[1] == u':' && IsSeparator(name[2])) return true;
  return name.size() >= 2 && IsSeparator(name[0]) && IsSeparator(name[1]);
}

WideString NormalizedFullPath(WideStringView fullPath) {
  WideString path(fullPath);
  std::replace(path.begin(), path.end(), u'/', u'\\');
  // The root that ".." never climbs above: "X:" or "\\server\share".
  const WideString root = DriveOf(path);
  std::vector<WideStringView> names;
  const WideStringView rest = WideStringView(path).substr(root.size());
  for (size_t start = 0; start <= rest.size();) {
    size_t end = rest.find(u'\\', start);
    if (end == WideStringView::npos) end = rest.size();
    const WideStringView name = rest.substr(start, end - start);
    if (name == u"..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != u".") {
      names.push_back(name);
    }
    start = end + 1;
  }
  const bool trailingSeparator = !rest.empty() && rest.back() == u'\\';
  if (!trailingSeparator && !names.empty()) {
    WideStringView& last = names.back();
    while (!last.empty() && (last.back() == u'.' || last.back() == u' ')) last.remove_suffix(1);
    if (last.empty()) names.pop_back();
  }
  WideString out = root;
  for (const WideStringView name : names) {
    out += u'\\';
    out += name;
  }
  if (names.empty() || trailingSeparator) out += u'\\';
  return out;
}

WideString ExtendedLengthPath(WideStringView normalizedFullPath) {
  if (normalizedFullPath.substr(0, 2) == u"\\\\")
    return WideString(u"\\\\?\\UNC") + WideString(normalizedFullPath.substr(1));
  return WideString(u"\\\\?\\") + WideString(normalizedFullPath);
}

WideString ReplaceText(WideStringView text, WideStringView oldPattern, WideStringView newPattern,
                       unsigned flags) {
  // An empty pattern occurs everywhere and would never let a replace-all end.
  if (oldPattern.empty()) return WideString(text);
  // Case mapping keeps the length of a string, one code unit for one, so a
  // position found in the upper-cased copy is the same in the original.
  const bool ignoreCase = (flags & rfIgnoreCase) != 0;
  const WideString haystack = ignoreCase ? rt::UpperText(text) : WideString(text);
  const WideString needle = ignoreCase ? rt::UpperText(oldPattern) : WideString(oldPattern);

  WideString out;
  size_t from = 0;
  for (;;) {
    const size_t at = haystack.find(needle, from);
    if (at == WideString::npos) break;
    out.append(text.substr(from, at - from));
    out.append(newPattern);
    from = at + needle.size();
    if ((flags & rfReplaceAll) == 0) break;
  }
  out.append(text.substr(from));
  return out;
}

WideString WithBackslashes(WideString name) {
  std::replace(name.begin(), name.end(), u'/', u'\\');
  return name;
}

WideString WithSlashes(WideString name) {
  std::replace(name.begin(), name.end(), u'\\', u'/');
  return name;
}

}  // namespace zip
