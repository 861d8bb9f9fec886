#include "tools/qzip/commands.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <utility>

#include "installer/product_version.h"
#include "runtime/exceptions.h"
#include "runtime/strings.h"
#include "tools/cli/console.h"
#include "tools/cli/options.h"
#include "tools/qzip/archive_open.h"
#include "tools/qzip/entry_check.h"
#include "tools/qzip/entry_report.h"
#include "tools/qzip/exit_codes.h"
#include "tools/qzip/listing.h"
#include "tools/qzip/overwrite_prompt.h"
#include "zip/dir_manager.h"
#include "zip/entry_names.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"
#include "zip/selection.h"
#include "zip/zip_archiver.h"
#include "zip/zip_exception.h"

namespace qzip {

namespace {

using cli::UsageError;


// The engine holds a mask of up to kMaxFileMask characters.
const std::string& CheckedMask(const std::string& mask) {
  if (rt::Utf8ToWide(mask).size() > static_cast<size_t>(zip::kMaxFileMask))
    throw UsageError("a mask is at most " + std::to_string(zip::kMaxFileMask) + " characters");
  return mask;
}

uint32_t ParseAttributes(const std::string& text) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0' || value > 0xFFFFFFFFul)
    throw UsageError("attribute set must be a number such as 0x28BF");
  return static_cast<uint32_t>(value);
}

// A name from the archive or the engine as this system spells paths, with
// its control characters escaped.
std::string Shown(const zip::WideString& text) { return Printable(cli::NativeSeparators(rt::WideToUtf8(text))); }

// Where an entry lands, named from the destination as it was typed.
std::string Destination(const std::string& typed, const zip::WideString& entry) {
  std::string shown = typed;
  if (!shown.empty() && shown.back() != '/' && shown.back() != '\\') shown += '/';
  return Printable(cli::NativeSeparators(shown + rt::WideToUtf8(entry)));
}

// The destination and its missing parents are made first, as `unzip -d`
// does: the engine makes only the folders of the entries, inside it. The
// folder is made through its absolute form, where every parent of a
// relative name can be found.
void CreateDestination(const std::string& typed) {
  bool made = false;
  try {
    made = zip::FsForceDirectories(zip::FsFullPath(rt::Utf8ToWide(typed)));
  } catch (const rt::Exception&) {
  }
  if (!made)
    throw cli::Failure(kExitWarning, "cannot create directory " + typed + ": " +
                                         rt::WideToUtf8(zip::FsSysErrorMessage(zip::FsLastError())));
}

// The destination as typed; only a final "/" becomes the "\" that the
// engine would otherwise add after it.
zip::WideString BaseDirOf(const std::string& typed) {
  zip::WideString folder = rt::Utf8ToWide(typed);
  if (!folder.empty() && folder.back() == u'/') folder.back() = u'\\';
  return folder;
}

// The entry the engine works on: the next selected one of that name. The
// engine goes through the selection in directory order.
class CurrentEntry {
 public:
  explicit CurrentEntry(const zip::TZipDirArray& items) : items_(items) {}
  void Advance(const zip::WideString& engineName) {
    for (int i = index_ + 1; i < items_.Count(); ++i)
      if (items_.Item(i).Selected && zip::WithBackslashes(items_.Item(i).Name) == engineName) {
        index_ = i;
        return;
      }
  }
  int Index() const { return index_; }
  const zip::TDirItem& Item() const { return items_.Item(index_); }

