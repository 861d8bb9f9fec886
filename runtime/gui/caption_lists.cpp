#include "runtime/gui/caption_lists.h"

namespace gui {

std::vector<WideString> SplitText(const WideString& text, const WideString& separator) {
  std::vector<WideString> parts;
  if (text.empty()) return parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    if (end == WideString::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, end - start));
    start = end + separator.size();
  }
}

WideString JoinText(const std::vector<WideString>& parts, const WideString& separator) {
  WideString text;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += separator;
    text += parts[i];
  }
  return text;
}

TCaptionWidth ParseCaptionWidth(const WideString& text, int32_t defaultWidth) {
  const size_t equals = text.rfind(u'=');
  if (equals == WideString::npos || equals + 1 == text.size() || text.size() - equals > 7)
    return {text, defaultWidth};
  int32_t width = 0;
  for (size_t i = equals + 1; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return {text, defaultWidth};
    width = width * 10 + (text[i] - u'0');
  }
  return {text.substr(0, equals), width};
}

}  // namespace gui
