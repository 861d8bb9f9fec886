#include "zip/archive_format.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/text.h"
#include "zip/byte_order.h"
#include "zip/crc32.h"
#include "zip/dir_array.h"
#include "zip/file_layer.h"
#include "zip/zip_exception.h"

namespace zip {

namespace {

constexpr int64_t kEndSearchWindow = 65600;
constexpr int32_t kStubSearchWindow = 10000;
constexpr int32_t kRecoverySearchWindow = 65535;
constexpr uint16_t kMaxRecoveredExtraLength = 260;

// Reads exactly count bytes at position, or returns false.
bool ReadAt(rt::TStream& stream, int64_t position, void* buffer, int64_t count) {
  stream.SetPosition(position);
  return stream.Read(buffer, count) == count;
}

}  // namespace

TEndRecord TEndRecord::Parse(const uint8_t* b) {
  TEndRecord r;
  r.Signature = GetU32(b);
  r.DiskNumber = GetU16(b + 4);
  r.StartDisk = GetU16(b + 6);
  r.EntriesOnDisk = GetU16(b + 8);
  r.TotalEntries = GetU16(b + 10);
  r.DirectorySize = GetU32(b + 12);
  r.DirectoryOffset = GetU32(b + 16);
  r.CommentLength = GetU16(b + 20);
  return r;
}

bool NeedsZip64(const TEndRecord& r) {
  return r.DiskNumber == 0xFFFF || r.StartDisk == 0xFFFF || r.EntriesOnDisk == 0xFFFF ||
         r.TotalEntries == 0xFFFF || r.DirectorySize == 0xFFFFFFFF || r.DirectoryOffset == 0xFFFFFFFF;
}

TZip64Locator TZip64Locator::Parse(const uint8_t* b) {
  TZip64Locator r;
  r.Signature = GetU32(b);
  r.EndRecordDisk = GetU32(b + 4);
  r.EndRecordOffset = GetU64(b + 8);
  r.TotalDisks = GetU32(b + 16);
  return r;
}

TZip64EndRecord TZip64EndRecord::Parse(const uint8_t* b) {
  TZip64EndRecord r;
  r.Signature = GetU32(b);
  r.RecordSize = GetU64(b + 4);
  r.VersionMadeBy = GetU16(b + 12);
  r.VersionNeeded = GetU16(b + 14);
  r.DiskNumber = GetU32(b + 16);
  r.StartDisk = GetU32(b + 20);
  r.EntriesOnDisk = GetU64(b + 24);
  r.TotalEntries = GetU64(b + 32);
  r.DirectorySize = GetU64(b + 40);
  r.DirectoryOffset = GetU64(b + 48);
  return r;
}

TLocalHeader TLocalHeader::Parse(const uint8_t* b) {
  TLocalHeader r;
  r.Signature = GetU32(b);
  r.VersionNeeded = GetU16(b + 4);
  r.Flags = GetU16(b + 6);
  r.CompressionMethod = GetU16(b + 8);
  r.LastModTime = GetU16(b + 10);
  r.LastModDate = GetU16(b + 12);
  r.Crc32 = GetU32(b + 14);
  r.CompressedSize = GetU32(b + 18);
  r.UncompressedSize = GetU32(b + 22);
  r.NameLength = GetU16(b + 26);
  r.ExtraLength = GetU16(b + 28);
  return r;
}

void ReadCentralHeaderFields(const uint8_t* b, TDirItem& item) {
  item.Signature = GetU32(b);
  item.VersionMadeBy = GetU16(b + 4);
  item.VersionNeeded = GetU16(b + 6);
  item.Flags = GetU16(b + 8);
  item.CompressionMethod = GetU16(b + 10);
  item.LastModTime = GetU16(b + 12);
  item.LastModDate = GetU16(b + 14);
  item.Crc32 = GetU32(b + 16);
  item.CompressedSize = GetU32(b + 20);
  item.UncompressedSize = GetU32(b + 24);
  item.NameLength = GetU16(b + 28);
  item.ExtraLength = GetU16(b + 30);
  item.CommentLength = GetU16(b + 32);
  item.DiskNumberStart = GetU16(b + 34);
  item.InternalAttributes = GetU16(b + 36);
  item.ExternalAttributes = GetU32(b + 38);
  item.LocalHeaderOffset = GetU32(b + 42);
}

std::optional<TCertificateTable> CertificateTable(rt::TStream& stream) {
  uint8_t dos[64];
  if (!ReadAt(stream, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return std::nullopt;
  const uint32_t peOffset = GetU32(dos + 0x3C);
  // Signature, COFF header and the optional header up to the directories.
  uint8_t pe[24 + 112 + 5 * 8];
  if (!ReadAt(stream, peOffset, pe, sizeof pe) || GetU32(pe) != 0x00004550) return std::nullopt;
  const uint8_t* optional = pe + 24;
  size_t directories;
  size_t countField;
  switch (GetU16(optional)) {
    case 0x10B: countField = 92, directories = 96; break;    // PE32
    case 0x20B: countField = 108, directories = 112; break;  // PE32+
    default: return std::nullopt;
  }
  const uint16_t optionalSize = GetU16(pe + 20);
  if (GetU32(optional + countField) <= 4 || optionalSize < directories + 5 * 8) return std::nullopt;
  const size_t security = 24 + directories + 4 * 8;
  const uint32_t offset = GetU32(pe + security);
  const uint32_t size = GetU32(pe + security + 4);
  if (offset == 0 || size == 0) return std::nullopt;
  return TCertificateTable{offset, size, int64_t{peOffset} + static_cast<int64_t>(security)};
}

int64_t ArchiveDataEnd(rt::TStream& stream) {
  const int64_t size = stream.Size();
  if (auto table = CertificateTable(stream); table && table->Offset + table->Size == size) return table->Offset;
  return size;
}

std::optional<TEndRecordLocation> FindEndRecord(rt::TStream& stream) {
  const int64_t size = stream.Size();
  const int64_t end = ArchiveDataEnd(stream);
  // A signing tool pads the file to 8 bytes before the certificate table;
  // those zero bytes belong to neither the archive nor the table.
  const bool signedImage = end != size;
  const int64_t window = std::min(end, kEndSearchWindow);
  std::vector<uint8_t> buffer(static_cast<size_t>(window));
  if (!ReadAt(stream, end - window, buffer.data(), window)) return std::nullopt;

  for (int64_t i = window - 4; i >= 0; --i) {
    if (GetU32(buffer.data() + i) != kEndRecordSignature) continue;
    if (window - i < static_cast<int64_t>(kEndRecordSize)) continue;
    const TEndRecord record = TEndRecord::Parse(buffer.data() + i);
    const int64_t left = window - i - static_cast<int64_t>(kEndRecordSize);
    bool fits = left == record.CommentLength;
    if (!fits && signedImage && left > record.CommentLength && left - record.CommentLength < 8) {
      const int64_t archiveEnd = i + kEndRecordSize + record.CommentLength;
      fits = ((archiveEnd + (end - window)) + 7) / 8 * 8 == end &&
             std::all_of(buffer.begin() + archiveEnd, buffer.end(), [](uint8_t b) { return b == 0; });
    }
    if (!fits) continue;
    TEndRecordLocation found;
    found.Position = end - window + i;
    found.Record = record;
    const auto* comment = reinterpret_cast<const char*>(buffer.data() + i + kEndRecordSize);
    found.Comment.assign(comment, record.CommentLength);
    return found;
  }
  return std::nullopt;
}

// The window never exceeds the stream: a small file is read whole, and
// no larger buffer is made for it.
TSignatureScanner::TSignatureScanner(rt::TStream& stream, uint32_t signature, int32_t window)
    : stream_(stream),
      size_(stream.Size()),
      buffer_(static_cast<size_t>(std::clamp<int64_t>(size_, 0, window))) {
  PutU32(signature_, signature);
}

int64_t TSignatureScanner::Next(int64_t from) {
  from = std::max<int64_t>(from, 0);
  // The first hit at or after from is the remembered one while from has not
  // passed it (or, when there was none, for every later from).
  if (lastFrom_ >= 0 && from >= lastFrom_ && (lastHit_ < 0 || from <= lastHit_)) return lastHit_;
  int64_t hit = -1;
  for (int64_t pos = from; pos <= size_ - 4;) {
    if (pos < bufferStart_ || pos - bufferStart_ > bufferLength_ - 4) {
      bufferStart_ = pos;
      bufferLength_ = std::min<int64_t>(static_cast<int64_t>(buffer_.size()), size_ - pos);
      if (!ReadAt(stream_, pos, buffer_.data(), bufferLength_)) {
        bufferLength_ = 0;
        break;
      }
    }
    const uint8_t* base = buffer_.data() + (pos - bufferStart_);
    size_t left = static_cast<size_t>(bufferStart_ + bufferLength_ - pos);
    for (const uint8_t* p = base; left >= 4;) {
      auto* candidate = static_cast<const uint8_t*>(std::memchr(p, signature_[0], left - 3));
      if (!candidate) break;
      if (std::memcmp(candidate, signature_, 4) == 0) {
        hit = pos + (candidate - base);
        break;
      }
      left -= candidate + 1 - p;
      p = candidate + 1;
    }
    if (hit >= 0 || bufferStart_ + bufferLength_ >= size_) break;
    // The next window overlaps this one so a signature across the seam is
    // found whole.
    pos = bufferStart_ + bufferLength_ - 3;
  }
  lastFrom_ = from;
  lastHit_ = hit;
  return hit;
}

int64_t SearchForward(rt::TStream& stream, int64_t from, uint32_t signature, int32_t window) {
  return TSignatureScanner(stream, signature, window).Next(from);
}

WideString DecodeEntryName(const uint8_t* bytes, size_t length, bool oemNames) {
  const auto* text = reinterpret_cast<const char*>(bytes);
  const std::string_view stored(text, std::find(text, text + length, '\0') - text);
  return oemNames ? rt::OemToWide(stored) : rt::AnsiToWide(stored);
}

bool TUnicodeExtendedInfo::Parse(const uint8_t* data, size_t size) {
  name_.clear();
  signature_ = size >= 4 ? GetU32(data) : 0;
  if (size < 8 || std::memcmp(data, "NUCX", 4) != 0) return false;
  const uint32_t count = GetU32(data + 4);
  // A count that needs more bytes than the block holds makes the block
  // invalid rather than a name of unknown characters.
  if (count > (size - 8) / 2) return false;
  name_.resize(count);
  for (uint32_t k = 0; k < count; ++k) name_[k] = GetU16(data + 8 + 2 * k);
  return true;
}

TExtraNames ParseExtraField(const uint8_t* extra, size_t length, const uint8_t* headerName,
                            size_t headerNameLength, TDirItem& item) {
  TExtraNames names;
  item.ExtraFields.clear();
  item.HasZip64Info = 0;
  size_t consumed = 0;
  while (consumed < length) {
    TZipExtraField& block = item.ExtraFields.emplace_back();
    if (length - consumed < 4) {
      // A header cut short by the end of the field reads as far as it goes.
      uint8_t head[4] = {};
      std::memcpy(head, extra + consumed, length - consumed);
      block.HeaderId = GetU16(head);
      consumed = length;
      break;
    }
    block.HeaderId = GetU16(extra + consumed);
    size_t size = GetU16(extra + consumed + 2);
    consumed += 4;
    size = std::min(size, length - consumed);
    block.DataSize = static_cast<uint16_t>(size);
    block.Data.assign(extra + consumed, extra + consumed + size);
    consumed += size;

    const uint8_t* data = block.Data.data();
    if (block.HeaderId == kZip64ExtraId) {
      // Each value is there only when its header field is escaped; a value
      // that does not fit in the block is not read.
      size_t at = 0;
      auto next = [&](size_t width, auto& field) {
        if (at < size && width <= size - at) field = width == 8 ? GetU64(data + at) : GetU16(data + at);
        at += width;
      };
      if (item.UncompressedSize == 0xFFFFFFFF) next(8, item.Zip64UncompressedSize);
      if (item.CompressedSize == 0xFFFFFFFF) next(8, item.Zip64CompressedSize);
      if (item.LocalHeaderOffset == 0xFFFFFFFF) next(8, item.Zip64LocalHeaderOffset);
      if (item.DiskNumberStart == 0xFFFF) next(2, item.Zip64DiskNumberStart);
      item.HasZip64Info = 1;
    } else if (block.HeaderId == kUnicodeNameExtraId) {
      TUnicodeExtendedInfo info;
      if (info.Parse(data, size)) names.UnicodeName = info.Name();
    } else if (block.HeaderId == kUnicodePathExtraId) {
      // Version 1, the CRC-32 of the header name, then the name in UTF-8;
      // a CRC that does not fit means the header name was changed later.
      if (size >= 5 && data[0] == 1 &&
          GetU32(data + 1) == UpdateCrc32(0, headerName, headerNameLength))
        names.UnicodePath = rt::Utf8ToWide(
            std::string_view(reinterpret_cast<const char*>(data + 5), size - 5));
    }
  }
  return names;
}

int64_t DetectStubSize(rt::TStream& stream, const TZipDirArray& items, int64_t endRecordPosition,
                       uint16_t totalEntries) {
  if (totalEntries == 0) return endRecordPosition;
  if (items.Count() == 0) return 0;
  const TDirItem& first = items.Item(0);
  const int64_t size = stream.Size();
  int64_t from = static_cast<int64_t>(std::min<uint64_t>(first.TrueLocalHeaderOffset(), INT64_MAX));
  std::vector<uint8_t> name;
  TSignatureScanner scanner(stream, kLocalHeaderSignature, kStubSearchWindow);
  while (true) {
    const int64_t hit = scanner.Next(from);
    if (hit < 0) return 0;
    uint8_t raw[kLocalHeaderSize];
    if (size - hit >= static_cast<int64_t>(kLocalHeaderSize) && ReadAt(stream, hit, raw, sizeof raw)) {
      const TLocalHeader local = TLocalHeader::Parse(raw);
      name.resize(local.NameLength);
      const bool nameRead = ReadAt(stream, hit + kLocalHeaderSize, name.data(), local.NameLength);
      if (nameRead && local.Signature == kLocalHeaderSignature &&
          (hit == 0 ||
           (local.Crc32 == first.Crc32 && local.VersionNeeded == first.VersionNeeded &&
            local.CompressionMethod == first.CompressionMethod &&
            local.LastModTime == first.LastModTime && local.LastModDate == first.LastModDate &&
            local.CompressedSize == first.CompressedSize &&
            local.UncompressedSize == first.UncompressedSize)))
        return hit;
    }
    from = hit + 1;
  }
}

void ApplyStubOffset(TZipDirArray& items, int64_t stubSize) {
  const auto stub = static_cast<uint32_t>(stubSize);
  int first = -1;
  for (int i = 0; i < items.Count() && first < 0; ++i)
    if (items.Item(i).CompressedSize > 0) first = i;
  if (first < 0 || items.Item(first).LocalHeaderOffset >= stub) return;
  for (int i = 0; i < items.Count(); ++i) {
    TDirItem& item = items.ItemPtr(i);
    if (!(item.ExternalAttributes & kFaDirectory)) item.LocalHeaderOffset += stub;
  }
}

void RecoverDirectory(rt::TStream& stream, TZipDirArray& items, bool oemNames, bool multiVolume,
                      const rt::TComponent* archiver) {
  items.SetCount(0);
  if (multiVolume) throw EZipException(neRebuildMultiVolume, archiver);
  const int64_t size = stream.Size();
  std::vector<uint8_t> name;
  // Hits that no header is accepted at are only bytes that look like a
  // signature (a program's code holds them): such a file is no archive.
  bool anyHeader = false;
  TSignatureScanner headers(stream, kLocalHeaderSignature, kRecoverySearchWindow);
  TSignatureScanner descriptors(stream, kDataDescriptorSignature, kRecoverySearchWindow);
  for (int64_t q = headers.Next(0); q >= 0 && size - q >= static_cast<int64_t>(kLocalHeaderSize);
       q = headers.Next(q + 4)) {
    uint8_t raw[kLocalHeaderSize];
    if (!ReadAt(stream, q, raw, sizeof raw)) break;
    const TLocalHeader local = TLocalHeader::Parse(raw);
    if (local.CompressedSize >= size || local.ExtraLength > kMaxRecoveredExtraLength) continue;
    anyHeader = true;

    TDirItem item;
    item.Signature = local.Signature;
    item.VersionMadeBy = item.VersionNeeded = local.VersionNeeded;
    item.Flags = local.Flags;
    item.CompressionMethod = local.CompressionMethod;
    item.LastModTime = local.LastModTime;
    item.LastModDate = local.LastModDate;
    item.Crc32 = local.Crc32;
    item.CompressedSize = local.CompressedSize;
    item.UncompressedSize = local.UncompressedSize;
    item.NameLength = local.NameLength;
    item.ExtraLength = local.ExtraLength;
    item.LocalHeaderOffset = static_cast<uint32_t>(q);

    name.resize(local.NameLength);
    if (ReadAt(stream, q + kLocalHeaderSize, name.data(), local.NameLength)) {
      const auto* text = reinterpret_cast<const char*>(name.data());
      item.Name = (local.Flags & kFlagUtf8)
                      ? rt::Utf8ToWide(std::string_view(text, std::find(text, text + name.size(), '\0') - text))
                      : DecodeEntryName(name.data(), name.size(), oemNames);
    }
    // A local header has no attributes: only the name tells a folder. An
    // empty file is a file; taking it for a folder would lose it.
    const bool folder = !item.Name.empty() && (item.Name.back() == u'/' || item.Name.back() == u'\\');
    item.ExternalAttributes = folder ? 0x10 : 0x20;
    if (local.Flags & kFlagDataDescriptor) {
      const int64_t d = descriptors.Next(q);
      uint8_t descriptor[kDataDescriptorSize];
      if (d >= 0 && size - d >= static_cast<int64_t>(kDataDescriptorSize) &&
          ReadAt(stream, d, descriptor, sizeof descriptor)) {
        item.Crc32 = GetU32(descriptor + 4);
        item.CompressedSize = GetU32(descriptor + 8);
        item.UncompressedSize = GetU32(descriptor + 12);
      }
    }
    // Stored whole rather than renamed: the index takes the name at its
    // place, so entries sharing a name (even an empty one) do not clash.
    const int index = items.Count();
    items.SetCount(index + 1);
    items.SetItem(index, item);
  }
  if (!anyHeader) throw EZipException(neNoLocalHeaders, archiver);
}

}  // namespace zip
