#include "tools/skintool/commands.h"

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <set>
#include <string>

#include "runtime/streams.h"
#include "skin/container/lzh.h"
#include "skin/container/skin_archive_writer.h"
#include "skin/container/skin_reader.h"
#include "tools/cli/console.h"
#include "tools/skintool/dump.h"
#include "tools/cli/files.h"

namespace skintool {

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void ExpectArguments(const std::vector<std::string>& arguments, size_t n, const char* what) {
  if (arguments.size() != n) throw UsageError(what);
}

int LzhEncode(const std::vector<std::string>& arguments) {
  ExpectArguments(arguments, 2, "lzh-encode takes an input and an output file");
  const Bytes data = cli::ReadWholeFile(cli::PathFromUtf8(arguments[0]));
  if (data.size() > std::numeric_limits<uint32_t>::max())
    throw Failure(arguments[0] + ": more than 4 GiB cannot be packed");
  // The same layout as a skin file: the size, then the stream.
  cli::WriteWholeFile(cli::PathFromUtf8(arguments[1]), skin::MakeSkinFile(data));
  return 0;
}

int LzhDecode(const std::vector<std::string>& arguments) {
  ExpectArguments(arguments, 2, "lzh-decode takes an input and an output file");
  const Bytes file = cli::ReadWholeFile(cli::PathFromUtf8(arguments[0]));
  if (file.size() < 4) throw Failure(arguments[0] + ": shorter than its 4-byte size");
  const uint32_t size = file[0] | file[1] << 8 | file[2] << 16 | static_cast<uint32_t>(file[3]) << 24;
  // The limit a skin file has: any larger size is a damaged one.
  if (size > skin::kMaxSkinUnpackedSize)
    throw Failure(arguments[0] + ": unpacked size " + std::to_string(size) + " is over the limit of " +
                  std::to_string(skin::kMaxSkinUnpackedSize));
  Bytes decoded = skin::LzhUnpack(std::span(file).subspan(4), size);
  // A last match may run past the size; the size is what the file holds.
  decoded.resize(size);
  cli::WriteWholeFile(cli::PathFromUtf8(arguments[1]), decoded);
  return 0;
}

std::string LowerAscii(std::string s) { return skin::FoldSkinName(s); }

bool IsSkinPart(const fs::directory_entry& entry) {
  if (!entry.is_regular_file()) return false;
  const std::string extension = LowerAscii(cli::PathToUtf8(entry.path().extension()));
  return extension == ".ini" || extension == ".bmp";
}

// Takes "--name VALUE" out of the arguments; empty when it is not there.
std::string TakeOption(std::vector<std::string>& arguments, const std::string& name) {
  for (size_t i = 0; i + 1 < arguments.size(); ++i)
    if (arguments[i] == name) {
      std::string value = arguments[i + 1];
      arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i),
                      arguments.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      return value;
    }
  return {};
}

bool TakeFlag(std::vector<std::string>& arguments, const std::string& name) {
  const auto it = std::find(arguments.begin(), arguments.end(), name);
  if (it == arguments.end()) return false;
  arguments.erase(it);
  return true;
}

// What a form stores for a skin: the file's length as 32 bits, then the file.
Bytes FormValue(const Bytes& skinFile) {
  Bytes value(4 + skinFile.size());
  for (int i = 0; i < 4; ++i) value[i] = static_cast<uint8_t>(skinFile.size() >> (8 * i));
  std::copy(skinFile.begin(), skinFile.end(), value.begin() + 4);
  return value;
}

