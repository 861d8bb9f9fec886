// Little-endian fields in byte buffers, independent of the host's byte
// order and alignment: read and written in place, or appended to a buffer.
// Every little-endian format of the tree reads and writes through these.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt {

template <std::unsigned_integral T>
T GetLittle(const uint8_t* p) {
  T value = 0;
  for (size_t i = sizeof(T); i-- > 0;) value = static_cast<T>(value << 8 | p[i]);
  return value;
}

template <std::unsigned_integral T>
void PutLittle(uint8_t* p, T value) {
  for (size_t i = 0; i < sizeof(T); ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

template <std::unsigned_integral T>
void AppendLittle(std::vector<uint8_t>& out, T value) {
  for (size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The fixed widths by name, so that a value of another type is converted
// to the width the format stores rather than deciding it.
inline uint16_t GetU16(const uint8_t* p) { return GetLittle<uint16_t>(p); }
inline uint32_t GetU32(const uint8_t* p) { return GetLittle<uint32_t>(p); }
inline uint64_t GetU64(const uint8_t* p) { return GetLittle<uint64_t>(p); }

inline void PutU16(uint8_t* p, uint16_t v) { PutLittle(p, v); }
inline void PutU32(uint8_t* p, uint32_t v) { PutLittle(p, v); }
inline void PutU64(uint8_t* p, uint64_t v) { PutLittle(p, v); }

inline void AppendU16(std::vector<uint8_t>& out, uint16_t v) { AppendLittle(out, v); }
inline void AppendU32(std::vector<uint8_t>& out, uint32_t v) { AppendLittle(out, v); }
inline void AppendU64(std::vector<uint8_t>& out, uint64_t v) { AppendLittle(out, v); }

}  // namespace rt
