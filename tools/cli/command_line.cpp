#include "tools/cli/command_line.h"

#include <algorithm>

#include "tools/cli/console.h"

namespace cli {
namespace {

int Usage(const char* tool, std::span<const Command> commands, const std::string& problem) {
  std::string text;
  if (!problem.empty()) text += std::string(tool) + ": " + problem + "\n";
  text += std::string("usage: ") + tool + " <command> [arguments]\ncommands:\n";
  for (const auto& command : commands) {
    std::string synopsis = command.name;
    if (*command.arguments) synopsis += std::string(" ") + command.arguments;
    synopsis.resize(std::max<size_t>(synopsis.size() + 2, 24), ' ');
    text += "  " + synopsis + command.summary + "\n";
  }
  WriteErr(text);
  return kExitUsage;
}

}  // namespace

int RunCommandLine(const char* tool, std::span<const Command> commands, int argc, char** argv,
                   const TFailureStatus& failureStatus) {
  PrepareConsole();
  const std::vector<std::string> arguments = CommandLineArguments(argc, argv);
  if (arguments.empty()) return Usage(tool, commands, "");
  const auto command = std::find_if(commands.begin(), commands.end(),
                                    [&](const Command& c) { return arguments[0] == c.name; });
  if (command == commands.end()) return Usage(tool, commands, "unknown command '" + arguments[0] + "'");
  try {
    return command->run(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  } catch (const UsageError& e) {
    return Usage(tool, commands, e.what());
  } catch (const std::exception& e) {
    WriteErr(std::string(tool) + ": " + e.what() + "\n");
    return failureStatus ? failureStatus(e) : kExitFailure;
  }
}

}  // namespace cli