int Pack(const std::vector<std::string>& given) {
  std::vector<std::string> arguments = given;
  const std::string formValue = TakeOption(arguments, "--form-value");
  ExpectArguments(arguments, 2, "pack takes a folder and a skin file");
  const fs::path folder = cli::PathFromUtf8(arguments[0]);
  std::error_code error;
  std::vector<std::string> names;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (IsSkinPart(*it)) names.push_back(cli::PathToUtf8(it->path().filename()));
  if (error) throw Failure("cannot list " + arguments[0] + ": " + error.message());
  std::sort(names.begin(), names.end());
  std::vector<skin::TSkinArchiveEntry> entries;
  for (const std::string& name : names) entries.emplace_back(name, cli::ReadWholeFile(folder / cli::PathFromUtf8(name)));
  try {
    const Bytes file = skin::MakeSkinFile(skin::PackSkinArchive(entries));
    cli::WriteWholeFile(cli::PathFromUtf8(arguments[1]), file);
    if (!formValue.empty()) cli::WriteWholeFile(cli::PathFromUtf8(formValue), FormValue(file));
  } catch (const skin::ESkinArchiveError& e) {
    throw Failure(arguments[0] + ": " + e.what());
  }
  return 0;
}

// An entry name becomes a file name in the target folder and nothing else.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string::npos &&
         std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

int Unpack(const std::vector<std::string>& arguments) {
  ExpectArguments(arguments, 2, "unpack takes a skin file and a folder");
  const Bytes file = cli::ReadWholeFile(cli::PathFromUtf8(arguments[0]));
  rt::TMemoryStream stream(file);
  skin::TSkinReader reader;
  if (!reader.Open(stream)) throw Failure(arguments[0] + ": not a skin file: " + reader.FailureReason());
  const fs::path folder = cli::PathFromUtf8(arguments[1]);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) throw Failure("cannot create " + arguments[1] + ": " + error.message());
  int status = 0;
  std::set<std::string> written;
  rt::TMemoryStream entry;
  for (const std::string& name : reader.Names()) {
    if (!IsPlainFileName(name)) {
      cli::WriteErr("skintool: skipped an entry whose name is no plain file name: \"" + name + "\"\n");
      status = 1;
      continue;
    }
    // Lookups only ever see the first of equal names.
    if (!written.insert(name).second) {
      cli::WriteErr("skintool: skipped a second entry named " + name + "\n");
      continue;
    }
    reader.ExtractEntry(name, entry);
    cli::WriteWholeFile(folder / cli::PathFromUtf8(name), entry.Bytes());
  }
  return status;
}

int Dump(const std::vector<std::string>& given) {
  std::vector<std::string> arguments = given;
  TDumpOptions options;
  const std::string width = TakeOption(arguments, "--arrow-width");
  if (!width.empty()) {
    char* end = nullptr;
    const long value = std::strtol(width.c_str(), &end, 10);
    if (*end || value < 1 || value > 1000) throw UsageError("--arrow-width takes a number of pixels");
    options.scrollArrowWidth = static_cast<int>(value);
  }
  options.timing = TakeFlag(arguments, "--time");
  ExpectArguments(arguments, 1, "dump takes a skin file");
  return DumpSkin(arguments[0].c_str(), options);
}

constexpr cli::Command kCommands[] = {
    {"lzh-encode", "IN OUT", "pack IN into OUT: its size as 4 bytes, then the LZHUF stream", &LzhEncode},
    {"lzh-decode", "IN OUT", "unpack a size and an LZHUF stream from IN into OUT", &LzhDecode},
    {"pack", "DIR OUT [--form-value FILE]",
     "pack the .ini and .bmp files of DIR, sorted by name, into the skin file OUT (and FILE: the value a "
     "form stores for it)",
     &Pack},
    {"unpack", "SKINFILE DIR", "write every entry of SKINFILE under its lower-case name in DIR",
     &Unpack},
    {"dump", "SKINFILE [--arrow-width N] [--time]",
     "load SKINFILE as the installer does and show what it defines (combo boxes composed for a scroll-bar "
     "arrow N pixels wide; --time: when the skin was built)",
     &Dump},
};

}  // namespace

std::span<const cli::Command> Commands() { return kCommands; }

}  // namespace skintool
