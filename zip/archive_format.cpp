#include "zip/archive_format.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "runtime/byte_order.h"
#include "runtime/text.h"
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

std::optional<TCertificateTable> CertificateTable(rt::TStream& stream) {
  uint8_t dos[64];
  if (!ReadAt(stream, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return std::nullopt;
  const uint32_t peOffset = rt::GetU32(dos + 0x3C);
  // Signature, COFF header and the optional header up to the directories.
  uint8_t pe[24 + 112 + 5 * 8];
  if (!ReadAt(stream, peOffset, pe, sizeof pe) || rt::GetU32(pe) != 0x00004550) return std::nullopt;
  const uint8_t* optional = pe + 24;
  size_t directories;
  size_t countField;
  switch (rt::GetU16(optional)) {
    case 0x10B: countField = 92, directories = 96; break;    // PE32
    case 0x20B: countField = 108, directories = 112; break;  // PE32+
    default: return std::nullopt;
  }
  const uint16_t optionalSize = rt::GetU16(pe + 20);
  if (rt::GetU32(optional + countField) <= 4 || optionalSize < directories + 5 * 8) return std::nullopt;
  const size_t security = 24 + directories + 4 * 8;
  const uint32_t offset = rt::GetU32(pe + security);
  const uint32_t size = rt::GetU32(pe + security + 4);
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
    if (rt::GetU32(buffer.data() + i) != TEndRecord::kSignature) continue;
    if (window - i < static_cast<int64_t>(TEndRecord::kSize)) continue;
    const TEndRecord record =
        TEndRecord::Read(std::span(buffer).subspan(static_cast<size_t>(i)).first<TEndRecord::kSize>());
    const int64_t left = window - i - static_cast<int64_t>(TEndRecord::kSize);
    bool fits = left == record.CommentLength;
    if (!fits && signedImage && left > record.CommentLength && left - record.CommentLength < 8) {
      const int64_t archiveEnd = i + TEndRecord::kSize + record.CommentLength;
      fits = ((archiveEnd + (end - window)) + 7) / 8 * 8 == end &&
             std::all_of(buffer.begin() + archiveEnd, buffer.end(), [](uint8_t b) { return b == 0; });
    }
    if (!fits) continue;
    TEndRecordLocation found;
    found.Position = end - window + i;
    found.Record = record;
    const auto* comment = reinterpret_cast<const char*>(buffer.data() + i + TEndRecord::kSize);
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
  rt::PutU32(signature_, signature);
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
      block.HeaderId = rt::GetU16(head);
      consumed = length;
      break;
    }
    block.HeaderId = rt::GetU16(extra + consumed);
    size_t size = rt::GetU16(extra + consumed + 2);
    consumed += 4;
    size = std::min(size, length - consumed);
    block.DataSize = static_cast<uint16_t>(size);
    block.Data.assign(extra + consumed, extra + consumed + size);
    consumed += size;

    const std::span<const uint8_t> data(block.Data);
    if (block.HeaderId == TZip64ExtraBlock::kId) {
      const TZip64ExtraBlock zip64 = TZip64ExtraBlock::Read(data, item);
      if (zip64.UncompressedSize) item.Zip64UncompressedSize = *zip64.UncompressedSize;
      if (zip64.CompressedSize) item.Zip64CompressedSize = *zip64.CompressedSize;
      if (zip64.LocalHeaderOffset) item.Zip64LocalHeaderOffset = *zip64.LocalHeaderOffset;
      if (zip64.DiskNumberStart) item.Zip64DiskNumberStart = *zip64.DiskNumberStart;
      item.HasZip64Info = 1;
    } else if (block.HeaderId == TUnicodeNameBlock::kId) {
      if (auto unicode = TUnicodeNameBlock::Read(data)) names.UnicodeName = std::move(unicode->Name);
    } else if (block.HeaderId == TUnicodePathBlock::kId) {
      // Only version 1 is known; a CRC that does not fit means the header
      // name was changed later.
      if (const auto path = TUnicodePathBlock::Read(data);
          path && path->Version == 1 && path->HeaderNameCrc == UpdateCrc32(0, headerName, headerNameLength))
        names.UnicodePath = rt::Utf8ToWide(path->Utf8Name);
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
  TSignatureScanner scanner(stream, TLocalHeader::kSignature, kStubSearchWindow);
  while (true) {
    const int64_t hit = scanner.Next(from);
    if (hit < 0) return 0;
    uint8_t raw[TLocalHeader::kSize];
    if (size - hit >= static_cast<int64_t>(TLocalHeader::kSize) && ReadAt(stream, hit, raw, sizeof raw)) {
      const TLocalHeader local = TLocalHeader::Read(raw);
      name.resize(local.NameLength);
      const bool nameRead = ReadAt(stream, hit + TLocalHeader::kSize, name.data(), local.NameLength);
      if (nameRead && local.Signature == TLocalHeader::kSignature &&
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
  TSignatureScanner headers(stream, TLocalHeader::kSignature, kRecoverySearchWindow);
  TSignatureScanner descriptors(stream, TDataDescriptor::kSignature, kRecoverySearchWindow);
  for (int64_t q = headers.Next(0); q >= 0 && size - q >= static_cast<int64_t>(TLocalHeader::kSize);
       q = headers.Next(q + 4)) {
    uint8_t raw[TLocalHeader::kSize];
    if (!ReadAt(stream, q, raw, sizeof raw)) break;
    const TLocalHeader local = TLocalHeader::Read(raw);
    if (local.CompressedSize >= size || local.ExtraLength > kMaxRecoveredExtraLength) continue;
    anyHeader = true;

    TDirItem item;
    // The fields both headers have, and the version needed for the
    // version made by, which a local header lacks.
    static_cast<TEntryFields&>(item) = local;
    item.Signature = local.Signature;
    item.VersionMadeBy = local.VersionNeeded;
    item.LocalHeaderOffset = static_cast<uint32_t>(q);

    name.resize(local.NameLength);
    if (ReadAt(stream, q + TLocalHeader::kSize, name.data(), local.NameLength)) {
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
      uint8_t rawDescriptor[TDataDescriptor::kSize];
      if (d >= 0 && size - d >= static_cast<int64_t>(TDataDescriptor::kSize) &&
          ReadAt(stream, d, rawDescriptor, sizeof rawDescriptor)) {
        const TDataDescriptor descriptor = TDataDescriptor::Read(rawDescriptor);
        item.Crc32 = descriptor.Crc32;
        item.CompressedSize = descriptor.CompressedSize;
        item.UncompressedSize = descriptor.UncompressedSize;
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
