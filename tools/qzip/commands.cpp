#include "tools/qzip/commands.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>

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
    out += std::to_string(item.Handle.ItemNo) + "\t" +
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
