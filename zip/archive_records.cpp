#include "zip/archive_records.h"

#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "runtime/byte_order.h"

namespace zip {

namespace {

template <class Record>
constexpr size_t FieldBytes() {
  Record record{};
  size_t bytes = 0;
  Record::Fields(record, [&](auto& field) { bytes += sizeof field; });
  return bytes;
}

static_assert(FieldBytes<TLocalHeader>() == TLocalHeader::kSize);
static_assert(FieldBytes<TCentralHeader>() == TCentralHeader::kSize);
static_assert(FieldBytes<TDataDescriptor>() == TDataDescriptor::kSize);
static_assert(FieldBytes<TZip64EndRecord>() == TZip64EndRecord::kSize);
static_assert(FieldBytes<TZip64Locator>() == TZip64Locator::kSize);
static_assert(FieldBytes<TEndRecord>() == TEndRecord::kSize);

// The fixed size is the sum of the fields (checked above), so the reads
// stay inside the span.
template <class Record>
Record ReadFields(std::span<const uint8_t, Record::kSize> bytes) {
  Record record;
  const uint8_t* at = bytes.data();
  Record::Fields(record, [&](auto& field) {
    field = rt::GetLittle<std::remove_reference_t<decltype(field)>>(at);
    at += sizeof field;
  });
  return record;
}

template <class Record>
void WriteFields(const Record& record, std::vector<uint8_t>& out) {
  Record::Fields(record, [&](const auto& field) { rt::AppendLittle(out, field); });
}

}  // namespace

TLocalHeader TLocalHeader::Read(std::span<const uint8_t, kSize> b) { return ReadFields<TLocalHeader>(b); }
void TLocalHeader::Write(std::vector<uint8_t>& out) const { WriteFields(*this, out); }

TCentralHeader TCentralHeader::Read(std::span<const uint8_t, kSize> b) { return ReadFields<TCentralHeader>(b); }
void TCentralHeader::Write(std::vector<uint8_t>& out) const { WriteFields(*this, out); }

TDataDescriptor TDataDescriptor::Read(std::span<const uint8_t, kSize> b) { return ReadFields<TDataDescriptor>(b); }
void TDataDescriptor::Write(std::vector<uint8_t>& out) const { WriteFields(*this, out); }

TZip64EndRecord TZip64EndRecord::Read(std::span<const uint8_t, kSize> b) { return ReadFields<TZip64EndRecord>(b); }
void TZip64EndRecord::Write(std::vector<uint8_t>& out) const { WriteFields(*this, out); }

TZip64Locator TZip64Locator::Read(std::span<const uint8_t, kSize> b) { return ReadFields<TZip64Locator>(b); }
void TZip64Locator::Write(std::vector<uint8_t>& out) const { WriteFields(*this, out); }

TEndRecord TEndRecord::Read(std::span<const uint8_t, kSize> b) { return ReadFields<TEndRecord>(b); }
void TEndRecord::Write(std::vector<uint8_t>& out) const { WriteFields(*this, out); }

bool NeedsZip64(const TEndRecord& r) {
  return r.DiskNumber == 0xFFFF || r.StartDisk == 0xFFFF || r.EntriesOnDisk == 0xFFFF ||
         r.TotalEntries == 0xFFFF || r.DirectorySize == 0xFFFFFFFF || r.DirectoryOffset == 0xFFFFFFFF;
}

void WriteExtraBlock(std::vector<uint8_t>& out, uint16_t id, std::span<const uint8_t> data) {
  if (data.size() > 0xFFFF) throw std::length_error("an extra-field block holds at most 65,535 bytes");
  rt::AppendU16(out, id);
  rt::AppendU16(out, static_cast<uint16_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
}

TZip64ExtraBlock TZip64ExtraBlock::Read(std::span<const uint8_t> data, const TCentralHeader& header) {
  TZip64ExtraBlock block;
  // A value that does not fit in the block is not read, but its place is
  // still passed over.
  size_t at = 0;
  auto next = [&]<class Value>(std::optional<Value>& value, size_t width) {
    if (at < data.size() && width <= data.size() - at)
      value = static_cast<Value>(width == 8 ? rt::GetU64(data.data() + at) : rt::GetU16(data.data() + at));
    at += width;
  };
  if (header.UncompressedSize == 0xFFFFFFFF) next(block.UncompressedSize, 8);
  if (header.CompressedSize == 0xFFFFFFFF) next(block.CompressedSize, 8);
  if (header.LocalHeaderOffset == 0xFFFFFFFF) next(block.LocalHeaderOffset, 8);
  if (header.DiskNumberStart == 0xFFFF) next(block.DiskNumberStart, 2);
  return block;
}

void TZip64ExtraBlock::Write(std::vector<uint8_t>& out) const {
  std::vector<uint8_t> data;
  for (const auto& value : {UncompressedSize, CompressedSize, LocalHeaderOffset})
    if (value) rt::AppendU64(data, *value);
  if (DiskNumberStart) rt::AppendU32(data, *DiskNumberStart);
  WriteExtraBlock(out, kId, data);
}

std::optional<TUnicodeNameBlock> TUnicodeNameBlock::Read(std::span<const uint8_t> data) {
  if (data.size() < 8 || std::memcmp(data.data(), "NUCX", 4) != 0) return std::nullopt;
  const uint32_t count = rt::GetU32(data.data() + 4);
  // A count that needs more bytes than the block holds makes the block
  // invalid rather than a name of unknown characters.
  if (count > (data.size() - 8) / 2) return std::nullopt;
  TUnicodeNameBlock block;
  block.Name.resize(count);
  for (uint32_t k = 0; k < count; ++k) block.Name[k] = rt::GetU16(data.data() + 8 + 2 * k);
  return block;
}

void TUnicodeNameBlock::Write(std::vector<uint8_t>& out) const {
  std::vector<uint8_t> data = {'N', 'U', 'C', 'X'};
  rt::AppendU32(data, static_cast<uint32_t>(Name.size()));
  for (const char16_t c : Name) rt::AppendU16(data, c);
  WriteExtraBlock(out, kId, data);
}

std::optional<TUnicodePathBlock> TUnicodePathBlock::Read(std::span<const uint8_t> data) {
  if (data.size() < 5) return std::nullopt;
  TUnicodePathBlock block;
  block.Version = data[0];
  block.HeaderNameCrc = rt::GetU32(data.data() + 1);
  block.Utf8Name.assign(reinterpret_cast<const char*>(data.data() + 5), data.size() - 5);
  return block;
}

void TUnicodePathBlock::Write(std::vector<uint8_t>& out) const {
  std::vector<uint8_t> data = {Version};
  rt::AppendU32(data, HeaderNameCrc);
  data.insert(data.end(), Utf8Name.begin(), Utf8Name.end());
  WriteExtraBlock(out, kId, data);
}

}  // namespace zip
