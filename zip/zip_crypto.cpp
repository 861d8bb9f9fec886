#include "zip/zip_crypto.h"

#include <array>

namespace zip {

namespace {

// The keys take CRC-32 steps without the pre- and post-inversion of the
// checksum, one byte at a time.
constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t CrcStep(uint32_t crc, uint8_t byte) { return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8); }

}  // namespace

TZipCipher::TZipCipher(std::string_view password) : keys_{0x12345678, 0x23456789, 0x34567890} {
  for (char c : password) UpdateKeys(static_cast<uint8_t>(c));
}

void TZipCipher::UpdateKeys(uint8_t plain) {
  keys_[0] = CrcStep(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
  keys_[2] = CrcStep(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
}

bool TZipCipher::CheckHeader(const uint8_t* header, uint8_t checkByte) {
  uint8_t plain[kEncryptionHeaderSize];
  for (size_t i = 0; i < kEncryptionHeaderSize; ++i) plain[i] = header[i];
  Decrypt(plain, kEncryptionHeaderSize);
  return plain[kEncryptionHeaderSize - 1] == checkByte;
}

void TZipCipher::Decrypt(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    const uint8_t plain = data[i] ^ KeyStreamByte();
    UpdateKeys(plain);
    data[i] = plain;
  }
}

void TZipCipher::Encrypt(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    const uint8_t plain = data[i];
    data[i] = plain ^ KeyStreamByte();
    UpdateKeys(plain);
  }
}

}  // namespace zip
