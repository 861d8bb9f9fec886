// The console boundary of the command-line tools: arguments in, text out,
// both UTF-8.
#pragma once

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

}  // namespace cli
