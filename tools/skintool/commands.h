// The commands of skintool, one table row each.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/cli/command_line.h"

namespace skintool {

// A file could not be read or written, or holds no skin: exit status 1.
class Failure : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::span<const cli::Command> Commands();
using cli::UsageError;

}  // namespace skintool
