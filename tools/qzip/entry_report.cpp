#include "tools/qzip/entry_report.h"

#include <cstdio>

#include "zip/archive_format.h"

namespace qzip {

namespace {

constexpr uint16_t kFlagStrongEncryption = 0x40;
constexpr uint16_t kMethodAes = 99;

const char* LongMethodName(uint16_t method) {
  switch (method) {
    case 1: return "shrink";
    case 2: case 3: case 4: case 5: return "reduce";
    case 6: return "implode";
    case 9: return "deflate64";
    case 10: return "PKWARE implode";
    case 12: return "bzip2";
    case 14: return "LZMA";
    case 18: return "IBM TERSE";
    case 19: return "IBM LZ77";
    case 93: return "Zstandard";
    case 95: return "xz";
    case 96: return "JPEG";
    case 97: return "WavPack";
    case 98: return "PPMd";
    default: return nullptr;
  }
}

std::string Hex8(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", value);
  return text;
}

}  // namespace

std::optional<EntryProblem> UnsupportedEntry(const zip::TDirItem& item) {
  if (item.CompressionMethod == kMethodAes) return EntryProblem{3, "encrypted with AES: not supported"};
  if (item.Flags & kFlagStrongEncryption) return EntryProblem{3, "strong encryption: not supported"};
  if (item.CompressionMethod == 0 || item.CompressionMethod == 8) return std::nullopt;
  std::string reason = "unsupported compression method " + std::to_string(item.CompressionMethod);
  if (const char* name = LongMethodName(item.CompressionMethod)) reason += std::string(" (") + name + ")";
  return EntryProblem{3, reason};
}

EntryProblem BadData(const zip::TDirItem& item, uint32_t crc, uint64_t size) {
  if (size < item.TrueUncompressedSize())
    return {2, "damaged data: decoding stops after " + std::to_string(size) + " of " +
                   std::to_string(item.TrueUncompressedSize()) + " bytes"};
  if (size > item.TrueUncompressedSize())
    return {2, "bad size " + std::to_string(size) + " bytes (expected " +
                   std::to_string(item.TrueUncompressedSize()) + ")"};
  if (crc != item.Crc32) return {2, "bad CRC " + Hex8(crc) + " (expected " + Hex8(item.Crc32) + ")"};
  return {2, "damaged data"};
}

std::string MethodName(uint16_t method) {
  switch (method) {
    case 0: return "Stored";
    case 8: return "Defl:N";
    case 9: return "Def64";
    case 12: return "BZip2";
    case 14: return "LZMA";
    case 93: return "Zstd";
    case 95: return "XZ";
    case 98: return "PPMd";
    case kMethodAes: return "AES";
    default: return "Unk:" + std::to_string(method);
  }
}

std::string Printable(const std::string& utf8) {
  std::string shown;
  shown.reserve(utf8.size());
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02x", byte);
      shown += escape;
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string EngineText(const std::string& message) {
  const size_t suffix = message.rfind(" - Native error:");
  return message.substr(0, suffix);
}

}  // namespace qzip
