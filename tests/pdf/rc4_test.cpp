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
// what revision 3 uses.
TEST(Rc4, MatchesRfc6229For40BitKey) {
  const std::string key("\x01\x02\x03\x04\x05", 5);
  EXPECT_EQ(KeyStreamHex(key, 0), "B2396305F03DC027CCC3524A0A1118A8");
  EXPECT_EQ(KeyStreamHex(key, 16), "6982944F18FC82D589C403A47A0D0919");
  EXPECT_EQ(KeyStreamHex(key, 240), "28CB1132C96CE286421DCAADB8B69EAE");
  EXPECT_EQ(KeyStreamHex(key, 256), "1CFCF62B03EDDB641D77DFCF7F8D8C93");
}

TEST(Rc4, MatchesRfc6229For128BitKey) {
  const std::string key(
      "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10", 16);
  EXPECT_EQ(KeyStreamHex(key, 0), "9AC7CC9A609D1EF7B2932899CDE41B97");
  EXPECT_EQ(KeyStreamHex(key, 16), "5248C4959014126A6E8A84F11D1A9E1C");
  EXPECT_EQ(KeyStreamHex(key, 240), "065902E4B620F6CC36C8589F66432F2B");
  EXPECT_EQ(KeyStreamHex(key, 256), "D39D566BC6BCE3010768151549F3873F");
}

TEST(Rc4, EncryptsByXoringTheKeyStream) {
  const std::string key("Key");
  // The classic "Key" / "Plaintext" example.
  EXPECT_EQ(ASCIIHexEncode(Rc4(key, "Plaintext")), "BBF316E8D940AF0AD3");
  EXPECT_EQ(Rc4(key, Rc4(key, "Plaintext")), "Plaintext");
}

}  // namespace
}  // namespace vx::pdf
