// Decoding of a whole deflate stream held in memory, in one call. Much
// faster than the streaming inflater (about twice on this machine's
// processors), but it needs the whole input and room for the whole
// output, so the entry decoder takes it only for entries of bounded size.
#pragma once

#include <cstddef>
#include <cstdint>

struct libdeflate_decompressor;

namespace zip {

class TWholeDeflateDecoder {
 public:
  TWholeDeflateDecoder();
  ~TWholeDeflateDecoder();
  TWholeDeflateDecoder(const TWholeDeflateDecoder&) = delete;
  TWholeDeflateDecoder& operator=(const TWholeDeflateDecoder&) = delete;

  // Decodes the raw deflate stream at the start of input into output and
  // returns the decoded length; bytes after the stream's final block are
  // ignored. Returns -1 when the stream is damaged, ends before its final
  // block, or decodes to more than capacity bytes.
  int64_t Decode(const uint8_t* input, size_t inputSize, uint8_t* output, size_t capacity);

 private:
  libdeflate_decompressor* decompressor_;
};

}  // namespace zip
