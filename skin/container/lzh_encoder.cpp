// The encoding half of LZHUF. Matches are found with a binary search tree
// of the ring positions (one tree per first byte), the classic LZSS way:
// every position in the window is a node, ordered by the 60 bytes that
// start there, so inserting the next position finds its longest match.
#include <algorithm>
#include <array>
#include <memory>

#include "skin/container/lzh.h"
#include "skin/container/lzh_format.h"
#include "skin/container/lzh_huffman.h"

namespace skin {

namespace {

using namespace lzh;

constexpr int kNil = kRingSize;  // no node
constexpr int kMask = kRingSize - 1;

class BitSink {
 public:
  explicit BitSink(std::vector<uint8_t>& out) : out_(out) {}

  // The low length bits of value, most significant first.
  void Put(uint32_t value, int length) {
    bits_ = (bits_ << length) | (value & ((uint64_t{1} << length) - 1));
    count_ += length;
    while (count_ >= 8) {
      count_ -= 8;
      out_.push_back(static_cast<uint8_t>(bits_ >> count_));
    }
    bits_ &= (uint64_t{1} << count_) - 1;
  }

  // The last byte is filled up with zero bits.
  void Finish() {
    if (count_ > 0) out_.push_back(static_cast<uint8_t>(bits_ << (8 - count_)));
    count_ = 0;
    bits_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t bits_ = 0;
  int count_ = 0;
};

class Encoder {
 public:
  explicit Encoder(std::vector<uint8_t>& out) : bits_(out) {}

  void Encode(std::span<const uint8_t> data);

 private:
  void InitTree();
  void InsertNode(int r);
  void DeleteNode(int p);
  void EncodeChar(int symbol);
  void EncodePosition(int position);

