// skintool: makes and takes apart skin files.
//
// Exit status: 0 done, 1 failure, 64 the command line was not understood.
#include "tools/cli/command_line.h"
#include "tools/skintool/commands.h"

int main(int argc, char** argv) { return cli::RunCommandLine("skintool", skintool::Commands(), argc, argv); }
