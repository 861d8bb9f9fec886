// The commands of skintool, one table row each.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/cli/command_line.h"

namespace skintool {

// Exit statuses besides 0 (done) and 64 (usage).
inline constexpr int kExitFailure = 1;  // a file cannot be read or written
inline constexpr int kExitDamaged = 2;  // the input is no skin, or a damaged one
inline constexpr int kExitUnavailable = 69;  // the command needs Windows

const cli::Tool& Tool();
using cli::UsageError;

}  // namespace skintool
