#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <string>

#include "skin/container/lzh.h"
#include "skin/container/lzh_format.h"
#include "skin/container/lzh_huffman.h"
#include "runtime/strings.h"

namespace skin {

namespace {

using namespace lzh;

// Bits most significant first from the read callback. The source is read
// a block at a time and never asked again once it has run dry; from then
// on every bit is 0.
class BitSource {
 public:
  explicit BitSource(const TLzhRead& read) : read_(read) {}

  int Bit() {
    ++used_;
    if (count_ < 9) Fill();
    const int bit = static_cast<int>(bits_ >> 31);
    bits_ <<= 1;
    --count_;
    return bit;
  }

  uint64_t Used() const { return used_; }
  uint64_t BytesRead() const { return readBytes_; }

  int Byte() {
    used_ += 8;
    if (count_ < 9) Fill();
    const int byte = static_cast<int>(bits_ >> 24);
    bits_ <<= 8;
    count_ -= 8;
    return byte;
  }

 private:
  // Tops the buffer up below the bits it holds; taking bytes earlier than
  // strictly needed changes nothing in the bit sequence.
  void Fill() {
    while (count_ <= 24) {
      bits_ |= static_cast<uint32_t>(NextByte()) << (24 - count_);
      count_ += 8;
    }
  }

  uint8_t NextByte() {
    if (position_ == end_) {
      if (exhausted_) return 0;
      position_ = 0;
      end_ = std::min(read_(block_.data(), block_.size()), block_.size());
      readBytes_ += end_;
      if (end_ == 0) {
        exhausted_ = true;
        return 0;
      }
    }
    return block_[position_++];
  }

  const TLzhRead& read_;
  std::array<uint8_t, 4096> block_;
  size_t position_ = 0;
  size_t end_ = 0;
  bool exhausted_ = false;
  uint32_t bits_ = 0;  // left-aligned
  int count_ = 0;
  uint64_t used_ = 0;
  uint64_t readBytes_ = 0;
};

// Collects decoded bytes and hands them to the write callback in blocks.
class ByteSink {
 public:
  explicit ByteSink(const TLzhWrite& write) : write_(write) {}

  void Put(uint8_t byte) {
    block_[size_++] = byte;
    if (size_ == block_.size()) Flush();
  }

  void Flush() {
    if (size_ > 0) write_(block_.data(), size_);
    size_ = 0;
  }

 private:
  const TLzhWrite& write_;
  std::array<uint8_t, 4096> block_;
  size_t size_ = 0;
};

struct DecoderTables {
  TLzhHuffmanTree tree;
  std::array<uint8_t, kRingSize + kLookAhead - 1> ring;
};

std::unique_ptr<DecoderTables> AllocateTables() {
  std::unique_ptr<DecoderTables> tables(new (std::nothrow) DecoderTables);
  if (!tables) throw ElzhException(kLzhNoMemoryMessage);
  return tables;
}

int DecodeChar(TLzhHuffmanTree& tree, BitSource& bits) {
  int c = tree.Son(kRoot);
  while (c < kTreeSize) c = tree.Son(c + bits.Bit());
  c -= kTreeSize;
  tree.Update(c);
  return c;
}

int DecodePosition(BitSource& bits) {
  int i = bits.Byte();
  const int upper = kPositionTables.decodeUpper[i] << 6;
  for (int n = kPositionTables.decodeLength[i] - 2; n > 0; --n) i = (i << 1) + bits.Bit();
  return upper | (i & 0x3F);
}

}  // namespace

TLzhUnpackSummary TLZH::Unpack(uint32_t count, const TLzhWrite& write, const TLzhRead& read) {
  const std::unique_ptr<DecoderTables> tables = AllocateTables();
  TLzhHuffmanTree& tree = tables->tree;
  auto& ring = tables->ring;
  tree.Start();
  std::fill(ring.begin(), ring.begin() + kFirstWritePosition, kRingFill);
  std::fill(ring.begin() + kFirstWritePosition, ring.end(), 0);

  BitSource bits(read);
  ByteSink out(write);
  constexpr int kMask = kRingSize - 1;
  int r = kFirstWritePosition;
  uint64_t produced = 0;
  while (produced < count) {
    const int c = DecodeChar(tree, bits);
    if (c < 256) {
      out.Put(static_cast<uint8_t>(c));
      ring[r] = static_cast<uint8_t>(c);
      r = (r + 1) & kMask;
      ++produced;
      continue;
    }
    const int start = (r - DecodePosition(bits) - 1) & kMask;
    const int length = c - 255 + kThreshold;
    for (int k = 0; k < length; ++k) {
      const uint8_t byte = ring[(start + k) & kMask];
      out.Put(byte);
      ring[r] = byte;
      r = (r + 1) & kMask;
    }
    produced += static_cast<uint64_t>(length);
  }
  out.Flush();
  return {produced, bits.Used(), bits.BytesRead()};
}

namespace {

// Decodes stream into at least count bytes; summary says how far it went.
std::vector<uint8_t> UnpackSpan(std::span<const uint8_t> stream, uint32_t count, TLzhUnpackSummary& summary) {
  std::vector<uint8_t> result;
  result.reserve(static_cast<size_t>(count) + kLookAhead);
  size_t offset = 0;
  summary = TLZH().Unpack(
      count, [&](const uint8_t* bytes, size_t size) { result.insert(result.end(), bytes, bytes + size); },
      [&](uint8_t* buffer, size_t capacity) {
        const size_t n = std::min(capacity, stream.size() - offset);
        std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(offset), n, buffer);
        offset += n;
        return n;
      });
  return result;
}

}  // namespace

std::vector<uint8_t> LzhUnpack(std::span<const uint8_t> stream, uint32_t count) {
  TLzhUnpackSummary summary;
  return UnpackSpan(stream, count, summary);
}

uint64_t LzhMaxUnpackedSize(uint64_t streamSize) {
  // 8 bits a byte, 6 bytes a bit at best, and one match more for the
  // zero bits after the end.
  return streamSize * 48 + kLookAhead;
}

std::vector<uint8_t> LzhUnpackExact(std::span<const uint8_t> stream, uint32_t count) {
  if (count > LzhMaxUnpackedSize(stream.size()))
    throw ElzhException(rt::Utf8ToWide("stated length " + std::to_string(count) + " is more than a stream of " +
                                       std::to_string(stream.size()) + " bytes can hold"));
  TLzhUnpackSummary summary;
  std::vector<uint8_t> result = UnpackSpan(stream, count, summary);
  if (summary.RanDry())
    throw ElzhException(rt::Utf8ToWide("the stream ends early: " + std::to_string(summary.bitsUsed) +
                                       " bits decoded from " + std::to_string(stream.size()) + " bytes"));
  if (summary.produced != count)
    throw ElzhException(rt::Utf8ToWide("the stream decodes past its stated length: " +
                                       std::to_string(summary.produced) + " bytes instead of " +
                                       std::to_string(count)));
  return result;
}

}  // namespace skin
