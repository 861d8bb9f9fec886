// A bounded little-endian reader over a span of bytes, for parsers of
// untrusted data. A read that asks for more than remains fails, and the
// failure sticks: every later read fails too and yields zeros, so a parser
// can read a whole group of fields and test Failed() once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "runtime/byte_order.h"

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

  uint8_t U8() { return Little<uint8_t>(); }
  uint16_t U16() { return Little<uint16_t>(); }
  uint32_t U32() { return Little<uint32_t>(); }
  uint64_t U64() { return Little<uint64_t>(); }

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

  template <class T>
  T Little() {
    const auto b = Bytes(sizeof(T));
    return b.empty() ? T{0} : GetLittle<T>(b.data());
  }

  std::span<const uint8_t> bytes_;
  size_t offset_ = 0;
  bool failed_ = false;
  size_t failureOffset_ = 0;
  size_t failureWanted_ = 0;
};

}  // namespace rt
