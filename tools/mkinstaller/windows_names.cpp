#include "tools/mkinstaller/windows_names.h"

#include <algorithm>
#include <string_view>

#include "runtime/text.h"

namespace mkinstaller {

namespace {

bool IsDeviceName(rt::WideStringView component) {
  // The device is named by what comes before the first dot, blanks at its
  // end dropped: "con.txt" and "CON .log" are the console too.
  rt::WideString base(component.substr(0, component.find(u'.')));
  while (!base.empty() && base.back() == u' ') base.pop_back();
  base = rt::UpperText(base);
  if (base == u"CON" || base == u"PRN" || base == u"AUX" || base == u"NUL") return true;
  if (base.size() != 4 || (base.compare(0, 3, u"COM") != 0 && base.compare(0, 3, u"LPT") != 0)) return false;
  // COM1-COM9 and LPT1-LPT9, and the superscript digits Windows also takes.
  return (base[3] >= u'1' && base[3] <= u'9') || base[3] == u'\u00B9' || base[3] == u'\u00B2' ||
         base[3] == u'\u00B3';
}

}  // namespace

std::optional<std::string> WindowsNameProblem(rt::WideStringView component) {
  if (component.empty()) return "an empty name";
  for (const char16_t c : component)
    if (c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos)
      return "the name is not a valid Windows file name";
  if (component.back() == u'.' || component.back() == u' ')
    return "Windows drops a trailing dot or blank from a name";
  if (IsDeviceName(component)) return "the name is reserved for a device on Windows";
  return std::nullopt;
}

rt::WideString CaseFoldedName(rt::WideStringView component) { return rt::UpperText(component); }

}  // namespace mkinstaller
