#include "skin/definition/skin_colours.h"

#include <cstdint>

namespace skin {

namespace {

bool IsBlank(char16_t c) { return c <= u' '; }

}  // namespace

rt::TColor ParseColour(rt::WideStringView text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  // Only the low 8 bits of each number are kept, so the digits are summed
  // modulo 256: a number of any length converts without overflow.
  uint8_t channels[3] = {0, 0, 0};
  int index = 0;
  bool inNumber = false;
  unsigned number = 0;
  for (char16_t c : text) {
    if (c >= u'0' && c <= u'9') {
      number = (number * 10 + (c - u'0')) & 0xFF;
      inNumber = true;
    } else if (inNumber) {
      if (index < 3) channels[index++] = static_cast<uint8_t>(number);
      inNumber = false;
      number = 0;
    }
  }
  // A number that runs to the end of the text counts only as the blue of
  // two before it.
  if (index == 2 && inNumber) channels[2] = static_cast<uint8_t>(number);
  return rt::RGBColor(channels[0], channels[1], channels[2]);
}

rt::TColor ReadColour(const TQuickIni& ini, rt::WideStringView section, rt::WideStringView key,
                      rt::TColor defaultColour) {
  const rt::WideString text = ini.ReadString(section, key, u"");
  return text.empty() ? defaultColour : ParseColour(text);
}

void ReadRGBKeys(const TQuickIni& ini, rt::WideStringView section, rt::WideStringView prefix,
                 rt::TColor& colour) {
  const rt::WideString name(prefix);
  const int32_t red = ini.ReadInteger(section, name + u"R", -1);
  const int32_t green = ini.ReadInteger(section, name + u"G", -1);
  const int32_t blue = ini.ReadInteger(section, name + u"B", -1);
  if (red < 0 || green < 0 || blue < 0) return;
  colour = rt::RGBColor(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                        static_cast<uint8_t>(blue));
}

}  // namespace skin
