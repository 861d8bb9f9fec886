// qzip: the archive engine on the command line.
//
// Exit status: 0 done, 2 the engine raised an archive error, 1 any other
// failure, 64 the command line was not understood.
#include <algorithm>
#include <string>

#include "runtime/exceptions.h"
#include "tools/qzip/commands.h"
#include "tools/qzip/console.h"
#include "zip/zip_exception.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitArchiveError = 2;
constexpr int kExitUsage = 64;

int Usage(const std::string& problem) {
  std::string text;
  if (!problem.empty()) text += "qzip: " + problem + "\n";
  text += "usage: qzip <command> [arguments]\ncommands:\n";
  for (const auto& command : qzip::Commands()) {
    std::string synopsis = command.name;
    if (*command.arguments) synopsis += std::string(" ") + command.arguments;
    synopsis.resize(std::max<size_t>(synopsis.size() + 2, 24), ' ');
    text += "  " + synopsis + command.summary + "\n";
  }
  qzip::WriteErr(text);
  return kExitUsage;
}

int Fail(int status, const std::string& message) {
  qzip::WriteErr(message + "\n");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  qzip::PrepareConsole();
  const std::vector<std::string> arguments = qzip::CommandLineArguments(argc, argv);
  if (arguments.empty()) return Usage("");
  const auto commands = qzip::Commands();
  const auto command = std::find_if(commands.begin(), commands.end(),
                                    [&](const qzip::Command& c) { return arguments[0] == c.name; });
  if (command == commands.end()) return Usage("unknown command '" + arguments[0] + "'");
  try {
    return command->run(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  } catch (const qzip::UsageError& e) {
    return Usage(e.what());
  } catch (const zip::EZipException& e) {
    return Fail(kExitArchiveError, e.what());
  } catch (const qzip::ArchiveOpenError& e) {
    return Fail(kExitArchiveError, e.what());
  } catch (const std::exception& e) {
    // rt::Exception's what() is its message as UTF-8 too.
    return Fail(kExitFailure, e.what());
  }
}
