#include "tools/mkinstaller/archive_writer.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>

#include "tools/mkinstaller/entry_names.h"
#include "zip/archive_records.h"

namespace mkinstaller {

namespace {

constexpr uint16_t kVersion20 = 20;  // 2.0, made on MS-DOS
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;

uint32_t Crc32(std::span<const uint8_t> data) {
  uLong crc = crc32(0, nullptr, 0);
  // zlib takes 32-bit lengths; feed it in slices.
  for (size_t done = 0; done < data.size();) {
    const size_t n = std::min<size_t>(data.size() - done, 1u << 30);
    crc = crc32(crc, data.data() + done, static_cast<uInt>(n));
    done += n;
  }
  return static_cast<uint32_t>(crc);
}

uint32_t Size32(uint64_t size, const char* what) {
  if (size > std::numeric_limits<uint32_t>::max())
    throw std::runtime_error(std::string(what) + " is larger than a ZIP archive without Zip64 can hold");
  return static_cast<uint32_t>(size);
}

}  // namespace

std::vector<uint8_t> Deflate(std::span<const uint8_t> data) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("zlib cannot start deflating");
  const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&z, deflateEnd);
  constexpr size_t kChunk = 64 * 1024;
  std::vector<uint8_t> out;
  size_t given = 0;
  for (int status = Z_OK; status != Z_STREAM_END;) {
    // zlib takes 32-bit lengths; feed it in slices.
    if (z.avail_in == 0 && given < data.size()) {
      const size_t n = std::min<size_t>(data.size() - given, 1u << 30);
      z.next_in = const_cast<Bytef*>(data.data() + given);
      z.avail_in = static_cast<uInt>(n);
      given += n;
    }
    const size_t used = out.size();
    out.resize(used + kChunk);
    z.next_out = out.data() + used;
    z.avail_out = kChunk;
    status = deflate(&z, given == data.size() ? Z_FINISH : Z_NO_FLUSH);
    out.resize(used + kChunk - z.avail_out);
    if (status == Z_STREAM_ERROR) throw std::runtime_error("zlib failed while deflating");
  }
  return out;
}

void ArchiveWriter::Write(std::span<const uint8_t> bytes) {
  out_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out_) throw std::runtime_error("cannot write the installer");
  position_ += bytes.size();
}

void ArchiveWriter::AddEntry(rt::WideStringView name, uint16_t method, uint32_t crc,
                             std::span<const uint8_t> stored, uint64_t size, uint32_t attributes,
                             DosDateTime when) {
  // An end record that counts 0xFFFF entries reads as one that needs Zip64.
  if (entries_.size() >= 0xFFFE) throw std::runtime_error("more than 65,534 entries need Zip64");
  const std::string oem = OemName(name);
  const std::vector<uint8_t> extra = IsAscii(name) ? std::vector<uint8_t>{} : UnicodeNameBlock(name);
  if (oem.size() > 0xFFFF) throw std::runtime_error("entry name too long");
  const uint32_t compressedSize = Size32(stored.size(), "a compressed file");
  const uint32_t uncompressedSize = Size32(size, "a file");
  const uint64_t localOffset = position_;

  // What the local header and the central header share; no flags.
  zip::TEntryFields common;
  common.VersionNeeded = kVersion20;
  common.CompressionMethod = method;
  common.LastModTime = when.time;
  common.LastModDate = when.date;
  common.Crc32 = crc;
  common.CompressedSize = compressedSize;
  common.UncompressedSize = uncompressedSize;
  common.NameLength = static_cast<uint16_t>(oem.size());
  common.ExtraLength = static_cast<uint16_t>(extra.size());

  std::vector<uint8_t> local;
  zip::TLocalHeader{common, zip::TLocalHeader::kSignature}.Write(local);
  local.insert(local.end(), oem.begin(), oem.end());
  local.insert(local.end(), extra.begin(), extra.end());
  Write(local);
  Write(stored);

  zip::TCentralHeader header;
  static_cast<zip::TEntryFields&>(header) = common;
  header.Signature = zip::TCentralHeader::kSignature;
  header.VersionMadeBy = kVersion20;
  header.ExternalAttributes = attributes;
  header.LocalHeaderOffset = Size32(localOffset, "the payload");
  std::vector<uint8_t> central;
  header.Write(central);
  central.insert(central.end(), oem.begin(), oem.end());
  central.insert(central.end(), extra.begin(), extra.end());
  entries_.push_back(std::move(central));
}

void ArchiveWriter::AddFolder(rt::WideStringView name, DosDateTime when) {
  if (name.empty() || name.back() != u'/') throw std::logic_error("a folder entry's name ends in '/'");
  AddEntry(name, kStored, 0, {}, 0, kAttrFolder, when);
}

void ArchiveWriter::AddFile(rt::WideStringView name, std::span<const uint8_t> data, DosDateTime when) {
  if (name.empty() || name.back() == u'/') throw std::logic_error("a file entry's name cannot end in '/'");
  AddEntry(name, kDeflated, Crc32(data), Deflate(data), data.size(), kAttrArchive, when);
}

void ArchiveWriter::Finish() {
  const uint64_t directoryOffset = position_;
  for (const auto& header : entries_) Write(header);
  const uint64_t directorySize = position_ - directoryOffset;
  // One disk, no comment.
  zip::TEndRecord end;
  end.EntriesOnDisk = end.TotalEntries = static_cast<uint16_t>(entries_.size());
  end.DirectorySize = Size32(directorySize, "the central directory");
  end.DirectoryOffset = Size32(directoryOffset, "the payload");
  std::vector<uint8_t> bytes;
  end.Write(bytes);
  Write(bytes);
  out_.flush();
  if (!out_) throw std::runtime_error("cannot write the installer");
}

}  // namespace mkinstaller
