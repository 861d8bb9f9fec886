#include "tools/qzip/commands.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "runtime/exceptions.h"
#include "runtime/strings.h"
#include "tools/qzip/console.h"
#include "zip/dir_manager.h"
#include "zip/selection.h"
#include "zip/zip_archiver.h"
#include "zip/zip_exception.h"

namespace qzip {

namespace {

// Opens the archive read-only, the way the installer opens its own payload.
// Any failure to open, from the engine or the file layer, is an open error.
void OpenReadOnly(zip::TZipArchiver& archiver, const std::string& path) {
  archiver.SetFileName(rt::Utf8ToWide(path));
  try {
    archiver.OpenArchive(zip::TZipBaseArchiver::kOpenReadOnly);
  } catch (const zip::EZipException&) {
    throw;
  } catch (const rt::Exception& e) {
    throw ArchiveOpenError(e.what());
  }
}

uint32_t ParseAttributes(const std::string& text) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0' || value > 0xFFFFFFFFul)
    throw UsageError("attribute set must be a number such as 0x28BF");
  return static_cast<uint32_t>(value);
}

std::string Printf(const char* format, auto... values) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, format, values...);
  return buffer;
}

int List(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) throw UsageError("list takes one archive");
  zip::TZipArchiver archiver;
  OpenReadOnly(archiver, arguments[0]);
  const zip::TZipDirManager& manager = *archiver.DirManager();
  const zip::TZipDirArray& items = manager.Items();
  std::string out;
  for (int i = 0; i < items.Count(); ++i) {
    const zip::TDirItem& item = items.Item(i);
    out += Printf("%d\t%u\t%" PRIu64 "\t%" PRIu64 "\t%08x\t%08x\t%" PRIu64 "\t", i,
                  unsigned{item.CompressionMethod}, item.TrueCompressedSize(),
                  item.TrueUncompressedSize(), unsigned{item.Crc32},
                  unsigned{item.ExternalAttributes}, item.TrueLocalHeaderOffset());
    out += rt::WideToUtf8(item.Name);
    out += '\n';
  }
  out += Printf("entries=%d stub=%" PRId64 " centraldir=%" PRId64 " zip64=%d rebuilt=%d\n",
                items.Count(), manager.StubSize(), manager.CentralDirOffset(),
                manager.IsZip64() ? 1 : 0, manager.Rebuilt() ? 1 : 0);
  WriteOut(out);
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
    out += Printf("%d\t", item.Handle.ItemNo) +
           rt::WideToUtf8(archiver.DirManager()->Items().Item(item.Handle.ItemNo).Name) + "\n";
  WriteOut(out);
  return 0;
}

int Version(const std::vector<std::string>& arguments) {
  if (!arguments.empty()) throw UsageError("version takes no arguments");
  const zip::TZipArchiver archiver;
  WriteOut(rt::WideToUtf8(archiver.CurrentVersion()) + "\n");
  return 0;
}

constexpr Command kCommands[] = {
    {"version", "", "print the archive engine's version", &Version},
    {"list", "ARCHIVE", "list the entries of the directory", &List},
    {"find", "ARCHIVE MASK [ATTR]", "list the entries a mask and attribute set select", &Find},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

}  // namespace qzip
