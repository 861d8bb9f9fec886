// mkinstaller: appends a payload folder to an installer stub as the ZIP
// archive the installer extracts.
//
// The output is the stub's bytes followed by the archive, whose offsets
// count from the start of the output. It is written beside OUT_EXE and
// renamed into place, so a failure leaves no half-made installer.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "installer/product_version.h"
#include "tools/cli/command_line.h"
#include "tools/cli/console.h"
#include "tools/cli/files.h"
#include "tools/cli/options.h"
#include "tools/mkinstaller/archive_writer.h"
#include "tools/mkinstaller/dos_time.h"
#include "tools/mkinstaller/payload_tree.h"
#include "tools/mkinstaller/stub_check.h"
#include "tools/mkinstaller/windows_names.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitRefused = 2;

constexpr char kUsage[] =
    "usage: mkinstaller [--] PAYLOAD_DIR STUB_EXE OUT_EXE\n"
    "       mkinstaller --help | --version\n"
    "Appends every file and folder under PAYLOAD_DIR to the Windows program STUB_EXE as a ZIP archive\n"
    "and writes the installer to OUT_EXE. Names must be valid on Windows: no device names (CON, PRN,\n"
    "AUX, NUL, COM1-9, LPT1-9, with any extension), no two names in a folder that differ only in case.\n"
    "exit status:\n"
    "  0  done\n"
    "  1  a file cannot be read or written\n"
    "  2  the payload or the stub is refused (names, special files, an empty or non-PE stub)\n"
    "  50 disk full\n"
    "  64 usage\n";

void WriteInstaller(const std::string& payloadTyped, const std::string& stubTyped, const std::string& outTyped) {
  const fs::path outPath = cli::PathFromUtf8(outTyped);
  const std::vector<mkinstaller::PayloadEntry> entries = mkinstaller::ScanPayload(cli::PathFromUtf8(payloadTyped));
  if (entries.empty()) throw mkinstaller::PayloadError(payloadTyped + ": the payload folder is empty");
  const std::vector<uint8_t> stub = cli::ReadWholeFile(cli::PathFromUtf8(stubTyped));
  mkinstaller::CheckStub(stub, stubTyped);

  fs::path temporary = outPath;
  temporary += ".tmp";
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot create " + outTyped + ".tmp: " + std::strerror(errno));
  out.write(reinterpret_cast<const char*>(stub.data()), static_cast<std::streamsize>(stub.size()));
  mkinstaller::ArchiveWriter writer(out, stub.size());
  int files = 0;
  for (const auto& entry : entries) {
    const mkinstaller::DosDateTime when = mkinstaller::LocalDosDateTime(entry.modified);
    if (entry.folder) {
      writer.AddFolder(entry.name, when);
    } else {
      writer.AddFile(entry.name, cli::ReadWholeFile(entry.path), when);
      ++files;
    }
  }
  writer.Finish();
  out.close();
  if (!out) {
    const int error = errno;
    if (cli::IsDiskFullError(error)) throw cli::Failure(cli::kExitDiskFull, "disk full writing " + outTyped);
    throw std::runtime_error("cannot write " + outTyped + ".tmp: " + cli::SystemReason(error));
  }
  fs::rename(temporary, outPath);
  cli::WriteOut("mkinstaller: " + outTyped + ": " + std::to_string(entries.size()) + " entries (" +
                std::to_string(files) + " files, " + std::to_string(entries.size() - static_cast<size_t>(files)) +
                " folders) after a stub of " + std::to_string(stub.size()) + " bytes\n");
}

int MakeInstaller(const std::vector<std::string>& arguments) {
  const std::vector<std::string> rest = cli::ParseOptions(arguments, {}).Positional();
  if (rest.size() != 3) throw cli::UsageError("mkinstaller takes a payload folder, a stub and an output file");
  try {
    WriteInstaller(rest[0], rest[1], rest[2]);
  } catch (...) {
    std::error_code ignored;
    fs::remove(cli::PathFromUtf8(rest[2] + ".tmp"), ignored);
    throw;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  static const cli::Program program{"mkinstaller", QUIMORA_FILE_VERSION, kUsage};
  return cli::RunProgram(program, argc, argv, &MakeInstaller, [](const std::exception& failure) {
    return dynamic_cast<const mkinstaller::PayloadError*>(&failure) ? kExitRefused : cli::kExitFailure;
  });
}
