// Sequential reads of an archive's records through a window of the stream,
// so that a directory of many small records costs few reads of the stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/streams.h"

namespace zip {

class TDirectoryReader {
 public:
  explicit TDirectoryReader(rt::TStream* stream) { Reset(stream, 0); }

  // Reads from position of stream on.
  void Reset(rt::TStream* stream, int64_t position);

  int64_t Position() const { return position_; }
  int64_t Remaining() const;

  // The whole count, or the stream's read error.
  void Read(uint8_t* out, size_t count);
  // Moves on by count bytes, or raises the stream's read error.
  void Skip(uint64_t count);

 private:
  void Fill();

  rt::TStream* stream_ = nullptr;
  int64_t size_ = 0;
  int64_t position_ = 0;
  int64_t bufferStart_ = 0;
  std::vector<uint8_t> buffer_;
};

}  // namespace zip
