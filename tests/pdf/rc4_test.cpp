#include "pdf/rc4.h"

#include <gtest/gtest.h>

#include "pdf/encoders.h"

namespace vx::pdf {
namespace {

// The key stream at a given offset: RC4 of zero bytes is the key stream.
std::string KeyStreamHex(std::string_view key, size_t offset) {
  return ASCIIHexEncode(Rc4(key, std::string(offset + 16, '\0')).substr(offset));
}

// RFC 6229: 40-bit keys are what revision 2 protection uses, 128-bit keys
// what revision 3 uses; the stream is checked at its start and after the
// first 256 bytes.
TEST(Rc4, MatchesRfc6229AndXorsTheKeyStream) {
  const std::string key40("\x01\x02\x03\x04\x05", 5);
  EXPECT_EQ(KeyStreamHex(key40, 0), "B2396305F03DC027CCC3524A0A1118A8");
  EXPECT_EQ(KeyStreamHex(key40, 256), "1CFCF62B03EDDB641D77DFCF7F8D8C93");
  const std::string key128("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10", 16);
  EXPECT_EQ(KeyStreamHex(key128, 0), "9AC7CC9A609D1EF7B2932899CDE41B97");
  EXPECT_EQ(KeyStreamHex(key128, 256), "D39D566BC6BCE3010768151549F3873F");
  EXPECT_EQ(ASCIIHexEncode(Rc4("Key", "Plaintext")), "BBF316E8D940AF0AD3");
}

}  // namespace
}  // namespace vx::pdf
