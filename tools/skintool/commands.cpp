#include "tools/skintool/commands.h"

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <set>
#include <string>

#include "installer/product_version.h"
#include "runtime/streams.h"
#include "skin/container/lzh.h"
#include "skin/container/skin_archive_writer.h"
#include "skin/container/skin_reader.h"
#include "tools/cli/console.h"
#include "tools/cli/options.h"
#include "tools/skintool/dump.h"
#include "tools/cli/files.h"

namespace skintool {

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void ExpectArguments(const std::vector<std::string>& arguments, size_t n, const char* what) {
  if (arguments.size() != n) throw UsageError(what);
}

[[noreturn]] void Damaged(const std::string& what) { throw cli::Failure(kExitDamaged, what); }

// The positional arguments, after "--" too; skintool's commands take no
// options but those they name.
std::vector<std::string> Positional(const std::vector<std::string>& arguments) {
  return cli::ParseOptions(arguments, {}).Positional();
}

int LzhEncode(const std::vector<std::string>& given) {
  const std::vector<std::string> arguments = Positional(given);
  ExpectArguments(arguments, 2, "lzh-encode takes an input and an output file");
  const Bytes data = cli::ReadWholeFile(cli::PathFromUtf8(arguments[0]));
  if (data.size() > std::numeric_limits<uint32_t>::max())
    throw cli::Failure(kExitFailure, arguments[0] + ": more than 4 GiB cannot be packed");
  // The same layout as a skin file: the size, then the stream.
  cli::WriteWholeFile(cli::PathFromUtf8(arguments[1]), skin::MakeSkinFile(data));
  return 0;
}

// A skin file's 4-byte size and its stream, decoded to exactly that size:
// a size over the limit or over what the stream can hold, a stream that
// ends early or decodes past the size, is damage.
Bytes DecodeSkinFile(const Bytes& file, const std::string& typed) {
  if (file.size() < 4) Damaged(typed + ": shorter than its 4-byte size");
  const uint32_t size = file[0] | file[1] << 8 | file[2] << 16 | static_cast<uint32_t>(file[3]) << 24;
  if (size > skin::kMaxSkinUnpackedSize)
    Damaged(typed + ": damaged: unpacked size " + std::to_string(size) + " is over the limit of " +
            std::to_string(skin::kMaxSkinUnpackedSize));
  try {
    return skin::LzhUnpackExact(std::span(file).subspan(4), size);
  } catch (const skin::ElzhException& e) {
    Damaged(typed + ": damaged: " + e.what());
  }
}

int LzhDecode(const std::vector<std::string>& given) {
  const std::vector<std::string> arguments = Positional(given);
  ExpectArguments(arguments, 2, "lzh-decode takes an input and an output file");
  const Bytes decoded = DecodeSkinFile(cli::ReadWholeFile(cli::PathFromUtf8(arguments[0])), arguments[0]);
  cli::WriteWholeFile(cli::PathFromUtf8(arguments[1]), decoded);
  return 0;
}

std::string LowerAscii(std::string s) { return skin::FoldSkinName(s); }

bool IsSkinPart(const fs::directory_entry& entry) {
  if (!entry.is_regular_file()) return false;
  const std::string extension = LowerAscii(cli::PathToUtf8(entry.path().extension()));
  return extension == ".ini" || extension == ".bmp";
}

// What a form stores for a skin: the file's length as 32 bits, then the file.
Bytes FormValue(const Bytes& skinFile) {
  Bytes value(4 + skinFile.size());
  for (int i = 0; i < 4; ++i) value[i] = static_cast<uint8_t>(skinFile.size() >> (8 * i));
  std::copy(skinFile.begin(), skinFile.end(), value.begin() + 4);
  return value;
}

int Pack(const std::vector<std::string>& given) {
  static constexpr cli::OptionKind kOptions[] = {{"--form-value", true}};
  const cli::ParsedOptions options = cli::ParseOptions(given, kOptions);
  const std::vector<std::string>& arguments = options.Positional();
  const std::string formValue = options.Value("--form-value");
  ExpectArguments(arguments, 2, "pack takes a folder and a skin file");
  const fs::path folder = cli::PathFromUtf8(arguments[0]);
  std::error_code error;
  std::vector<std::string> names;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (IsSkinPart(*it)) names.push_back(cli::PathToUtf8(it->path().filename()));
  if (error) throw cli::Failure(kExitFailure, "cannot list " + arguments[0] + ": " + error.message());
  std::sort(names.begin(), names.end());
  std::vector<skin::TSkinArchiveEntry> entries;
  for (const std::string& name : names) entries.emplace_back(name, cli::ReadWholeFile(folder / cli::PathFromUtf8(name)));
  try {
    const Bytes file = skin::MakeSkinFile(skin::PackSkinArchive(entries));
    cli::WriteWholeFile(cli::PathFromUtf8(arguments[1]), file);
    if (!formValue.empty()) cli::WriteWholeFile(cli::PathFromUtf8(formValue), FormValue(file));
  } catch (const skin::ESkinArchiveError& e) {
    throw cli::Failure(kExitFailure, arguments[0] + ": " + e.what());
  }
  return 0;
}

// An entry name becomes a file name in the target folder and nothing else.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string::npos &&
         std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

int Unpack(const std::vector<std::string>& given) {
  const std::vector<std::string> arguments = Positional(given);
  ExpectArguments(arguments, 2, "unpack takes a skin file and a folder");
  const std::string& typed = arguments[0];
  const Bytes file = cli::ReadWholeFile(cli::PathFromUtf8(typed));
  // Everything is checked before the first file is written: a damaged
  // skin leaves nothing behind that looks like its pictures.
  DecodeSkinFile(file, typed);
  rt::TMemoryStream stream(file);
  skin::TSkinReader reader;
  if (!reader.Open(stream)) Damaged(typed + ": not a skin file: " + reader.FailureReason());
  uint64_t total = 0;
  for (const uint32_t size : reader.Sizes()) total += size;
  if (total != reader.ContentSize())
    Damaged(typed + ": damaged: its entries declare " + std::to_string(total) + " bytes, it holds " +
            std::to_string(reader.ContentSize()));
  for (const std::string& name : reader.Names())
    if (!IsPlainFileName(name)) Damaged(typed + ": damaged: an entry name is no plain file name: \"" + name + "\"");

  const fs::path folder = cli::PathFromUtf8(arguments[1]);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) throw cli::Failure(kExitFailure, "cannot create " + arguments[1] + ": " + error.message());
  int status = 0;
  std::set<std::string> written;
  rt::TMemoryStream entry;
  for (const std::string& name : reader.Names()) {
    // Lookups only ever see the first of equal names.
    if (!written.insert(name).second) {
      cli::WriteErr("skintool: warning: skipped a second entry named " + name + "\n");
      status = kExitFailure;
      continue;
    }
    reader.ExtractEntry(name, entry);
    cli::WriteWholeFile(folder / cli::PathFromUtf8(name), entry.Bytes());
  }
  return status;
}

