// mkinstaller: appends a payload folder to an installer stub as the ZIP
// archive the installer extracts.
//
//   mkinstaller PAYLOAD_DIR STUB_EXE OUT_EXE
//
// The output is the stub's bytes followed by the archive, whose offsets
// count from the start of the output. It is written beside OUT_EXE and
// renamed into place, so a failure leaves no half-made installer.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/cli/files.h"
#include "tools/mkinstaller/archive_writer.h"
#include "tools/mkinstaller/dos_time.h"
#include "tools/mkinstaller/payload_tree.h"

namespace fs = std::filesystem;

namespace {

void MakeInstaller(const fs::path& payload, const fs::path& stubPath, const fs::path& outPath) {
  const std::vector<mkinstaller::PayloadEntry> entries = mkinstaller::ScanPayload(payload);
  if (entries.empty()) throw std::runtime_error(payload.string() + ": the payload folder is empty");
  const std::vector<uint8_t> stub = cli::ReadWholeFile(stubPath);

  const fs::path temporary = outPath.string() + ".tmp";
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot create " + temporary.string());
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
  if (!out) throw std::runtime_error("cannot write " + temporary.string());
  fs::rename(temporary, outPath);
  std::printf("mkinstaller: %s: %zu entries (%d files, %zu folders) after a stub of %zu bytes\n",
              outPath.string().c_str(), entries.size(), files, entries.size() - static_cast<size_t>(files),
              stub.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: mkinstaller PAYLOAD_DIR STUB_EXE OUT_EXE\n", stderr);
    return 64;
  }
  try {
    MakeInstaller(argv[1], argv[2], argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkinstaller: %s\n", e.what());
    std::error_code ignored;
    fs::remove(std::string(argv[3]) + ".tmp", ignored);
    return 1;
  }
  return 0;
}
