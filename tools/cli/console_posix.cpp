#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/cli/console.h"

namespace cli {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void PrepareConsole() {}

void WriteOut(std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}
void WriteErr(std::string_view utf8) {
  // Messages and output interleave in the order they were made.
  std::fflush(stdout);
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

bool InputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

std::optional<std::string> ReadInputLine() {
  std::fflush(stdout);
  std::string line;
  for (int c; (c = std::fgetc(stdin)) != EOF;) {
    if (c == '\n') return line;
    line += static_cast<char>(c);
  }
  if (line.empty()) return std::nullopt;
  return line;
}

std::string SystemReason(int error) { return std::strerror(error); }

bool IsDiskFullError(int error) { return error == ENOSPC || error == EDQUOT; }

std::string NativeSeparators(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

}  // namespace cli
