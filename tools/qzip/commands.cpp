#include "tools/qzip/commands.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <string>

#include "runtime/exceptions.h"
#include "runtime/streams.h"
#include "runtime/strings.h"
#include "tools/cli/console.h"
#include "zip/dir_manager.h"
#include "zip/extraction.h"
#include "zip/file_layer.h"
#include "zip/selection.h"
#include "zip/zip_archiver.h"
#include "zip/zip_exception.h"

namespace qzip {

namespace {

// Opens the archive read-only, the way the installer opens its own payload.
// Any failure to open, from the engine or the file layer, is an open error.
// An archive without a usable directory is read from the local headers
// that remain, which may be fewer than it had: that is said.
void OpenReadOnly(zip::TZipArchiver& archiver, const std::string& path) {
  archiver.SetFileName(rt::Utf8ToWide(path));
  try {
    archiver.OpenArchive(zip::TZipBaseArchiver::kOpenReadOnly);
  } catch (const zip::EZipException&) {
    throw;
  } catch (const rt::Exception& e) {
    throw ArchiveOpenError(e.what());
  }
  if (archiver.DirManager()->Rebuilt())
    cli::WriteErr("qzip: warning: " + path +
                  ": no usable central directory; entries rebuilt from the local headers, some may be missing\n");
}

uint32_t ParseAttributes(const std::string& text) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0' || value > 0xFFFFFFFFul)
    throw UsageError("attribute set must be a number such as 0x28BF");
  return static_cast<uint32_t>(value);
}

// Appends a number in decimal, or in hexadecimal padded to width digits.
void Append(std::string& out, uint64_t value, unsigned base = 10, size_t width = 0) {
  char digits[24];
  char* p = digits + sizeof digits;
  do {
    *--p = "0123456789abcdef"[value % base];
    value /= base;
  } while (value);
  const size_t n = static_cast<size_t>(digits + sizeof digits - p);
  if (n < width) out.append(width - n, '0');
  out.append(p, n);
}

void AppendField(std::string& out, uint64_t value, unsigned base = 10, size_t width = 0) {
  Append(out, value, base, width);
  out += '\t';
}

int List(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) throw UsageError("list takes one archive");
  zip::TZipArchiver archiver;
  OpenReadOnly(archiver, arguments[0]);
  const zip::TZipDirManager& manager = *archiver.DirManager();
  const zip::TZipDirArray& items = manager.Items();
  std::string out;
  out.reserve(static_cast<size_t>(items.Count()) * 80);
  for (int i = 0; i < items.Count(); ++i) {
    const zip::TDirItem& item = items.Item(i);
    AppendField(out, static_cast<uint64_t>(i));
    AppendField(out, item.CompressionMethod);
    AppendField(out, item.TrueCompressedSize());
    AppendField(out, item.TrueUncompressedSize());
    AppendField(out, item.Crc32, 16, 8);
    AppendField(out, item.ExternalAttributes, 16, 8);
    AppendField(out, item.TrueLocalHeaderOffset());
    rt::AppendUtf8(out, item.Name);
    out += '\n';
  }
  out += "entries=" + std::to_string(items.Count()) + " stub=" +
         std::to_string(manager.StubSize()) + " centraldir=" +
         std::to_string(manager.CentralDirOffset()) + " zip64=" + (manager.IsZip64() ? "1" : "0") +
         " rebuilt=" + (manager.Rebuilt() ? "1" : "0") + "\n";
  cli::WriteOut(out);
  return 0;
}

int Find(const std::vector<std::string>& arguments) {
  if (arguments.size() < 2 || arguments.size() > 3)
    throw UsageError("find takes an archive, a mask and an optional attribute set");
  const uint32_t attributes = arguments.size() == 3 ? ParseAttributes(arguments[2]) : 0x28BF;
  zip::TZipArchiver archiver;
  OpenReadOnly(archiver, arguments[0]);
  zip::TZipArchiveItem item;
  std::string out;
  for (bool found = archiver.FindFirst(rt::Utf8ToWide(arguments[1]), item, attributes, u"");
       found; found = archiver.FindNext(item))
    out += std::to_string(item.Handle.ItemNo) + "\t" +
           rt::WideToUtf8(archiver.DirManager()->Items().Item(item.Handle.ItemNo).Name) + "\n";
  cli::WriteOut(out);
  return 0;
}

// Takes everything written to it and keeps nothing: what "test" decodes
// into.
class DiscardStream : public rt::TStream {
 public:
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void*, int64_t count) override {
    if (count <= 0) return 0;
    position_ += count;
    size_ = std::max(size_, position_);
    return count;
  }
  int64_t Seek(int64_t offset, rt::SeekOrigin origin) override {
    const int64_t base = origin == rt::SeekOrigin::soBeginning ? 0
                         : origin == rt::SeekOrigin::soCurrent ? position_
                                                               : size_;
    position_ = std::max<int64_t>(base + offset, 0);
    return position_;
  }
  void SetSize(int64_t size) override { size_ = std::max<int64_t>(size, 0); }

 private:
  int64_t position_ = 0;
  int64_t size_ = 0;
};

// Names and the engine's messages carry "\" between folders; they are
// shown as the system spells paths, like the destination the user typed.
std::string Shown(const zip::WideString& text) { return rt::WideToUtf8(zip::FsDisplayName(text)); }

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
    throw DestinationError("cannot create directory \"" + typed +
                           "\": " + rt::WideToUtf8(zip::FsSysErrorMessage(zip::FsLastError())));
}

// The options before the positional arguments; what is left is returned.
struct ExtractOptions {
  zip::TZipOverwriteMode overwrite = zip::omAlways;
  bool abortOnError = false;
  bool hasPassword = false;
  std::string password;
};

