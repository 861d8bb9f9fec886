#include "skin/container/skin_archive_writer.h"

#include <limits>

#include "runtime/byte_order.h"
#include "skin/container/lzh.h"
#include "skin/container/skin_reader.h"

namespace skin {

namespace {

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
  rt::AppendU32(out, kSkinArchiveMagic);
  rt::AppendU32(out, static_cast<uint32_t>(names.size()));
  rt::AppendU32(out, 0);
  rt::AppendU32(out, 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const auto& entry : entries) rt::AppendU32(out, static_cast<uint32_t>(entry.second.size()));
  for (const auto& entry : entries) out.insert(out.end(), entry.second.begin(), entry.second.end());
  return out;
}

std::vector<uint8_t> MakeSkinFile(std::span<const uint8_t> archive) {
  if (archive.size() > kMaxU32) throw ESkinArchiveError(u"the archive exceeds 4 GiB");
  std::vector<uint8_t> out;
  rt::AppendU32(out, static_cast<uint32_t>(archive.size()));
  const std::vector<uint8_t> stream = LzhPack(archive);
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

}  // namespace skin
