// The traditional encryption of ZIP entries: a stream cipher of three
// 32-bit keys that every plaintext byte stirs. An encrypted entry's data
// starts with a 12-byte header whose last byte, once decrypted, tells
// whether the password was right (with odds of 1 in 256 of a false yes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zip {

inline constexpr size_t kEncryptionHeaderSize = 12;

class TZipCipher {
 public:
  explicit TZipCipher(std::string_view password);

  // Decrypts the header (a copy of it; the bytes stay as they are) and
  // says whether its last byte is checkByte. The keys move on over the
  // header either way, ready for the data that follows.
  bool CheckHeader(const uint8_t* header, uint8_t checkByte);

  void Decrypt(uint8_t* data, size_t size);
  void Encrypt(uint8_t* data, size_t size);

 private:
  uint8_t KeyStreamByte() const {
    const uint32_t t = (keys_[2] & 0xFFFF) | 2;
    return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
  }
  void UpdateKeys(uint8_t plain);

  uint32_t keys_[3];
};

}  // namespace zip
