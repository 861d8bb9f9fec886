// The commands of qzip, one table row each.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/cli/command_line.h"

namespace qzip {

// The archive could not be opened: the engine's message, exit status 2.
class ArchiveOpenError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The destination folder could not be made: exit status 1, nothing
// extracted.
class DestinationError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::span<const cli::Command> Commands();
using cli::UsageError;

}  // namespace qzip
