#include "skin/definition/quick_ini.h"

#include "runtime/text.h"

namespace skin {

namespace {

// Blanks and control characters, as the trimming of lines, keys and
// values treats them.
bool IsBlank(char16_t c) { return c <= u' '; }

rt::WideStringView Trim(rt::WideStringView text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

std::optional<int32_t> ParseIniInteger(rt::WideStringView text) {
  if (text.empty()) return std::nullopt;
  if (text[0] == u'$') {
    if (text.size() == 1) return std::nullopt;
    uint64_t value = 0;
    for (char16_t c : text.substr(1)) {
      const int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    // Eight hexadecimal digits fill all 32 bits: $FFFFFFFF is -1.
    return static_cast<int32_t>(static_cast<uint32_t>(value));
  }
  size_t i = 0;
  const bool negative = text[0] == u'-';
  if (text[0] == u'-' || text[0] == u'+') ++i;
  if (i == text.size()) return std::nullopt;
  const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    value = value * 10 + (text[i] - u'0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

void TQuickIni::LoadFromStream(rt::TStream& stream) {
  std::string bytes;
  char buffer[16384];
  for (;;) {
    const int64_t n = stream.Read(buffer, sizeof buffer);
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  LoadFromText(bytes);
}

void TQuickIni::LoadFromText(std::string_view text) {
  lines_.clear();
  sections_.clear();
  sectionIndex_.clear();

  // A NUL character ends the text.
  if (const size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  const rt::WideString wide = rt::AnsiToWide(text);

  const rt::WideStringView all(wide);
  size_t pos = 0;
  while (pos < all.size()) {
    size_t end = pos;
    while (end < all.size() && all[end] != u'\r' && all[end] != u'\n') ++end;
    const rt::WideStringView line = Trim(all.substr(pos, end - pos));
    // CR LF is one line end; a lone CR or LF is one too.
    pos = end;
    if (pos < all.size() && all[pos] == u'\r') ++pos;
    if (pos < all.size() && all[pos] == u'\n') ++pos;

    if (line.empty() || line[0] == u';') continue;
    const int lineIndex = static_cast<int>(lines_.size());
    lines_.emplace_back(line);

    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
      Section section;
      section.name = rt::WideString(Trim(line.substr(1, line.size() - 2)));
      section.headerLine = lineIndex;
      sectionIndex_.try_emplace(rt::UpperText(section.name), sections_.size());
      sections_.push_back(std::move(section));
      continue;
    }
    // Lines before the first header belong to no section and are never read.
    if (sections_.empty()) continue;
    const size_t equals = line.find(u'=');
    if (equals == rt::WideStringView::npos) continue;
    sections_.back().values.try_emplace(rt::UpperText(Trim(line.substr(0, equals))),
                                        rt::WideString(Trim(line.substr(equals + 1))));
  }
}

int TQuickIni::FindSection(rt::WideStringView name) const {
  const auto it = sectionIndex_.find(rt::UpperText(name));
  return it == sectionIndex_.end() ? -1 : sections_[it->second].headerLine;
}

std::vector<rt::WideString> TQuickIni::ReadSections() const {
  std::vector<rt::WideString> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

const rt::WideString* TQuickIni::FindValue(rt::WideStringView section,
                                           rt::WideStringView key) const {
  const auto it = sectionIndex_.find(rt::UpperText(section));
  if (it == sectionIndex_.end()) return nullptr;
  const auto& values = sections_[it->second].values;
  const auto value = values.find(rt::UpperText(key));
  if (value == values.end() || value->second.empty()) return nullptr;
  return &value->second;
}

rt::WideString TQuickIni::ReadString(rt::WideStringView section, rt::WideStringView key,
                                     rt::WideStringView defaultValue) const {
  const rt::WideString* value = FindValue(section, key);
  return value ? *value : rt::WideString(defaultValue);
}

int32_t TQuickIni::ReadInteger(rt::WideStringView section, rt::WideStringView key,
                               int32_t defaultValue) const {
  rt::WideString text = ReadString(section, key, u"");
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
    text.replace(0, 2, u"$");
  return ParseIniInteger(text).value_or(defaultValue);
}

bool TQuickIni::HasValue(rt::WideStringView section, rt::WideStringView key) const {
  return FindValue(section, key) != nullptr;
}

}  // namespace skin
