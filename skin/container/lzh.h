// LZHUF: LZSS over a 4096-byte ring with an adaptive Huffman code for
// literals and match lengths, the format of packed skin archives. TLZH
// decodes a stream between two callbacks; LzhUnpack and LzhPack work on
// memory. Streams here are the bit stream alone, without the size that a
// skin file puts in front of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "runtime/exceptions.h"

namespace skin {

class ElzhException : public rt::Exception {
  using rt::Exception::Exception;
};

// The decoder's messages. Freeing cannot fail here, so the second one is
// never raised; it is kept for callers that show the decoder's texts.
inline constexpr char16_t kLzhNoMemoryMessage[] = u"LZH : Cannot get memory for dictionary tables";
inline constexpr char16_t kLzhFreeFailedMessage[] = u"LZH : Error freeing memory for dictionary tables";

// Moves up to capacity bytes of the packed stream into buffer and returns
// how many; 0 when the source has no more.
using TLzhRead = std::function<size_t(uint8_t* buffer, size_t capacity)>;
// Takes the next size decoded bytes.
using TLzhWrite = std::function<void(const uint8_t* bytes, size_t size)>;

// What a decoding took and gave: a caller that must not accept damage
// compares these with what the stream should hold.
struct TLzhUnpackSummary {
  uint64_t produced = 0;   // bytes written, count or up to 59 more
  uint64_t bitsUsed = 0;   // bits the codes took from the source
  uint64_t bytesRead = 0;  // bytes the source gave
  // The codes took bits the source never had: the stream ended early.
  bool RanDry() const { return bitsUsed > bytesRead * 8; }
};

class TLZH {
 public:
  // Decodes until count bytes have been written. A match that runs past
  // count is written whole, so up to 59 bytes more may come. Once the
  // source is exhausted its missing bytes read as zero bits, and decoding
  // goes on to count. Raises ElzhException when its tables cannot be had.
  TLzhUnpackSummary Unpack(uint32_t count, const TLzhWrite& write, const TLzhRead& read);
};

// Decodes stream into at least count bytes (see TLZH::Unpack). The caller
// bounds count: the output is as large whatever the stream holds.
std::vector<uint8_t> LzhUnpack(std::span<const uint8_t> stream, uint32_t count);

// The most bytes a stream of streamSize bytes can decode to: a match of
// 60 bytes takes at least 10 bits.
uint64_t LzhMaxUnpackedSize(uint64_t streamSize);

// Decodes stream into exactly count bytes, or raises ElzhException saying
// why it cannot: a count more than the stream can hold, a stream that ends
// before count bytes, or one whose last match runs past count.
std::vector<uint8_t> LzhUnpackExact(std::span<const uint8_t> stream, uint32_t count);

// Encodes data so that LzhUnpack(result, data.size()) gives data back
// exactly; empty data gives an empty stream.
std::vector<uint8_t> LzhPack(std::span<const uint8_t> data);

}  // namespace skin
