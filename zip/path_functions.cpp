#include "zip/path_functions.h"

#include "runtime/text.h"

namespace zip {

namespace {

constexpr WideStringView kDelimiters = u"\\:";

// The position just after the last delimiter: 0 when there is none.
size_t AfterLastDelimiter(WideStringView name) {
  const size_t at = name.find_last_of(kDelimiters);
  return at == WideStringView::npos ? 0 : at + 1;
}

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

}  // namespace zip
