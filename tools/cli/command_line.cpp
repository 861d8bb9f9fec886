#include "tools/cli/command_line.h"

#include <algorithm>

#include "tools/cli/console.h"

namespace cli {
namespace {

bool AsksForHelp(const std::string& argument) {
  return argument == "--help" || argument == "-h" || argument == "help";
}

int ShowUsageError(const Tool& tool, const std::string& problem) {
  WriteErr(std::string(tool.name) + ": " + problem + "\n" + UsageText(tool));
  return kExitUsage;
}

}  // namespace

std::string UsageText(const Tool& tool) {
  std::string text = std::string("usage: ") + tool.name + " <command> [arguments]\n" + "       " +
                     tool.name + " --help | --version\ncommands:\n";
  for (const auto& command : tool.commands) {
    std::string synopsis = command.name;
    if (*command.arguments) synopsis += std::string(" ") + command.arguments;
    text += "  " + synopsis + "\n      " + command.summary + "\n";
  }
  if (tool.notes && *tool.notes) text += tool.notes;
  return text;
}

int RunProgram(const Program& program, int argc, char** argv, int (*run)(const std::vector<std::string>& arguments),
               const TFailureStatus& failureStatus) {
  PrepareConsole();
  const std::vector<std::string> arguments = CommandLineArguments(argc, argv);
  if (arguments.size() == 1 && (AsksForHelp(arguments[0]) || arguments[0] == "--version")) {
    WriteOut(arguments[0] == "--version" ? std::string(program.name) + " " + program.version + "\n" : program.usage);
    return 0;
  }
  try {
    return run(arguments);
  } catch (const UsageError& e) {
    WriteErr(std::string(program.name) + ": " + e.what() + "\n" + program.usage);
    return kExitUsage;
  } catch (const Failure& e) {
    WriteErr(std::string(program.name) + ": " + e.what() + "\n");
    return e.Status();
  } catch (const std::exception& e) {
    WriteErr(std::string(program.name) + ": " + e.what() + "\n");
    return failureStatus ? failureStatus(e) : kExitFailure;
  }
}

int RunCommandLine(const Tool& tool, int argc, char** argv, const TFailureStatus& failureStatus) {
  PrepareConsole();
  const std::vector<std::string> arguments = CommandLineArguments(argc, argv);
  if (arguments.empty()) return ShowUsageError(tool, "no command given");
  if (AsksForHelp(arguments[0])) {
    WriteOut(UsageText(tool));
    return 0;
  }
  if (arguments[0] == "--version") {
    WriteOut(std::string(tool.name) + " " + tool.version + "\n");
    return 0;
  }
  const auto command = std::find_if(tool.commands.begin(), tool.commands.end(),
                                    [&](const Command& c) { return arguments[0] == c.name; });
  if (command == tool.commands.end()) return ShowUsageError(tool, "unknown command '" + arguments[0] + "'");
  const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
  // "qzip list --help": the usage, unless "--" came first.
  for (const std::string& argument : rest) {
    if (argument == "--") break;
    if (argument == "--help" || argument == "-h") {
      WriteOut(UsageText(tool));
      return 0;
    }
  }
  try {
    return command->run(rest);
  } catch (const UsageError& e) {
    return ShowUsageError(tool, e.what());
  } catch (const Failure& e) {
    WriteErr(std::string(tool.name) + ": " + e.what() + "\n");
    return e.Status();
  } catch (const std::exception& e) {
    WriteErr(std::string(tool.name) + ": " + e.what() + "\n");
    return failureStatus ? failureStatus(e) : kExitFailure;
  }
}

}  // namespace cli
