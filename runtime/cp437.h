// Code page 437, the OEM code page of ZIP entry names, as a portable table
// for the code that cannot ask the system for it.
#pragma once

#include <optional>

namespace rt {

// The character a byte stands for; bytes below 0x80 are ASCII.
char16_t Cp437ToWide(unsigned char byte);

// The byte that stands for a UTF-16 code unit, or nothing when the code
// page lacks it.
std::optional<unsigned char> WideToCp437(char16_t c);

}  // namespace rt
