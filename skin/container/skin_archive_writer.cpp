#include "skin/container/skin_archive_writer.h"

#include <limits>

#include "skin/container/lzh.h"
#include "skin/container/skin_reader.h"

namespace skin {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

constexpr uint64_t kMaxU32 = std::numeric_limits<uint32_t>::max();

}  // namespace

std::vector<uint8_t> PackSkinArchive(const std::vector<TSkinArchiveEntry>& entries) {
  if (entries.size() > kMaxSkinEntries)
    throw ESkinArchiveError(rt::Widen(std::to_string(entries.size()) + " entries, at most " +
                                      std::to_string(kMaxSkinEntries) + " fit"));
  std::string names;
  uint64_t total = 0;
  for (const auto& [name, bytes] : entries) {
    if (name.find_first_of("\r\n") != std::string::npos)
      throw ESkinArchiveError(u"an entry name holds a line break");
    names += name;
    names += "\r\n";
    total += bytes.size();
  }
  if (total + names.size() + 16 + 4 * entries.size() > kMaxU32)
    throw ESkinArchiveError(u"the archive would exceed 4 GiB");

  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(total) + names.size() + 16 + 4 * entries.size());
  PutU32(out, kSkinArchiveMagic);
  PutU32(out, static_cast<uint32_t>(names.size()));
  PutU32(out, 0);
  PutU32(out, 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const auto& entry : entries) PutU32(out, static_cast<uint32_t>(entry.second.size()));
  for (const auto& entry : entries) out.insert(out.end(), entry.second.begin(), entry.second.end());
  return out;
}

std::vector<uint8_t> MakeSkinFile(std::span<const uint8_t> archive) {
  if (archive.size() > kMaxU32) throw ESkinArchiveError(u"the archive exceeds 4 GiB");
  std::vector<uint8_t> out;
  PutU32(out, static_cast<uint32_t>(archive.size()));
  const std::vector<uint8_t> stream = LzhPack(archive);
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

}  // namespace skin
