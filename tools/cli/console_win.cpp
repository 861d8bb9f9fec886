#include <windows.h>
#include <shellapi.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "runtime/strings.h"
#include "runtime/wide_text_win.h"
#include "tools/cli/console.h"

namespace cli {

namespace {

struct LocalFreeDeleter {
  void operator()(LPWSTR* p) const { LocalFree(p); }
};

}  // namespace

// The 8-bit argv of a Windows program is in the ANSI code page and loses
// what it cannot hold; the wide command line has every character.
std::vector<std::string> CommandLineArguments(int, char**) {
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> wide(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i)
    arguments.push_back(rt::WideToUtf8(rt::AsChar16(wide.get()[i])));
  return arguments;
}

void PrepareConsole() {
  SetConsoleOutputCP(CP_UTF8);
  SetConsoleCP(CP_UTF8);
}

void WriteOut(std::string_view utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stdout); }
void WriteErr(std::string_view utf8) {
  std::fflush(stdout);
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

bool InputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

std::optional<std::string> ReadInputLine() {
  std::fflush(stdout);
  std::string line;
  for (int c; (c = std::fgetc(stdin)) != EOF;) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    line += static_cast<char>(c);
  }
  if (line.empty()) return std::nullopt;
  return line;
}

std::string SystemReason(int error) { return std::strerror(error); }

bool IsDiskFullError(int error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

std::string NativeSeparators(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace cli
