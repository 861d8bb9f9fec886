#pragma once
// A byte buffer for the entry decoder's input and output chunks. Unlike a
// vector it does not zero what it allocates: every byte is written by the
// archive read or by zlib before it is looked at, and clearing up to a
// megabyte per entry (and touching every page of it) was a measurable part
// of extracting many small files.

#include <cstdint>
#include <cstring>
#include <memory>

namespace zip {

class TDecodeBuffer {
 public:
  // Makes the buffer hold at least size bytes, keeping the first keep
  // bytes it holds; returns its start.
  uint8_t* Reserve(size_t size, size_t keep = 0) {
    if (size > capacity_) {
      std::unique_ptr<uint8_t[]> larger(new uint8_t[size]);
      if (keep > 0) std::memcpy(larger.get(), bytes_.get(), keep < capacity_ ? keep : capacity_);
      bytes_ = std::move(larger);
      capacity_ = size;
    }
    return bytes_.get();
  }

  uint8_t* Data() const { return bytes_.get(); }
  size_t Capacity() const { return capacity_; }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  size_t capacity_ = 0;
};

}  // namespace zip
