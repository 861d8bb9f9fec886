// How an entry name is stored: bytes in code page 437, and for a name that
// is not plain ASCII the "NU" extra block that carries it in UTF-16.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/strings.h"

namespace mkinstaller {

// The name in code page 437; a character the code page lacks becomes "_".
std::string OemName(rt::WideStringView name);

bool IsAscii(rt::WideStringView name);

// The whole "NU" extra block, header included.
std::vector<uint8_t> UnicodeNameBlock(rt::WideStringView name);

}  // namespace mkinstaller
