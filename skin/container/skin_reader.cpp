#include "skin/container/skin_reader.h"

#include <algorithm>
#include <utility>

#include "runtime/byte_reader.h"
#include "skin/container/lzh.h"
#include "skin/container/skin_messages.h"

namespace skin {

namespace {

std::string Number(uint64_t n) { return std::to_string(n); }

// Lines end with CR LF; a last line without one still counts, a final
// CR LF adds no empty line.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  while (!text.empty()) {
    const size_t end = text.find("\r\n");
    if (end == std::string_view::npos) {
      visit(text);
      return;
    }
    visit(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
}

}  // namespace

std::string FoldSkinName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

bool TSkinReader::Fail(std::string reason) {
  names_.clear();
  sizes_.clear();
  content_.clear();
  failure_ = std::move(reason);
  return false;
}

bool TSkinReader::Open(rt::TStream& skinFile) {
  Fail("");
  magic_ = 0;
  skinFile.SetPosition(0);
  uint8_t sizeField[4];
  if (skinFile.Read(sizeField, 4) != 4) return Fail("the skin file is shorter than its 4-byte size");
  const uint32_t unpackedSize = sizeField[0] | sizeField[1] << 8 | sizeField[2] << 16 |
                                static_cast<uint32_t>(sizeField[3]) << 24;
  if (unpackedSize > maxUnpackedSize_)
    return Fail("unpacked size " + Number(unpackedSize) + " is over the limit of " +
                Number(maxUnpackedSize_));

  std::vector<uint8_t> archive;
  archive.reserve(static_cast<size_t>(unpackedSize) + 64);
  TLZH().Unpack(
      unpackedSize,
      [&](const uint8_t* bytes, size_t size) { archive.insert(archive.end(), bytes, bytes + size); },
      [&](uint8_t* buffer, size_t capacity) {
        const int64_t n = skinFile.Read(buffer, static_cast<int64_t>(capacity));
        return n > 0 ? static_cast<size_t>(n) : size_t{0};
      });

  size_t contentOffset = 0;
  if (!Index(archive, contentOffset)) return false;
  archive.erase(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(contentOffset));
  content_ = std::move(archive);
  return true;
}

bool TSkinReader::Index(const std::vector<uint8_t>& archive, size_t& contentOffset) {
  rt::TByteReader reader(archive);
  magic_ = reader.U32();
  if (reader.Failed())
    return Fail("the archive of " + Number(archive.size()) + " bytes has no magic number");
  if (magic_ != kSkinArchiveMagic) {
    ShowSkinMessage(kOlderSkinFileMessage);
    return Fail("magic number " + Number(magic_) + " instead of " + Number(kSkinArchiveMagic));
  }
  const uint32_t nameListLength = reader.U32();
  reader.U32();
  reader.U32();
  if (reader.Failed())
    return Fail("the archive of " + Number(archive.size()) + " bytes is shorter than its header");
  if (nameListLength > reader.Remaining())
    return Fail("name list of " + Number(nameListLength) + " bytes, " + Number(reader.Remaining()) +
                " left");
  const auto listBytes = reader.Bytes(nameListLength);
  const std::string_view list(reinterpret_cast<const char*>(listBytes.data()), listBytes.size());

  // Counted first: a damaged list could hold millions of lines.
  size_t count = 0;
  ForEachLine(list, [&](std::string_view) { ++count; });
  if (count > kMaxSkinEntries)
    return Fail(Number(count) + " names, more than the " + Number(kMaxSkinEntries) + " an archive holds");
  if (count > reader.Remaining() / 4)
    return Fail("size table of " + Number(count) + " entries, " + Number(reader.Remaining()) +
                " bytes left");

  ForEachLine(list, [&](std::string_view line) { names_.push_back(FoldSkinName(line)); });
  for (size_t i = 0; i < count; ++i) sizes_.push_back(reader.U32());
  contentOffset = reader.Offset();
  return true;
}

void TSkinReader::CopyEntry(size_t index, rt::TMemoryStream& dest) const {
  const std::vector<uint8_t>& content = content_;
  uint64_t offset = 0;
  for (size_t i = 0; i < index; ++i) offset += sizes_[i];
  if (offset >= content.size()) return;
  const uint64_t size = std::min<uint64_t>(sizes_[index], content.size() - offset);
  dest.WriteBuffer(content.data() + offset, static_cast<int64_t>(size));
  dest.SetPosition(0);
}

void TSkinReader::ExtractEntry(std::string_view name, rt::TMemoryStream& dest) const {
  dest.Clear();
  const auto found = std::find(names_.begin(), names_.end(), FoldSkinName(name));
  if (found != names_.end()) CopyEntry(static_cast<size_t>(found - names_.begin()), dest);
}

bool TSkinReader::ExtractEntryContaining(std::string_view text, rt::TMemoryStream& dest,
                                         std::string& foundName) const {
  dest.Clear();
  foundName.clear();
  const auto found = std::find_if(names_.begin(), names_.end(), [&](const std::string& n) {
    return n.find(text) != std::string::npos;
  });
  if (found == names_.end()) return false;
  foundName = *found;
  CopyEntry(static_cast<size_t>(found - names_.begin()), dest);
  return true;
}

}  // namespace skin
