#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>

#include "runtime/strings.h"
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
    arguments.push_back(rt::WideToUtf8(reinterpret_cast<const char16_t*>(wide.get()[i])));
  return arguments;
}

void PrepareConsole() {
  SetConsoleOutputCP(CP_UTF8);
}

void WriteOut(std::string_view utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stdout); }
void WriteErr(std::string_view utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stderr); }

}  // namespace cli
