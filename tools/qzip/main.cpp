// qzip: the archive engine on the command line. The exit statuses are in
// tools/qzip/exit_codes.h and in the usage.
#include "tools/cli/command_line.h"
#include "tools/qzip/commands.h"
#include "tools/qzip/exit_codes.h"

int main(int argc, char** argv) {
  return cli::RunCommandLine(qzip::Tool(), argc, argv, [](const std::exception&) { return qzip::kExitDamaged; });
}
