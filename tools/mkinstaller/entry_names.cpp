#include "tools/mkinstaller/entry_names.h"

#include <stdexcept>

#include "runtime/cp437.h"
#include "zip/archive_records.h"

namespace mkinstaller {

std::string OemName(rt::WideStringView name) {
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    const std::optional<unsigned char> byte = rt::WideToCp437(c);
    out.push_back(byte ? static_cast<char>(*byte) : '_');
    // A character beyond the 16-bit plane is one "_", not two.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
      ++i;
  }
  return out;
}

bool IsAscii(rt::WideStringView name) {
  for (const char16_t c : name)
    if (c >= 0x80) return false;
  return true;
}

std::vector<uint8_t> UnicodeNameBlock(rt::WideStringView name) {
  const size_t dataSize = 8 + 2 * name.size();
  if (dataSize > 0xFFFF) throw std::runtime_error("name too long for its Unicode extra block");
  std::vector<uint8_t> block;
  zip::TUnicodeNameBlock{rt::WideString(name)}.Write(block);
  return block;
}

}  // namespace mkinstaller