std::vector<std::string> ParseOptions(const std::vector<std::string>& arguments,
                                      ExtractOptions& options, bool extracting) {
  static const std::pair<const char*, zip::TZipOverwriteMode> kModes[] = {
      {"always", zip::omAlways}, {"never", zip::omNever},  {"prompt", zip::omPrompt},
      {"newer", zip::omIfNewer}, {"older", zip::omIfOlder},
  };
  std::vector<std::string> rest;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (a == "--password" && hasValue) {
      options.hasPassword = true;
      options.password = arguments[++i];
    } else if (extracting && a == "--overwrite" && hasValue) {
      const std::string& mode = arguments[++i];
      const auto found = std::find_if(std::begin(kModes), std::end(kModes),
                                      [&](const auto& m) { return mode == m.first; });
      if (found == std::end(kModes))
        throw UsageError("--overwrite takes always, never, prompt, newer or older");
      options.overwrite = found->second;
    } else if (extracting && a == "--abort-on-error") {
      options.abortOnError = true;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      throw UsageError("unknown option '" + a + "'");
    } else {
      rest.push_back(a);
    }
  }
  return rest;
}

// A console cannot be asked for a password: the one given on the command
// line is the only one tried, and an entry it does not open is skipped.
void RefusePasswordRequests(zip::TZipArchiver& archiver, int& skipped) {
  archiver.OnPassword = [&skipped](rt::TObject*, const zip::WideString& name, rt::AnsiString&,
                                   bool& skipFile) {
    cli::WriteOut(Shown(name) + ": skipped: the password is missing or wrong\n");
    ++skipped;
    skipFile = true;
  };
}

int Test(const std::vector<std::string>& arguments) {
  ExtractOptions options;
  const std::vector<std::string> rest = ParseOptions(arguments, options, false);
  if (rest.size() != 1) throw UsageError("test takes one archive");
  zip::TZipArchiver archiver;
  if (options.hasPassword) archiver.SetPassword(options.password);
  int failed = 0;
  RefusePasswordRequests(archiver, failed);
  OpenReadOnly(archiver, rest[0]);
  zip::TZipDirArray& items = archiver.DirManager()->Items();
  for (int i = 0; i < items.Count(); ++i) {
    if (zip::IsFolderEntry(items.Item(i))) continue;
    items.ItemPtr(i).PendingOperation = zip::poTest;
    const std::string name = rt::WideToUtf8(items.Item(i).Name);
    DiscardStream nothing;
    try {
      archiver.DecodeEntry(i, nothing);
      continue;
    } catch (const std::exception& e) {
      // rt::Exception's what() is its message as UTF-8.
      cli::WriteOut(name + ": " + e.what() + "\n");
    }
    ++failed;
  }
  return failed == 0 ? 0 : 1;
}

// The destination as typed, so that the engine's messages name it the
// same way; only a final "/" becomes the "\" that the engine would
// otherwise add after it.
zip::WideString BaseDirOf(const std::string& typed) {
  zip::WideString folder = rt::Utf8ToWide(typed);
  if (!folder.empty() && folder.back() == u'/') folder.back() = u'\\';
  return folder;
}

int Extract(const std::vector<std::string>& arguments) {
  ExtractOptions options;
  const std::vector<std::string> rest = ParseOptions(arguments, options, true);
  if (rest.size() < 2 || rest.size() > 4 || rest[1].empty())
    throw UsageError("extract takes an archive, a folder, an optional mask and attribute set");
  const std::string mask = rest.size() >= 3 ? rest[2] : "*.*";
  const uint32_t attributes = rest.size() == 4 ? ParseAttributes(rest[3]) : 0x28BF;
  zip::TZipArchiver archiver;
  archiver.Options().SetOverwriteMode(options.overwrite);
  if (options.hasPassword) archiver.SetPassword(options.password);
  int skipped = 0;
  RefusePasswordRequests(archiver, skipped);
  archiver.OnProcessFileFailure = [&](rt::TObject*, const zip::WideString& name,
                                      zip::TZipProcessOperation, int32_t, int32_t,
                                      const zip::WideString& message, zip::TZipAction& action) {
    cli::WriteOut(Shown(name) + ": " + Shown(message) + "\n");
    action = options.abortOnError ? zip::fxaAbort : zip::fxaIgnore;
  };
  OpenReadOnly(archiver, rest[0]);
  CreateDestination(rest[1]);
  archiver.SetBaseDir(BaseDirOf(rest[1]));
  archiver.ExtractMatching(rt::Utf8ToWide(mask), attributes, u"");
  const bool all = archiver.ProcessedCount() == archiver.SelectedCount() && skipped == 0;
  return all ? 0 : 1;
}

int Version(const std::vector<std::string>& arguments) {
  if (!arguments.empty()) throw UsageError("version takes no arguments");
  const zip::TZipArchiver archiver;
  cli::WriteOut(rt::WideToUtf8(archiver.CurrentVersion()) + "\n");
  return 0;
}

constexpr cli::Command kCommands[] = {
    {"version", "", "print the archive engine's version", &Version},
    {"list", "ARCHIVE", "list the entries of the directory", &List},
    {"find", "ARCHIVE MASK [ATTR]", "list the entries a mask and attribute set select", &Find},
    {"test", "[--password PW] ARCHIVE", "decode every file entry and check it", &Test},
    {"extract",
     "[--overwrite always|never|prompt|newer|older] [--abort-on-error] [--password PW] "
     "ARCHIVE DIR [MASK [ATTR]]",
     "write the selected entries under DIR", &Extract},
};

}  // namespace

std::span<const cli::Command> Commands() { return kCommands; }

}  // namespace qzip
