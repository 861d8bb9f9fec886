// A bounded little-endian reader over a span of bytes, for parsers of
// untrusted data. A read that asks for more than remains fails, and the
// failure sticks: every later read fails too and yields zeros, so a parser
// can read a whole group of fields and test Failed() once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rt {

class TByteReader {
 public:
  explicit TByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t Offset() const { return offset_; }
  size_t Remaining() const { return bytes_.size() - offset_; }
  bool AtEnd() const { return Remaining() == 0; }

  bool Failed() const { return failed_; }
  // Where the first failed read started, and how much it asked for.
  size_t FailureOffset() const { return failureOffset_; }
  size_t FailureWanted() const { return failureWanted_; }
  size_t FailureRemaining() const { return bytes_.size() - failureOffset_; }

  // The next n bytes, or an empty span when fewer remain.
  std::span<const uint8_t> Bytes(size_t n) {
    if (!Take(n)) return {};
    return bytes_.subspan(offset_ - n, n);
  }

  uint8_t U8() { return static_cast<uint8_t>(Little(1)); }
  uint16_t U16() { return static_cast<uint16_t>(Little(2)); }
  uint32_t U32() { return static_cast<uint32_t>(Little(4)); }
  uint64_t U64() { return Little(8); }

 private:
  bool Take(size_t n) {
    if (failed_) return false;
    if (n > Remaining()) {
      failed_ = true;
      failureOffset_ = offset_;
      failureWanted_ = n;
      return false;
    }
    offset_ += n;
    return true;
  }

  uint64_t Little(size_t n) {
    const auto b = Bytes(n);
    uint64_t value = 0;
    for (size_t i = b.size(); i-- > 0;) value = value << 8 | b[i];
    return value;
  }

  std::span<const uint8_t> bytes_;
  size_t offset_ = 0;
  bool failed_ = false;
  size_t failureOffset_ = 0;
  size_t failureWanted_ = 0;
};

}  // namespace rt
