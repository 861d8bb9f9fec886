// The adaptive Huffman tree of LZHUF over the 314 literal and length
// symbols. Decoder and encoder keep identical trees by updating them with
// every symbol in the same order.
#pragma once

#include <array>
#include <cstdint>

#include "skin/container/lzh_format.h"

namespace skin::lzh {

class TLzhHuffmanTree {
 public:
  // The starting tree: every symbol with frequency 1, paired off in order.
  void Start();
  // Counts one more occurrence of symbol and restores the sibling order,
  // halving every frequency first when the root has reached the limit.
  void Update(int symbol);

  // Nodes are indices below kTreeSize; son[node] >= kTreeSize marks a leaf
  // holding the symbol son[node] - kTreeSize, otherwise the node's children
  // are son[node] (bit 0) and son[node] + 1 (bit 1). parent[kTreeSize +
  // symbol] is the node of a symbol's leaf.
  uint16_t Son(int node) const { return son_[node]; }
  uint16_t Parent(int node) const { return parent_[node]; }

 private:
  void Reconstruct();

  // One entry beyond the tree: a frequency no count reaches, which ends
  // the search for a node to swap with.
  std::array<uint16_t, kTreeSize + 1> frequency_{};
  std::array<uint16_t, kTreeSize> son_{};
  std::array<uint16_t, kTreeSize + kSymbolCount> parent_{};
};

}  // namespace skin::lzh
