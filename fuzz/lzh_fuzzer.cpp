// Decodes arbitrary bytes as a skin file body: the first 4 bytes are the
// unpacked size (held below 256 KiB, enough for several rebuilds of the
// Huffman tree, so that a run stays quick), the rest the LZHUF stream.
// Decoding must end with the size reached and no more than one match
// beyond it; whatever decodes must survive a round trip through the
// encoder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "skin/container/lzh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const uint32_t declared = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
  const uint32_t count = declared & ((1u << 18) - 1);
  const std::span<const uint8_t> stream(data + 4, size - 4);
  const std::vector<uint8_t> decoded = skin::LzhUnpack(stream, count);
  if (decoded.size() < count || decoded.size() >= static_cast<size_t>(count) + 60) std::abort();
  if (decoded.size() <= 64 * 1024) {
    const std::vector<uint8_t> again =
        skin::LzhUnpack(skin::LzhPack(decoded), static_cast<uint32_t>(decoded.size()));
    if (again != decoded) std::abort();
  }
  return 0;
}
