#include <gtest/gtest.h>

#include <random>

#include "pdf/encoders.h"
#include "pdf_oracles.h"

namespace vx::pdf {
namespace {

using oracles::MinimalPdf;
using oracles::QpdfDecode;

TEST(ASCIIHex, WritesTwoUpperCaseDigitsPerByte) {
  EXPECT_EQ(ASCIIHexEncode(std::string("\x00\x0F\xA5\xFF\x10", 5)), "000FA5FF10");
  EXPECT_EQ(ASCIIHexEncode(""), "");
}

TEST(ASCII85, EncodesGroupsZerosAndShortTails) {
  EXPECT_EQ(ASCII85Encode("Man "), "9jqo^~>");
  EXPECT_EQ(ASCII85Encode(std::string(8, '\0')), "zz~>");
  // A short final group is never written as 'z'.
  EXPECT_EQ(ASCII85Encode(std::string(3, '\0')), "!!!!~>");
  EXPECT_EQ(ASCII85Encode("."), "/c~>");
  EXPECT_EQ(ASCII85Encode(""), "~>");
  EXPECT_EQ(ASCII85Encode("\xFF\xFF\xFF\xFF"), "s8W-!~>");
}

TEST(RunLength, CodesRunsAndLiteralGroups) {
  EXPECT_EQ(RunLengthEncode("AAAAB"), std::string("\xFD" "A\x00" "B\x80", 5));
  EXPECT_EQ(RunLengthEncode("ABC"), std::string("\x02" "ABC\x80", 5));
  EXPECT_EQ(RunLengthEncode(""), "\x80");
  // Runs and literal groups stop at 128 bytes.
  const std::string encoded = RunLengthEncode(std::string(130, 'x'));
  EXPECT_EQ(encoded, std::string("\x81x\xFFx\x80", 5));
}

// Every filter decodes back through qpdf, over lengths that exercise each
// partial group and both run and literal limits.
TEST(SimpleFilters, DecodeExactlyInQpdf) {
  oracles::ScratchFolder folder;
  std::mt19937 rng(3);
  std::vector<std::string> inputs;
  for (size_t length : {1u, 2u, 3u, 4u, 5u, 127u, 128u, 129u, 257u, 5000u}) {
    std::string random(length, '\0');
    for (char& c : random) c = char(rng());
    inputs.push_back(random);
    std::string runs;
    while (runs.size() < length) runs.append(rng() % 200 + 1, char(rng() % 3));
    inputs.push_back(runs);
  }
  struct Filter {
    const char* name;
    std::string (*encode)(std::string_view);
  };
  for (const Filter& f : {Filter{"/RunLengthDecode", RunLengthEncode},
                          Filter{"/ASCII85Decode", ASCII85Encode},
                          Filter{"/ASCIIHexDecode", ASCIIHexEncode}}) {
    for (const std::string& input : inputs) {
      const std::string path = folder.File("f.pdf");
      oracles::WriteFile(path, MinimalPdf(f.name, f.encode(input)));
      EXPECT_EQ(QpdfDecode(path), input) << f.name << " length " << input.size();
    }
  }
}

}  // namespace
}  // namespace vx::pdf
