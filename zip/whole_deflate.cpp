#include "zip/whole_deflate.h"

#include <libdeflate.h>

#include <new>

namespace zip {

TWholeDeflateDecoder::TWholeDeflateDecoder() : decompressor_(libdeflate_alloc_decompressor()) {
  if (!decompressor_) throw std::bad_alloc();
}

TWholeDeflateDecoder::~TWholeDeflateDecoder() { libdeflate_free_decompressor(decompressor_); }

int64_t TWholeDeflateDecoder::Decode(const uint8_t* input, size_t inputSize, uint8_t* output,
                                     size_t capacity) {
  size_t consumed = 0;
  size_t produced = 0;
  const libdeflate_result result = libdeflate_deflate_decompress_ex(
      decompressor_, input, inputSize, output, capacity, &consumed, &produced);
  return result == LIBDEFLATE_SUCCESS ? static_cast<int64_t>(produced) : -1;
}

}  // namespace zip
