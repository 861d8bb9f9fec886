// The small INI reader of skin definitions. It parses the whole text once
// and keeps the retained lines in order; lookups of sections and keys
// ignore case, and within a section the first line of a key wins.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "runtime/streams.h"
#include "runtime/strings.h"

namespace skin {

// The integer forms of a definition value: an optional sign and decimal
// digits, or "$" and hexadecimal digits (up to 32 bits, taken as signed).
// Nothing else converts, also not an empty text.
std::optional<int32_t> ParseIniInteger(rt::WideStringView text);

class TQuickIni {
 public:
  // Parses everything from the stream's position to its end, replacing
  // what an earlier load held. The text is in the system ANSI code page.
  void LoadFromStream(rt::TStream& stream);
  void LoadFromText(std::string_view text);

  // The index of the header line of the section among the retained lines,
  // or -1. Of two headers with the same name the first one counts.
  int FindSection(rt::WideStringView name) const;
  // Every section name in file order, duplicates included.
  std::vector<rt::WideString> ReadSections() const;

  // The value of the key's first line in the section, or defaultValue when
  // there is none or its value is empty.
  rt::WideString ReadString(rt::WideStringView section, rt::WideStringView key,
                            rt::WideStringView defaultValue) const;
  // "0x1F" reads like "$1F"; a value that does not convert gives the default.
  int32_t ReadInteger(rt::WideStringView section, rt::WideStringView key,
                      int32_t defaultValue) const;
  // Whether the key has a non-empty value in the section.
  bool HasValue(rt::WideStringView section, rt::WideStringView key) const;

  const std::vector<rt::WideString>& Lines() const { return lines_; }

 private:
  struct Section {
    rt::WideString name;
    int headerLine = 0;
    // Upper-case key -> value of its first line in this section.
    std::unordered_map<rt::WideString, rt::WideString> values;
  };

  const rt::WideString* FindValue(rt::WideStringView section, rt::WideStringView key) const;

  std::vector<rt::WideString> lines_;
  std::vector<Section> sections_;
  // Upper-case name -> index into sections_ of its first header.
  std::unordered_map<rt::WideString, size_t> sectionIndex_;
};

}  // namespace skin
