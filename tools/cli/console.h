// The console boundary of the command-line tools: arguments in, text out,
// both UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// The program's arguments after its own name, as UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Makes a console show the UTF-8 that the tools write.
void PrepareConsole();

void WriteOut(std::string_view utf8);
void WriteErr(std::string_view utf8);

// Whether a person may be typing at standard input.
bool InputIsTerminal();
// One line typed at standard input, without its end; nothing at its end.
std::optional<std::string> ReadInputLine();

// A path with the separators the system shows: "/" on POSIX, "\" on
// Windows, whichever the archive or the user wrote.
std::string NativeSeparators(std::string path);

// Whether a system error number (errno, or GetLastError on Windows) says
// the disk or quota is full.
bool IsDiskFullError(int error);

// The system's own words for the error of the C library's last call (errno).
std::string SystemReason(int error);

}  // namespace cli
