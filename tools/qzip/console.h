// The console boundary of qzip: arguments in, text out, both UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzip {

// The program's arguments after its own name, as UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Makes a console show the UTF-8 that qzip writes.
void PrepareConsole();

void WriteOut(std::string_view utf8);
void WriteErr(std::string_view utf8);

}  // namespace qzip
