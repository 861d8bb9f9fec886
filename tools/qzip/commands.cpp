#include "tools/qzip/commands.h"

#include "runtime/strings.h"
#include "tools/qzip/console.h"
#include "zip/zip_archiver.h"

namespace qzip {

namespace {

int Version(const std::vector<std::string>& arguments) {
  if (!arguments.empty()) throw UsageError("version takes no arguments");
  const zip::TZipArchiver archiver;
  WriteOut(rt::WideToUtf8(archiver.CurrentVersion()) + "\n");
  return 0;
}

constexpr Command kCommands[] = {
    {"version", "", "print the archive engine's version", &Version},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

}  // namespace qzip
