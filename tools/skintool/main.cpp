// skintool: makes and takes apart skin files. The exit statuses are in
// tools/skintool/commands.h and in the usage.
#include "tools/cli/command_line.h"
#include "tools/skintool/commands.h"

int main(int argc, char** argv) { return cli::RunCommandLine(skintool::Tool(), argc, argv); }
