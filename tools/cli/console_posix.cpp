#include <cstdio>

#include "tools/cli/console.h"

namespace cli {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void PrepareConsole() {}

void WriteOut(std::string_view utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stdout); }
void WriteErr(std::string_view utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stderr); }

}  // namespace cli
