// The installer stub must be the Windows program the payload is appended
// to: a file that is empty or no PE image would make an installer that
// never starts.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace mkinstaller {

// Raises PayloadError naming typed when stub is empty or holds no "MZ"
// header pointing at a "PE\0\0" signature.
void CheckStub(std::span<const uint8_t> stub, const std::string& typed);

}  // namespace mkinstaller