  BitSink bits_;
  TLzhHuffmanTree huffman_;
  // The ring, with its first kLookAhead - 1 bytes repeated after its end so
  // that a comparison of 60 bytes never has to wrap.
  std::array<uint8_t, kRingSize + kLookAhead - 1> ring_{};
  // Search trees: left and right child and parent of each position; the
  // roots, one per first byte, hang below rson_[kRingSize + 1 + byte].
  std::array<int, kRingSize + 1> lson_{};
  std::array<int, kRingSize + 257> rson_{};
  std::array<int, kRingSize + 1> dad_{};
  int matchPosition_ = 0;
  int matchLength_ = 0;
};

void Encoder::InitTree() {
  for (int i = kRingSize + 1; i <= kRingSize + 256; ++i) rson_[i] = kNil;
  for (int i = 0; i < kRingSize; ++i) dad_[i] = kNil;
}

// Inserts the string at r into its tree and leaves the longest match found
// on the way (the nearest one among equals) in matchPosition_ and
// matchLength_. A string equal over all 60 bytes replaces the older node.
void Encoder::InsertNode(int r) {
  const uint8_t* key = &ring_[r];
  int p = kRingSize + 1 + key[0];
  int cmp = 1;
  rson_[r] = lson_[r] = kNil;
  matchLength_ = 0;
  for (;;) {
    if (cmp >= 0) {
      if (rson_[p] == kNil) {
        rson_[p] = r;
        dad_[r] = p;
        return;
      }
      p = rson_[p];
    } else {
      if (lson_[p] == kNil) {
        lson_[p] = r;
        dad_[r] = p;
        return;
      }
      p = lson_[p];
    }
    int i = 1;
    for (; i < kLookAhead; ++i) {
      cmp = key[i] - ring_[p + i];
      if (cmp != 0) break;
    }
    if (i > kThreshold) {
      const int position = ((r - p) & kMask) - 1;
      if (i > matchLength_) {
        matchPosition_ = position;
        matchLength_ = i;
        if (matchLength_ >= kLookAhead) break;
      } else if (i == matchLength_ && position < matchPosition_) {
        matchPosition_ = position;
      }
    }
  }
  // r takes p's place in the tree.
  dad_[r] = dad_[p];
  lson_[r] = lson_[p];
  rson_[r] = rson_[p];
  dad_[lson_[p]] = r;
  dad_[rson_[p]] = r;
  if (rson_[dad_[p]] == p)
    rson_[dad_[p]] = r;
  else
    lson_[dad_[p]] = r;
  dad_[p] = kNil;
}

void Encoder::DeleteNode(int p) {
  if (dad_[p] == kNil) return;
  int q;
  if (rson_[p] == kNil) {
    q = lson_[p];
  } else if (lson_[p] == kNil) {
    q = rson_[p];
  } else {
    // Replace p by its predecessor, the rightmost node of its left subtree.
    q = lson_[p];
    if (rson_[q] != kNil) {
      do {
        q = rson_[q];
      } while (rson_[q] != kNil);
      rson_[dad_[q]] = lson_[q];
      dad_[lson_[q]] = dad_[q];
      lson_[q] = lson_[p];
      dad_[lson_[p]] = q;
    }
    rson_[q] = rson_[p];
    dad_[rson_[p]] = q;
  }
  dad_[q] = dad_[p];
  if (rson_[dad_[p]] == p)
    rson_[dad_[p]] = q;
  else
    lson_[dad_[p]] = q;
  dad_[p] = kNil;
}

// The path from the root to the symbol's leaf: at each node, 1 when it is
// the second child of its parent. Codes may exceed 16 bits.
void Encoder::EncodeChar(int symbol) {
  uint32_t code = 0;
  int length = 0;
  for (int k = huffman_.Parent(symbol + kTreeSize); k != kRoot; k = huffman_.Parent(k)) {
    const int bit = k - huffman_.Son(huffman_.Parent(k));
    code |= static_cast<uint32_t>(bit) << length;
    ++length;
  }
  bits_.Put(code, length);
  huffman_.Update(symbol);
}

void Encoder::EncodePosition(int position) {
  const int upper = position >> 6;
  const int length = kPositionTables.encodeLength[upper];
  bits_.Put(kPositionTables.encodeCode[upper] >> (8 - length), length);
  bits_.Put(static_cast<uint32_t>(position & 0x3F), 6);
}

void Encoder::Encode(std::span<const uint8_t> data) {
  if (data.empty()) return;
  size_t next = 0;  // the next input byte to enter the ring
  huffman_.Start();
  InitTree();
  int s = 0;
  int r = kFirstWritePosition;
  std::fill(ring_.begin(), ring_.begin() + r, kRingFill);
  int len = 0;
  for (; len < kLookAhead && next < data.size(); ++len) ring_[r + len] = data[next++];
  // The spaces before r can be matched from the start.
  for (int i = 1; i <= kLookAhead; ++i) InsertNode(r - i);
  InsertNode(r);
  do {
    if (matchLength_ > len) matchLength_ = len;
    if (matchLength_ <= kThreshold) {
      matchLength_ = 1;
      EncodeChar(ring_[r]);
    } else {
      EncodeChar(255 - kThreshold + matchLength_);
      EncodePosition(matchPosition_);
    }
    const int lastMatchLength = matchLength_;
    int i = 0;
    for (; i < lastMatchLength && next < data.size(); ++i) {
      DeleteNode(s);
      const uint8_t c = data[next++];
      ring_[s] = c;
      if (s < kLookAhead - 1) ring_[s + kRingSize] = c;
      s = (s + 1) & kMask;
      r = (r + 1) & kMask;
      InsertNode(r);
    }
    // The input has ended: the look-ahead shrinks.
    for (; i < lastMatchLength; ++i) {
      DeleteNode(s);
      s = (s + 1) & kMask;
      r = (r + 1) & kMask;
      if (--len) InsertNode(r);
    }
  } while (len > 0);
  bits_.Finish();
}

}  // namespace

std::vector<uint8_t> LzhPack(std::span<const uint8_t> data) {
  std::vector<uint8_t> out;
  out.reserve(data.size() / 2 + 16);
  // About 60 KB of tables: on the heap, not the stack.
  const auto encoder = std::make_unique<Encoder>(out);
  encoder->Encode(data);
  return out;
}

}  // namespace skin
