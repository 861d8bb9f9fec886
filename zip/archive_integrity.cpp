#include "zip/archive_integrity.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "zip/archive_format.h"
#include "zip/directory_reader.h"
#include "zip/file_layer.h"

namespace zip {

namespace {

// Where one entry's bytes lie: its local header, then its data.
struct TEntryBytes {
  uint64_t Header = 0;
  uint64_t CompressedSize = 0;
  bool DataDescriptor = false;
  uint64_t Index = 0;
};

// What the end records say about the directory.
struct TDirectoryFigures {
  uint64_t RecordsStart = 0;  // where the records after the directory begin
  uint64_t Count = 0;
  uint64_t CountOnDisk = 0;
  uint64_t Size = 0;
  uint64_t Offset = 0;
  uint32_t Disk = 0;
  uint32_t StartDisk = 0;
  uint32_t TotalDisks = 1;
};

bool ReadAt(rt::TStream& stream, uint64_t position, uint8_t* buffer, int64_t count) {
  stream.SetPosition(static_cast<int64_t>(position));
  return stream.Read(buffer, count) == count;
}

std::string Number(uint64_t value) { return std::to_string(value); }

class TIntegrityCheck {
 public:
  explicit TIntegrityCheck(rt::TStream& stream) : stream_(stream) {}

  TArchiveIntegrity Run() {
    if (const auto figures = ReadEndRecords(); figures && CheckDirectoryPlace(*figures) && ReadDirectory())
      CheckEntries();
    return result_;
  }

 private:
  bool Fail(TArchiveDefect defect, std::string detail) {
    result_.Defect = defect;
    result_.Detail = std::move(detail);
    return false;
  }

  std::optional<TDirectoryFigures> ReadEndRecords() {
    // A signed program that lost its signature, or part of it, has lost
    // bytes too.
    if (const auto table = CertificateTable(stream_); table && table->Offset + table->Size != stream_.Size()) {
      Fail(adCertificateCut, "the certificate table of " + Number(static_cast<uint64_t>(table->Size)) +
                                 " bytes at " + Number(static_cast<uint64_t>(table->Offset)) + " does not end the file");
      return std::nullopt;
    }
    const auto found = FindEndRecord(stream_);
    if (!found) {
      Fail(adNoEndRecord, "no end of central directory record ends the file");
      return std::nullopt;
    }
    const TEndRecord& end = found->Record;
    TDirectoryFigures figures{static_cast<uint64_t>(found->Position), end.TotalEntries, end.EntriesOnDisk,
                              end.DirectorySize, end.DirectoryOffset, end.DiskNumber, end.StartDisk};
    uint8_t raw[TZip64EndRecord::kSize];
    const uint64_t p = figures.RecordsStart;
    if (p < TZip64Locator::kSize || !ReadAt(stream_, p - TZip64Locator::kSize, raw, TZip64Locator::kSize))
      return figures;
    const TZip64Locator locator = TZip64Locator::Read(std::span(raw).first<TZip64Locator::kSize>());
    if (locator.Signature != TZip64Locator::kSignature) return figures;
    // Every writer puts the Zip64 record, without extensible data, right
    // before its locator.
    const uint64_t at = p - TZip64Locator::kSize - TZip64EndRecord::kSize;
    if (p >= TZip64Locator::kSize + TZip64EndRecord::kSize && ReadAt(stream_, at, raw, TZip64EndRecord::kSize)) {
      const TZip64EndRecord record = TZip64EndRecord::Read(raw);
      if (record.Signature == TZip64EndRecord::kSignature && record.RecordSize == TZip64EndRecord::kSize - 12) {
        return TDirectoryFigures{at,         record.TotalEntries, record.EntriesOnDisk, record.DirectorySize,
                                 record.DirectoryOffset, record.DiskNumber, record.StartDisk, locator.TotalDisks};
      }
    }
    // Without a record, an end record that holds every value itself was
    // only preceded by bytes that look like a locator.
    if (NeedsZip64(end)) {
      Fail(adZip64RecordMissing, "a Zip64 locator at " + Number(p - TZip64Locator::kSize) + " has no Zip64 record");
      return std::nullopt;
    }
    return figures;
  }

  bool CheckDirectoryPlace(const TDirectoryFigures& figures) {
    if (figures.Disk != 0 || figures.StartDisk != 0 || figures.TotalDisks != 1)
      return Fail(adMultiVolume, "the archive is disk " + Number(figures.Disk) + " of a multi-volume set");
    if (figures.CountOnDisk != figures.Count)
      return Fail(adCountMismatch, Number(figures.Count) + " entries in all but " + Number(figures.CountOnDisk) +
                                       " on the only disk");
    if (figures.Size > figures.RecordsStart)
      return Fail(adDirectoryOutside, "a directory of " + Number(figures.Size) + " bytes ending at " +
                                          Number(figures.RecordsStart));
    directoryStart_ = figures.RecordsStart - figures.Size;
    directoryEnd_ = figures.RecordsStart;
    // Offsets count from the start of the file, or from where the archive
    // begins behind a host: never from a place after the directory.
    if (figures.Offset > directoryStart_)
      return Fail(adOffsetMismatch, "the directory is stored at " + Number(figures.Offset) + " but lies at " +
                                        Number(directoryStart_));
    offsetBase_ = directoryStart_ - figures.Offset;
    if (figures.Count > figures.Size / TCentralHeader::kSize)
      return Fail(adCountMismatch,
                  Number(figures.Count) + " entries cannot fit a directory of " + Number(figures.Size) + " bytes");
    count_ = figures.Count;
    return true;
  }

