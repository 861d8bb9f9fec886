// The commands of qzip, one table row each.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qzip {

// The command line does not fit the command: qzip shows its usage.
class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The archive could not be opened: the engine's message, exit status 2.
class ArchiveOpenError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Command {
  const char* name;
  const char* arguments;  // the synopsis after the name
  const char* summary;
  // Runs with the arguments after the command name; the exit status.
  int (*run)(const std::vector<std::string>& arguments);
};

std::span<const Command> Commands();

}  // namespace qzip
