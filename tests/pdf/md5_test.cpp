#include "pdf/md5.h"

#include <gtest/gtest.h>

#include <random>

#include "pdf/encoders.h"
#include "pdf_oracles.h"

namespace vx::pdf {
namespace {

std::string HexMd5(std::string_view data) {
  std::string hex = ASCIIHexEncode(Md5(data));
  for (char& c : hex) c = char(std::tolower(static_cast<unsigned char>(c)));
  return hex;
}

TEST(Md5, MatchesTheRfc1321TestSuite) {
  EXPECT_EQ(HexMd5(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(HexMd5("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(HexMd5("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(HexMd5("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(HexMd5("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(HexMd5("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(HexMd5("1234567890123456789012345678901234567890"
                   "1234567890123456789012345678901234567890"),
            "57edf4a22be3c955ac49da2e2107b67a");
}

// Lengths around the 56- and 64-byte boundaries decide whether the length
// field needs a block of its own; md5sum is the reference.
TEST(Md5, AgreesWithMd5sumAcrossBlockBoundaries) {
  oracles::ScratchFolder folder;
  std::mt19937 rng(7);
  for (size_t length : {55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u, 100000u}) {
    std::string data(length, '\0');
    for (char& c : data) c = char(rng());
    const std::string path = folder.File("input");
    oracles::WriteFile(path, data);
    const auto r = oracles::RunCommand("md5sum " + oracles::Quote(path));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(HexMd5(data), r.output.substr(0, 32)) << "length " << length;
  }
}

}  // namespace
}  // namespace vx::pdf
