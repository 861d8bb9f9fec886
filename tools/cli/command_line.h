// A tool made of commands: a table of them, and the program entry that
// picks one by its name, runs it and turns what it raised into the exit
// status and a message.
#pragma once

#include <exception>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

// The command line does not fit the command: the tool shows its usage.
class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Command {
  const char* name;
  const char* arguments;  // the synopsis after the name
  const char* summary;
  // Runs with the arguments after the command name; the exit status.
  int (*run)(const std::vector<std::string>& arguments);
};

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 64;

// The exit status for a failure a command raised (kExitFailure unless the
// tool tells failures apart).
using TFailureStatus = std::function<int(const std::exception& failure)>;

// Runs the command the first argument names; a usage error or an unknown
// command shows the usage (status 64), any other exception its message
// prefixed with the tool's name (rt::Exception's what() is UTF-8 too).
int RunCommandLine(const char* tool, std::span<const Command> commands, int argc, char** argv,
                   const TFailureStatus& failureStatus = nullptr);

}  // namespace cli
