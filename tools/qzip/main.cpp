// qzip: the archive engine on the command line.
//
// Exit status: 0 done, 2 the engine raised an archive error, 1 any other
// failure, 64 the command line was not understood.
#include "tools/cli/command_line.h"
#include "tools/qzip/commands.h"
#include "zip/zip_exception.h"

namespace {

constexpr int kExitArchiveError = 2;

int FailureStatus(const std::exception& failure) {
  const bool archive = dynamic_cast<const zip::EZipException*>(&failure) ||
                       dynamic_cast<const qzip::ArchiveOpenError*>(&failure);
  return archive ? kExitArchiveError : cli::kExitFailure;
}

}  // namespace

int main(int argc, char** argv) { return cli::RunCommandLine("qzip", qzip::Commands(), argc, argv, FailureStatus); }
