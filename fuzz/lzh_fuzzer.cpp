// Decodes arbitrary bytes as a skin file body: the first 4 bytes are the
// unpacked size, the rest the LZHUF stream. Decoding must end with the
// size reached and no more than one match beyond it, the exact decoder
// must agree or refuse; whatever decodes must survive a round trip through
// the encoder.
//
// Decoding costs about a microsecond per byte under the sanitizers, so the
// output is kept short unless asked for: a size with bit 31 set may reach
// 256 KiB (enough for several rebuilds of the adaptive Huffman tree, which
// comes every 32,768 symbols) at 16 bytes per stream byte; any other is
// held to two bytes per stream byte. More than that from a short stream is
// its missing bytes read as zero bits, the same few paths over and over.
// The encoder is slower still on the repetitive bytes such streams decode
// to, so only outputs of up to 512 bytes go through it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "skin/container/lzh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const uint32_t declared = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
  const std::span<const uint8_t> stream(data + 4, size - 4);
  const bool longOutput = (declared & 0x80000000u) != 0;
  const uint32_t limit = static_cast<uint32_t>(std::min<size_t>((longOutput ? 16 : 2) * stream.size() + 64, (1u << 18) - 1));
  const uint32_t count = std::min<uint32_t>(declared & ((1u << 18) - 1), limit);
  const std::vector<uint8_t> decoded = skin::LzhUnpack(stream, count);
  if (decoded.size() < count || decoded.size() >= static_cast<size_t>(count) + 60) std::abort();
  // The exact decoder gives the same bytes, exactly count of them, or
  // refuses the stream.
  try {
    const std::vector<uint8_t> exact = skin::LzhUnpackExact(stream, count);
    if (exact.size() != count || !std::equal(exact.begin(), exact.end(), decoded.begin())) std::abort();
  } catch (const skin::ElzhException&) {
  }
  if (decoded.size() <= 512) {
    const std::vector<uint8_t> again =
        skin::LzhUnpack(skin::LzhPack(decoded), static_cast<uint32_t>(decoded.size()));
    if (again != decoded) std::abort();
  }
  return 0;
}
