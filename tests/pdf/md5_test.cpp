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

// md5sum is the reference. Lengths around the 56- and 64-byte boundaries
// decide whether the length field needs a block of its own.
TEST(Md5, AgreesWithMd5sumAcrossBlockBoundaries) {
  EXPECT_EQ(HexMd5("abc"), "900150983cd24fb0d6963f7d28e17f72");  // RFC 1321
  oracles::ScratchFolder folder;
  std::mt19937 rng(7);
  for (size_t length : {0u, 1u, 55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u, 100000u}) {
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