int Dump(const std::vector<std::string>& given) {
  static constexpr cli::OptionKind kOptions[] = {{"--arrow-width", true}, {"--time", false}};
  const cli::ParsedOptions parsed = cli::ParseOptions(given, kOptions);
  const std::vector<std::string>& arguments = parsed.Positional();
  TDumpOptions options;
  const std::string width = parsed.Value("--arrow-width");
  if (!width.empty()) {
    char* end = nullptr;
    const long value = std::strtol(width.c_str(), &end, 10);
    if (*end || value < 1 || value > 1000) throw UsageError("--arrow-width takes a number of pixels");
    options.scrollArrowWidth = static_cast<int>(value);
  }
  options.timing = parsed.Has("--time");
  ExpectArguments(arguments, 1, "dump takes a skin file");
  return DumpSkin(arguments[0].c_str(), options);
}

constexpr cli::Command kCommands[] = {
    {"lzh-encode", "IN OUT", "pack IN into OUT: its size as 4 bytes, then the LZHUF stream", &LzhEncode},
    {"lzh-decode", "IN OUT",
     "unpack a size and an LZHUF stream from IN into OUT; the stream must decode to exactly that size",
     &LzhDecode},
    {"pack", "DIR OUT [--form-value FILE]",
     "pack the .ini and .bmp files of DIR, sorted by name, into the skin file OUT (and FILE: the value a "
     "form stores for it)",
     &Pack},
    {"unpack", "SKINFILE DIR",
     "check SKINFILE whole, then write every entry under its lower-case name in DIR",
     &Unpack},
    {"dump", "SKINFILE [--arrow-width N] [--time]",
     "load SKINFILE as the installer does and show what it defines (combo boxes composed for a scroll-bar "
     "arrow N pixels wide; --time: when the skin was built)",
     &Dump},
};

constexpr char kNotes[] =
    "--opt VALUE and --opt=VALUE are the same; \"--\" ends the options.\n"
    "A skin file is its unpacked size (4 bytes, little-endian), then an LZHUF stream of the skin archive.\n"
    "exit status:\n"
    "  0  done\n"
    "  1  a file cannot be read or written; unpack skipped a second entry of the same name\n"
    "  2  the input is no skin file or a damaged one (nothing is written)\n"
    "  50 disk full\n"
    "  64 usage\n";

}  // namespace

const cli::Tool& Tool() {
  // dump is offered only where it runs.
  static const std::vector<cli::Command> commands = [] {
    std::vector<cli::Command> list;
    for (const cli::Command& command : kCommands)
      if (kDumpAvailable || std::string_view(command.name) != "dump") list.push_back(command);
    return list;
  }();
  static const cli::Tool tool{"skintool", QUIMORA_FILE_VERSION, commands, kNotes};
  return tool;
}

}  // namespace skintool
