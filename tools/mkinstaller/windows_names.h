// What Windows refuses or confuses in the names of the files it installs.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "runtime/strings.h"

namespace mkinstaller {

// The payload holds something an installer cannot carry: exit status 2.
class PayloadError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Why Windows cannot hold a file or folder named component, or nothing:
// separators and other refused characters, a trailing dot or blank, and
// the device names (CON, PRN, AUX, NUL, COM1-9, LPT1-9), which stay
// devices whatever extension follows.
std::optional<std::string> WindowsNameProblem(rt::WideStringView component);

// The key under which Windows finds a name: it ignores case.
rt::WideString CaseFoldedName(rt::WideStringView component);

}  // namespace mkinstaller
