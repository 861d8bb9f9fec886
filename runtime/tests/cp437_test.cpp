#include "runtime/cp437.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(CodePage437, EveryByteRoundTrips) {
  for (int byte = 0; byte < 256; ++byte) {
    const char16_t c = Cp437ToWide(static_cast<unsigned char>(byte));
    EXPECT_EQ(WideToCp437(c), std::optional<unsigned char>(byte)) << "byte 0x" << std::hex << byte;
  }
}

TEST(CodePage437, TableEndsSitWhereTheyBelong) {
  const struct {
    unsigned char byte;
    char16_t c;
  } cases[] = {
      {0x7F, 0x007F}, {0x80, 0x00C7}, {0x9E, 0x20A7}, {0xB0, 0x2591},
      {0xE1, 0x00DF}, {0xFE, 0x25A0}, {0xFF, 0x00A0},
  };
  for (const auto& k : cases) EXPECT_EQ(Cp437ToWide(k.byte), k.c) << "byte 0x" << std::hex << int{k.byte};
}

TEST(CodePage437, CharactersItLacksHaveNoByte) {
  for (const char16_t c : {char16_t{0x0080}, char16_t{0x00C0}, char16_t{0x20AC}, char16_t{0xD83D}, char16_t{0xFFFD}})
    EXPECT_EQ(WideToCp437(c), std::nullopt) << "U+" << std::hex << int{c};
}

}  // namespace
}  // namespace rt
