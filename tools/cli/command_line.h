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

// A failure that carries the exit status it ends the tool with; its
// message is shown after the tool's name.
class Failure : public std::runtime_error {
 public:
  Failure(int status, const std::string& message) : std::runtime_error(message), status_(status) {}
  int Status() const { return status_; }

 private:
  int status_;
};

struct Command {
  const char* name;
  const char* arguments;  // the synopsis after the name
  const char* summary;
  // Runs with the arguments after the command name; the exit status.
  int (*run)(const std::vector<std::string>& arguments);
};

struct Tool {
  const char* name;
  const char* version;
  std::span<const Command> commands;
  // Shown after the commands in the usage: options, conventions, exit
  // statuses.
  const char* notes;
};

inline constexpr int kExitFailure = 1;
inline constexpr int kExitDiskFull = 50;
inline constexpr int kExitUsage = 64;

// The exit status for a failure a command raised (kExitFailure unless the
// tool tells failures apart).
using TFailureStatus = std::function<int(const std::exception& failure)>;

// "--help", "-h" or "help" show the usage on stdout (status 0) and
// "--version" the version. Otherwise runs the command the first argument
// names; a usage error or an unknown command shows the usage on stderr
// (status 64), a Failure its message and status, any other exception its
// message prefixed with the tool's name (rt::Exception's what() is UTF-8
// too).
int RunCommandLine(const Tool& tool, int argc, char** argv, const TFailureStatus& failureStatus = nullptr);

// The usage text RunCommandLine shows.
std::string UsageText(const Tool& tool);

// A tool without commands: its whole usage text, options and exit
// statuses included.
struct Program {
  const char* name;
  const char* version;
  const char* usage;
};

// The same conventions for a tool without commands: "--help", "-h" or
// "help" alone show the usage on stdout, "--version" the version; run gets
// every argument otherwise.
int RunProgram(const Program& program, int argc, char** argv, int (*run)(const std::vector<std::string>& arguments),
               const TFailureStatus& failureStatus = nullptr);

}  // namespace cli
