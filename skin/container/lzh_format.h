// The fixed parts of the LZHUF format, shared by the decoder and the
// encoder: the ring and symbol constants and the prefix code that carries
// the upper 6 bits of a match position.
#pragma once

#include <array>
#include <cstdint>

namespace skin::lzh {

inline constexpr int kRingSize = 4096;         // N
inline constexpr int kLookAhead = 60;          // F: the longest match
inline constexpr int kThreshold = 2;           // a match must be longer than this
inline constexpr int kSymbolCount = 256 - kThreshold + kLookAhead;  // 314 literals and lengths
inline constexpr int kTreeSize = 2 * kSymbolCount - 1;              // T = 627
inline constexpr int kRoot = kTreeSize - 1;                          // R = 626
inline constexpr uint16_t kMaxFrequency = 0x8000;
// The ring starts filled with spaces up to where the first byte goes.
inline constexpr int kFirstWritePosition = kRingSize - kLookAhead;  // 4036
inline constexpr uint8_t kRingFill = 0x20;

// The position code: the upper 6 bits u of a position are sent as the
// first PrefixLength(u) bits of a byte; every byte that begins with that
// prefix decodes to u. Groups of upper values share a code length:
// {how many upper values, code length}.
struct PositionCodeGroup {
  int values;
  int length;
};
inline constexpr PositionCodeGroup kPositionCodeGroups[] = {
    {1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}};

struct PositionTables {
  // Indexed by the first byte read: the upper 6 bits and the code length.
  std::array<uint8_t, 256> decodeUpper{};
  std::array<uint8_t, 256> decodeLength{};
  // Indexed by the upper 6 bits: the code, left-aligned in a byte, and its length.
  std::array<uint8_t, 64> encodeCode{};
  std::array<uint8_t, 64> encodeLength{};
};

constexpr PositionTables MakePositionTables() {
  PositionTables t;
  int upper = 0;
  int byte = 0;
  for (const auto& group : kPositionCodeGroups) {
    const int bytesPerValue = 256 >> group.length;
    for (int v = 0; v < group.values; ++v, ++upper) {
      t.encodeCode[upper] = static_cast<uint8_t>(byte);
      t.encodeLength[upper] = static_cast<uint8_t>(group.length);
      for (int k = 0; k < bytesPerValue; ++k, ++byte) {
        t.decodeUpper[byte] = static_cast<uint8_t>(upper);
        t.decodeLength[byte] = static_cast<uint8_t>(group.length);
      }
    }
  }
  return t;
}

inline constexpr PositionTables kPositionTables = MakePositionTables();

static_assert(kPositionTables.decodeUpper[31] == 0 && kPositionTables.decodeUpper[32] == 1);
static_assert(kPositionTables.decodeUpper[80] == 4 && kPositionTables.decodeUpper[255] == 63);
static_assert(kPositionTables.decodeLength[79] == 4 && kPositionTables.decodeLength[240] == 8);

}  // namespace skin::lzh