  bool ReadDirectory() {
    TDirectoryReader reader(&stream_);
    reader.Reset(&stream_, static_cast<int64_t>(directoryStart_));
    entries_.reserve(static_cast<size_t>(count_));
    std::vector<uint8_t> name, extra;
    for (uint64_t i = 0; i < count_; ++i) {
      const uint64_t at = static_cast<uint64_t>(reader.Position());
      const std::string where = "directory record " + Number(i) + " at " + Number(at);
      if (directoryEnd_ - at < TCentralHeader::kSize) return Fail(adBadCentralHeader, where + " runs past the directory");
      uint8_t fixed[TCentralHeader::kSize];
      reader.Read(fixed, sizeof fixed);
      TDirItem item;
      static_cast<TCentralHeader&>(item) = TCentralHeader::Read(fixed);
      if (item.Signature != TCentralHeader::kSignature) return Fail(adBadCentralHeader, where + " has no signature");
      const uint64_t variable = uint64_t{item.NameLength} + item.ExtraLength + item.CommentLength;
      if (variable > directoryEnd_ - static_cast<uint64_t>(reader.Position()))
        return Fail(adBadCentralHeader, where + " runs past the directory");
      name.resize(item.NameLength);
      reader.Read(name.data(), name.size());
      extra.resize(item.ExtraLength);
      reader.Read(extra.data(), extra.size());
      reader.Skip(item.CommentLength);
      ParseExtraField(extra.data(), extra.size(), name.data(), name.size(), item);
      const bool escaped = item.CompressedSize == 0xFFFFFFFF || item.UncompressedSize == 0xFFFFFFFF ||
                           item.LocalHeaderOffset == 0xFFFFFFFF;
      if (escaped && !item.HasZip64Info) return Fail(adBadCentralHeader, where + " escapes a size without Zip64");
      const uint64_t header = item.TrueLocalHeaderOffset();
      if (header > UINT64_MAX - offsetBase_) return Fail(adLocalHeaderOutside, where + " points past any file");
      entries_.push_back({header + offsetBase_, item.TrueCompressedSize(), (item.Flags & kFlagDataDescriptor) != 0, i});

      const bool folder = (item.ExternalAttributes & kFaDirectory) != 0 ||
                          (!name.empty() && (name.back() == '/' || name.back() == '\\'));
      if (!folder) {
        ++result_.FileCount;
        const uint64_t size = item.TrueUncompressedSize();
        result_.UncompressedSize =
            size > UINT64_MAX - result_.UncompressedSize ? UINT64_MAX : result_.UncompressedSize + size;
      }
    }
    const uint64_t filled = static_cast<uint64_t>(reader.Position()) - directoryStart_;
    if (filled != directoryEnd_ - directoryStart_)
      return Fail(adCountMismatch, Number(count_) + " records fill " + Number(filled) + " of the directory's " +
                                       Number(directoryEnd_ - directoryStart_) + " bytes");
    result_.EntryCount = count_;
    result_.ArchiveStart = directoryStart_;
    return true;
  }

  bool CheckEntries() {
    std::sort(entries_.begin(), entries_.end(),
              [](const TEntryBytes& a, const TEntryBytes& b) { return a.Header < b.Header; });
    if (!entries_.empty()) result_.ArchiveStart = entries_.front().Header;
    uint64_t previousEnd = 0;
    const TEntryBytes* previous = nullptr;
    for (const TEntryBytes& entry : entries_) {
      const std::string where = "entry " + Number(entry.Index) + " at " + Number(entry.Header);
      if (entry.Header > directoryStart_ || directoryStart_ - entry.Header < TLocalHeader::kSize)
        return Fail(adLocalHeaderOutside, where + " has no room for its local header before the directory at " +
                                              Number(directoryStart_));
      uint8_t raw[TLocalHeader::kSize];
      if (!ReadAt(stream_, entry.Header, raw, TLocalHeader::kSize))
        return Fail(adLocalHeaderOutside, where + " cannot be read");
      const TLocalHeader local = TLocalHeader::Read(raw);
      if (local.Signature != TLocalHeader::kSignature) return Fail(adBadLocalHeader, where + " is not a local header");
      // A descriptor after the data takes 12 bytes at the least.
      const uint64_t trailer = entry.DataDescriptor || (local.Flags & kFlagDataDescriptor) ? 12 : 0;
      const uint64_t room = directoryStart_ - entry.Header - TLocalHeader::kSize;
      const uint64_t header = uint64_t{local.NameLength} + local.ExtraLength;
      if (header > room || entry.CompressedSize > room - header || trailer > room - header - entry.CompressedSize)
        return Fail(adDataOutside, where + ": " + Number(entry.CompressedSize) +
                                       " bytes of data do not fit before the directory at " + Number(directoryStart_));
      if (previous && entry.Header < previousEnd)
        return Fail(adOverlap, where + " lies inside entry " + Number(previous->Index) + ", which ends at " +
                                   Number(previousEnd));
      previousEnd = entry.Header + TLocalHeader::kSize + header + entry.CompressedSize + trailer;
      previous = &entry;
    }
    return true;
  }

  rt::TStream& stream_;
  TArchiveIntegrity result_;
  uint64_t directoryStart_ = 0;
  uint64_t directoryEnd_ = 0;
  uint64_t offsetBase_ = 0;
  uint64_t count_ = 0;
  std::vector<TEntryBytes> entries_;
};

}  // namespace

TArchiveIntegrity CheckArchiveIntegrity(rt::TStream& stream) { return TIntegrityCheck(stream).Run(); }

}  // namespace zip