 private:
  const zip::TZipDirArray& items_;
  int index_ = -1;
};

constexpr cli::OptionKind kPasswordOption[] = {{"--password", true}, {"--recover", false}};

int List(const std::vector<std::string>& arguments) {
  static constexpr cli::OptionKind kOptions[] = {
      {"-1", false}, {"-v", false}, {"--raw", false}, {"--recover", false}};
  const cli::ParsedOptions options = cli::ParseOptions(arguments, kOptions);
  if (options.Positional().size() != 1) throw UsageError("list takes one archive");
  const std::string& archive = options.Positional()[0];
  zip::TZipArchiver archiver;
  const bool rebuilt = OpenArchive(archiver, archive, options.Has("--recover"));
  const ListForm form = options.Has("--raw") ? ListForm::kRaw
                        : options.Has("-1")  ? ListForm::kNames
                        : options.Has("-v")  ? ListForm::kLong
                                             : ListForm::kShort;
  cli::WriteOut(Listing(*archiver.DirManager(), archive, form));
  return rebuilt ? kExitWarning : kExitDone;
}

int Find(const std::vector<std::string>& arguments) {
  static constexpr cli::OptionKind kOptions[] = {{"--recover", false}};
  const cli::ParsedOptions options = cli::ParseOptions(arguments, kOptions);
  const auto& rest = options.Positional();
  if (rest.size() < 2 || rest.size() > 3) throw UsageError("find takes an archive, a mask and an optional attribute set");
  const uint32_t attributes = rest.size() == 3 ? ParseAttributes(rest[2]) : zip::kEverySearchAttr;
  zip::TZipArchiver archiver;
  const bool rebuilt = OpenArchive(archiver, rest[0], options.Has("--recover"));
  zip::TZipArchiveItem item;
  std::string out;
  int found = 0;
  for (bool more = archiver.FindFirst(rt::Utf8ToWide(CheckedMask(rest[1])), item, attributes, u""); more;
       more = archiver.FindNext(item), ++found)
    out += std::to_string(item.Handle.ItemNo) + "\t" +
           Printable(rt::WideToUtf8(archiver.DirManager()->Items().Item(item.Handle.ItemNo).Name)) + "\n";
  cli::WriteOut(out);
  if (found == 0) throw cli::Failure(kExitNothingMatched, "nothing matched " + Printable(rest[1]) + " in " + rest[0]);
  return rebuilt ? kExitWarning : kExitDone;
}

int Test(const std::vector<std::string>& arguments) {
  const cli::ParsedOptions options = cli::ParseOptions(arguments, kPasswordOption);
  if (options.Positional().size() != 1) throw UsageError("test takes one archive");
  const std::string& archive = options.Positional()[0];
  zip::TZipArchiver archiver;
  if (options.Has("--password")) archiver.SetPassword(options.Value("--password"));
  int status = OpenArchive(archiver, archive, options.Has("--recover")) ? kExitWarning : kExitDone;
  // A console cannot be asked for a password: the one given on the
  // command line is the only one tried, and an entry it does not open is
  // skipped.
  bool passwordRefused = false;
  archiver.OnPassword = [&](rt::TObject*, const zip::WideString&, rt::AnsiString&, bool& skipFile) {
    passwordRefused = true;
    skipFile = true;
  };
  zip::TZipDirArray& items = archiver.DirManager()->Items();
  int failed = 0, tested = 0;
  for (int i = 0; i < items.Count(); ++i) {
    if (zip::IsFolderEntry(items.Item(i))) continue;
    ++tested;
    items.ItemPtr(i).PendingOperation = zip::poTest;
    passwordRefused = false;
    std::optional<EntryProblem> problem = CheckEntry(archiver, i);
    if (passwordRefused) problem = EntryProblem{kExitPassword, "skipped: password missing or wrong"};
    if (problem) {
      ++failed;
      cli::WriteErr("qzip: " + Shown(items.Item(i).Name) + ": " + problem->reason + "\n");
      status = Graver(status, problem->status);
    } else {
      cli::WriteOut("    testing: " + Shown(items.Item(i).Name) + "   OK\n");
    }
  }
  if (failed == 0)
    cli::WriteOut("No errors detected in " + Printable(archive) + " (" + std::to_string(tested) + " files).\n");
  else
    cli::WriteErr("qzip: " + std::to_string(failed) + " of " + std::to_string(tested) + " files failed in " +
                  archive + "\n");
  return status;
}

// Counts the entries a mask and attribute set select, without selecting.
int CountMatching(zip::TZipArchiver& archiver, const std::string& mask, uint32_t attributes) {
  zip::TZipArchiveItem item;
  int n = 0;
  for (bool more = archiver.FindFirst(rt::Utf8ToWide(mask), item, attributes, u""); more; more = archiver.FindNext(item))
    ++n;
  return n;
}

zip::TZipOverwriteMode OverwriteMode(const std::string& name) {
  static const std::pair<const char*, zip::TZipOverwriteMode> kModes[] = {
      {"always", zip::omAlways}, {"never", zip::omNever},   {"prompt", zip::omPrompt},
      {"newer", zip::omIfNewer}, {"older", zip::omIfOlder},
  };
  for (const auto& [text, mode] : kModes)
    if (name == text) return mode;
  throw UsageError("--overwrite takes always, never, prompt, newer or older");
}

struct ExtractRun {
  std::string archive;
  std::string destination;
  std::string password;
  bool recover = false;
};

EntryProblem OverlapProblem() { return {kExitDamaged, "damaged entry: its data overlaps another entry's"}; }

// What went wrong with an entry the engine could not extract.
EntryProblem Diagnose(const ExtractRun& run, const zip::TZipArchiver& archiver, const zip::TDirItem& item,
                      int index, int32_t nativeError, const std::string& message, int systemError) {
  if (auto unsupported = UnsupportedEntry(item)) return *unsupported;
  if (archiver.RefusedForSharedData(index)) return OverlapProblem();
  if (nativeError == zip::neCannotCreateFile || nativeError == zip::neCannotCreateFolder) {
    if (zip::LeavesDestination(zip::WithBackslashes(item.Name)))
      return {kExitWarning, "refused: the name leads out of the destination"};
    if (cli::IsDiskFullError(systemError)) return {kExitDiskFull, "disk full"};
    std::string reason = "cannot create the file";
    if (nativeError == zip::neCannotCreateFolder) {
      const zip::WideString& name = item.Name;
      const size_t slash = name.find_last_of(u"/\\", zip::IsFolderEntry(item) ? name.size() - 2 : name.npos);
      reason = "cannot create folder " + Destination(run.destination, slash == name.npos ? name : name.substr(0, slash));
    }
    if (systemError != 0) reason += ": " + rt::WideToUtf8(zip::FsSysErrorMessage(systemError));
    return {kExitWarning, reason};
  }
  // The engine names no cause for bad data: the entry is decoded again,
  // alone, to tell a wrong CRC from a wrong size.
  try {
    zip::TZipArchiver again;
    again.SetPassword(run.password);
    again.SetFileName(rt::Utf8ToWide(run.archive));
    again.OpenArchive(zip::TZipBaseArchiver::kOpenReadOnly);
    again.OnPassword = [](rt::TObject*, const zip::WideString&, rt::AnsiString&, bool& skip) { skip = true; };
    if (auto problem = CheckEntry(again, index)) return *problem;
    // Whole when read alone: the engine refused it for sharing its bytes
    // with an entry read before.
    return OverlapProblem();
  } catch (const std::exception&) {
  }
  return {kExitDamaged, "damaged entry: " + EngineText(message)};
}

int Extract(const std::vector<std::string>& arguments) {
  static constexpr cli::OptionKind kOptions[] = {
      {"--password", true}, {"--overwrite", true}, {"-o", false},       {"-n", false},
      {"--abort-on-error", false}, {"--recover", false},
  };
  const cli::ParsedOptions options = cli::ParseOptions(arguments, kOptions);
  const auto& rest = options.Positional();
  if (rest.size() < 2 || rest.size() > 4 || rest[1].empty())
    throw UsageError("extract takes an archive, a folder, an optional mask and attribute set");
  if (options.Has("-o") + options.Has("-n") + options.Has("--overwrite") > 1)
    throw UsageError("-o, -n and --overwrite exclude each other");
  ExtractRun run{rest[0], rest[1], options.Value("--password"), options.Has("--recover")};
  const std::string mask = rest.size() >= 3 ? CheckedMask(rest[2]) : "*.*";
  const uint32_t attributes = rest.size() == 4 ? ParseAttributes(rest[3]) : zip::kEverySearchAttr;
  const bool abortOnError = options.Has("--abort-on-error");

  zip::TZipArchiver archiver;
  if (options.Has("--password")) archiver.SetPassword(run.password);
  int status = OpenArchive(archiver, run.archive, run.recover) ? kExitWarning : kExitDone;
  if (CountMatching(archiver, mask, attributes) == 0) {
    if (rest.size() >= 3) throw cli::Failure(kExitNothingMatched, "nothing matched " + Printable(mask) + " in " + run.archive);
    cli::WriteErr("qzip: warning: " + run.archive + " has no entries\n");
    return kExitWarning;
  }

  if (options.Has("-o"))
    archiver.Options().SetOverwriteMode(zip::omAlways);
  else if (options.Has("-n"))
    archiver.Options().SetOverwriteMode(zip::omNever);
  else if (options.Has("--overwrite"))
    archiver.Options().SetOverwriteMode(OverwriteMode(options.Value("--overwrite")));
  else if (cli::InputIsTerminal())
    archiver.Options().SetOverwriteMode(zip::omPrompt);
  // Asked at a terminal, or with --overwrite prompt: the question reads
  // its answers from the standard input either way.
  if (archiver.Options().OverwriteMode() == zip::omPrompt)
    AskBeforeOverwriting(archiver, [](const zip::WideString& full) { return Shown(full); });

  CurrentEntry current(archiver.DirManager()->Items());
  archiver.OnConfirmProcessFile = [&](rt::TObject*, const zip::WideString& name, zip::TZipProcessOperation,
                                      bool& confirm) {
    current.Advance(name);
    confirm = true;
  };
  int passwordStatus = kExitDone;
  archiver.OnPassword = [&](rt::TObject*, const zip::WideString&, rt::AnsiString&, bool& skipFile) {
    cli::WriteErr("qzip: " + Destination(run.destination, current.Item().Name) +
                  ": skipped: password missing or wrong\n");
    passwordStatus = kExitPassword;
    skipFile = true;
  };
  // The engine asks this question for a write that fell short, whichever
  // thread wrote: the answer ends the run.
  bool diskFull = false;
  archiver.OnDiskFull = [&](rt::TObject*, int32_t, const zip::WideString&, bool& cancel) {
    diskFull = true;
    cancel = true;
  };
  archiver.OnProcessFileFailure = [&](rt::TObject*, const zip::WideString&, zip::TZipProcessOperation,
                                      int32_t nativeError, int32_t, const zip::WideString& message,
                                      zip::TZipAction& action) {
    const int systemError = zip::FsLastError();
    const EntryProblem problem =
        Diagnose(run, archiver, current.Item(), current.Index(), nativeError, rt::WideToUtf8(message), systemError);
    cli::WriteErr("qzip: " + Destination(run.destination, current.Item().Name) + ": " + problem.reason + "\n");
    status = Graver(status, problem.status);
    action = abortOnError || problem.status == kExitDiskFull ? zip::fxaAbort : zip::fxaIgnore;
  };

  CreateDestination(run.destination);
  archiver.SetBaseDir(BaseDirOf(run.destination));
  archiver.ExtractMatching(rt::Utf8ToWide(mask), attributes, u"");
  if (diskFull) throw cli::Failure(kExitDiskFull, "disk full writing " + Destination(run.destination, current.Item().Name));
  return Graver(status, passwordStatus);
}

int Version(const std::vector<std::string>& arguments) {
  if (!arguments.empty()) throw UsageError("version takes no arguments");
  const zip::TZipArchiver archiver;
  cli::WriteOut(rt::WideToUtf8(archiver.CurrentVersion()) + "\n");
  return 0;
}

constexpr cli::Command kCommands[] = {
    {"version", "", "print the archive engine's version", &Version},
    {"list", "[-1 | -v | --raw] [--recover] ARCHIVE",
     "list the entries: sizes, dates and names; -v adds method, compressed size, ratio, CRC and\n"
     "      encryption (- none, ZC traditional, AES); -1 names only; --raw the directory, tab-separated",
     &List},
    {"find", "[--recover] ARCHIVE MASK [ATTR]", "list the index and name of the entries MASK and ATTR select", &Find},
    {"test", "[--password PW] [--recover] ARCHIVE", "decode every file entry and check its size and CRC", &Test},
    {"extract",
     "[-o | -n | --overwrite MODE] [--abort-on-error] [--password PW] [--recover]\n"
     "          ARCHIVE DIR [MASK [ATTR]]",
     "write the selected entries under DIR, made with its parents when missing", &Extract},
};

constexpr char kNotes[] =
    "options:\n"
    "  --opt VALUE and --opt=VALUE are the same; \"--\" ends the options.\n"
    "  -o                 overwrite existing files without asking\n"
    "  -n                 never overwrite existing files\n"
    "  --overwrite MODE   always, never, prompt, newer (replace only an older file) or older\n"
    "                     Without these, extract asks before replacing a file when its input is a\n"
    "                     terminal ([y]es, [n]o, [A]ll, [N]one) and overwrites otherwise.\n"
    "  --password PW      the password of encrypted entries (traditional ZIP encryption)\n"
    "  --recover          read an archive whose central directory is missing or damaged by\n"
    "                     rebuilding its entries from the local headers (a warning, exit 1 at least)\n"
    "  --abort-on-error   stop at the first entry that fails\n"
    "MASK is matched against each stored name, folders included: * any characters, ? one character,\n"
    "  \"/\" and \"\\\" alike and ordinary; case is ignored; \"*.*\" and \"*\" match everything and a mask\n"
    "  ending in \".\" matches names without an extension. Default *.*.\n"
    "ATTR is the set of DOS attribute bits an entry may carry and still be selected; only the hidden\n"
    "  (0x02), system (0x04), volume label (0x08) and folder (0x10) bits can exclude. Default 0x28BF\n"
    "  (all); 0x28AF leaves folder entries out. Write it in decimal, 0x hexadecimal or 0 octal.\n"
    "exit status:\n"
    "  0  done               1  warnings; some entries skipped   2  damaged archive or entry\n"
    "  3  unsupported entry (method or encryption)               9  not a ZIP archive, or not found\n"
    "  11 nothing matched    50 disk full    64 usage    82 password missing or wrong\n"
    "  When entries fail in different ways, the status is the gravest: 50, 82, 3, 2, 1.\n";

const cli::Tool kTool{"qzip", QUIMORA_FILE_VERSION, kCommands, kNotes};

}  // namespace

const cli::Tool& Tool() { return kTool; }

}  // namespace qzip
