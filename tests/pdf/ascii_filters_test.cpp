#include <gtest/gtest.h>

#include <random>

#include "pdf/encoders.h"
#include "pdf_oracles.h"

namespace vx::pdf {
namespace {

using oracles::MinimalPdf;
using oracles::QpdfDecode;

// What decoding cannot tell: upper-case digits (the document identifier is
// written with them), whole zero groups as 'z' but never a short final one,
// and a run as soon as two bytes repeat.
TEST(SimpleFilters, WriteTheShortestOfEquivalentForms) {
  EXPECT_EQ(ASCIIHexEncode(std::string("\x00\x0F\xA5\xFF\x10", 5)), "000FA5FF10");
  EXPECT_EQ(ASCII85Encode(std::string(8, '\0')), "zz~>");
  EXPECT_EQ(ASCII85Encode(std::string(3, '\0')), "!!!!~>");
  EXPECT_EQ(RunLengthEncode("AAAAB"), std::string("\xFD" "A\x00" "B\x80", 5));
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
