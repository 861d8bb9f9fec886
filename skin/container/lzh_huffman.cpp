#include "skin/container/lzh_huffman.h"

#include <algorithm>

namespace skin::lzh {

void TLzhHuffmanTree::Start() {
  for (int i = 0; i < kSymbolCount; ++i) {
    frequency_[i] = 1;
    son_[i] = static_cast<uint16_t>(i + kTreeSize);
    parent_[i + kTreeSize] = static_cast<uint16_t>(i);
  }
  for (int i = 0, j = kSymbolCount; j <= kRoot; i += 2, ++j) {
    frequency_[j] = static_cast<uint16_t>(frequency_[i] + frequency_[i + 1]);
    son_[j] = static_cast<uint16_t>(i);
    parent_[i] = parent_[i + 1] = static_cast<uint16_t>(j);
  }
  frequency_[kTreeSize] = 0xFFFF;
  parent_[kRoot] = 0;
}

// Keeps the leaves in their order with their counts halved (rounded up, so
// none drops to 0), then pairs nodes off again from the smallest, placing
// each new inner node after every node of no greater frequency.
void TLzhHuffmanTree::Reconstruct() {
  int leaves = 0;
  for (int i = 0; i < kTreeSize; ++i) {
    if (son_[i] >= kTreeSize) {
      frequency_[leaves] = static_cast<uint16_t>((frequency_[i] + 1) / 2);
      son_[leaves] = son_[i];
      ++leaves;
    }
  }
  for (int i = 0, j = kSymbolCount; j < kTreeSize; i += 2, ++j) {
    const uint16_t f = static_cast<uint16_t>(frequency_[i] + frequency_[i + 1]);
    int k = j - 1;
    while (f < frequency_[k]) --k;
    ++k;
    std::copy_backward(frequency_.begin() + k, frequency_.begin() + j, frequency_.begin() + j + 1);
    std::copy_backward(son_.begin() + k, son_.begin() + j, son_.begin() + j + 1);
    frequency_[k] = f;
    son_[k] = static_cast<uint16_t>(i);
  }
  for (int i = 0; i < kTreeSize; ++i) {
    const int k = son_[i];
    parent_[k] = static_cast<uint16_t>(i);
    if (k < kTreeSize) parent_[k + 1] = static_cast<uint16_t>(i);
  }
}

// Frequencies stay in ascending order by node index. When a count grows
// past its right neighbour's, the node trades places with the last node of
// a smaller count, taking its subtree along.
void TLzhHuffmanTree::Update(int symbol) {
  if (frequency_[kRoot] == kMaxFrequency) Reconstruct();
  int c = parent_[symbol + kTreeSize];
  do {
    const uint16_t k = ++frequency_[c];
    int l = c + 1;
    if (k > frequency_[l]) {
      while (k > frequency_[++l]) {
      }
      --l;
      frequency_[c] = frequency_[l];
      frequency_[l] = k;

      const int i = son_[c];
      parent_[i] = static_cast<uint16_t>(l);
      if (i < kTreeSize) parent_[i + 1] = static_cast<uint16_t>(l);

      const int j = son_[l];
      son_[l] = static_cast<uint16_t>(i);
      parent_[j] = static_cast<uint16_t>(c);
      if (j < kTreeSize) parent_[j + 1] = static_cast<uint16_t>(c);
      son_[c] = static_cast<uint16_t>(j);
      c = l;
    }
    c = parent_[c];
  } while (c != 0);
}

}  // namespace skin::lzh
