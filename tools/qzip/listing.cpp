#include "tools/qzip/listing.h"

#include <cstdio>

#include "runtime/strings.h"
#include "zip/archive_records.h"
#include "tools/qzip/entry_report.h"

namespace qzip {

namespace {

std::string Format(const char* format, auto... values) {
  char text[160];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

// The DOS date and time fields as "2024-03-01 13:45".
std::string DateTime(const zip::TDirItem& item) {
  return Format("%04u-%02u-%02u %02u:%02u", 1980u + (item.LastModDate >> 9), (item.LastModDate >> 5) & 15u,
                item.LastModDate & 31u, item.LastModTime >> 11, (item.LastModTime >> 5) & 63u);
}

std::string Encryption(const zip::TDirItem& item) {
  if (item.CompressionMethod == 99) return "AES";
  return (item.Flags & zip::kFlagEncrypted) ? "ZC" : "-";
}

// Space saved, as a percentage of the original size: negative when the
// entry grew.
std::string Ratio(uint64_t compressed, uint64_t size) {
  if (size == 0) return "  0%";
  const double saved = 100.0 * (1.0 - static_cast<double>(compressed) / static_cast<double>(size));
  return Format("%3.0f%%", saved);
}

std::string Name(const zip::TDirItem& item) { return Printable(rt::WideToUtf8(item.Name)); }

std::string Count(int n) { return std::to_string(n) + (n == 1 ? " file" : " files"); }

std::string Short(const zip::TZipDirArray& items, const std::string& archive) {
  std::string out = "Archive:  " + Printable(archive) + "\n";
  out += "  Length      Date    Time    Name\n---------  ---------- -----   ----\n";
  uint64_t total = 0;
  for (int i = 0; i < items.Count(); ++i) {
    const zip::TDirItem& item = items.Item(i);
    total += item.TrueUncompressedSize();
    out += Format("%9llu  ", static_cast<unsigned long long>(item.TrueUncompressedSize())) + DateTime(item) +
           "   " + Name(item) + "\n";
  }
  out += "---------                     -------\n";
  out += Format("%9llu                     ", static_cast<unsigned long long>(total)) + Count(items.Count()) + "\n";
  return out;
}

std::string Long(const zip::TZipDirArray& items, const std::string& archive) {
  std::string out = "Archive:  " + Printable(archive) + "\n";
  out += " Length   Method    Size  Cmpr    Date    Time   CRC-32   Enc  Name\n"
         "--------  ------  ------- ---- ---------- ----- --------  ---  ----\n";
  uint64_t total = 0, packed = 0;
  for (int i = 0; i < items.Count(); ++i) {
    const zip::TDirItem& item = items.Item(i);
    total += item.TrueUncompressedSize();
    packed += item.TrueCompressedSize();
    out += Format("%8llu  %-6s %8llu %s ", static_cast<unsigned long long>(item.TrueUncompressedSize()),
                  MethodName(item.CompressionMethod).c_str(),
                  static_cast<unsigned long long>(item.TrueCompressedSize()),
                  Ratio(item.TrueCompressedSize(), item.TrueUncompressedSize()).c_str()) +
           DateTime(item) + Format(" %08x  %-3s  ", item.Crc32, Encryption(item).c_str()) + Name(item) + "\n";
  }
  out += "--------          -------  ---                            -------\n";
  out += Format("%8llu         %8llu %s                            ", static_cast<unsigned long long>(total),
                static_cast<unsigned long long>(packed), Ratio(packed, total).c_str()) +
         Count(items.Count()) + "\n";
  return out;
}

std::string Raw(const zip::TZipDirManager& manager) {
  const zip::TZipDirArray& items = manager.Items();
  std::string out;
  for (int i = 0; i < items.Count(); ++i) {
    const zip::TDirItem& item = items.Item(i);
    out += Format("%d\t%u\t%llu\t%llu\t%08x\t%08x\t%llu\t", i, item.CompressionMethod,
                  static_cast<unsigned long long>(item.TrueCompressedSize()),
                  static_cast<unsigned long long>(item.TrueUncompressedSize()), item.Crc32,
                  item.ExternalAttributes, static_cast<unsigned long long>(item.TrueLocalHeaderOffset())) +
           Name(item) + "\n";
  }
  out += "entries=" + std::to_string(items.Count()) + " stub=" + std::to_string(manager.StubSize()) +
         " centraldir=" + std::to_string(manager.CentralDirOffset()) + " zip64=" + (manager.IsZip64() ? "1" : "0") +
         " rebuilt=" + (manager.Rebuilt() ? "1" : "0") + "\n";
  return out;
}

}  // namespace

std::string Listing(const zip::TZipDirManager& manager, const std::string& archive, ListForm form) {
  switch (form) {
    case ListForm::kShort: return Short(manager.Items(), archive);
    case ListForm::kLong: return Long(manager.Items(), archive);
    case ListForm::kRaw: return Raw(manager);
    case ListForm::kNames: break;
  }
  std::string out;
  for (int i = 0; i < manager.Items().Count(); ++i) out += Name(manager.Items().Item(i)) + "\n";
  return out;
}

}  // namespace qzip
