// CRC-32 of the ZIP format (reflected polynomial 0xEDB88320).
#pragma once

#include <cstddef>
#include <cstdint>

namespace zip {

// Continues a running CRC: start from 0, feed every piece in order.
uint32_t UpdateCrc32(uint32_t crc, const void* data, size_t size);

}  // namespace zip
