#include <gtest/gtest.h>
#include <zlib.h>

#include <optional>
#include <random>

#include "pdf/encoders.h"
#include "pdf_oracles.h"

namespace vx::pdf {
namespace {

// zlib's inflate, which also checks the header and the Adler-32 trailer.
std::optional<std::string> Inflate(const std::string& compressed, size_t expected_size) {
  std::string out(expected_size + 1, '\0');
  uLongf size = out.size();
  if (uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                 reinterpret_cast<const Bytef*>(compressed.data()),
                 compressed.size()) != Z_OK) {
    return std::nullopt;
  }
  out.resize(size);
  return out;
}

size_t ZlibSize(const std::string& data, int level) {
  std::string out(compressBound(data.size()), '\0');
  uLongf size = out.size();
  compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(data.data()), data.size(), level);
  return size;
}

// Words drawn with a skewed distribution: compresses like report text.
std::string Prose(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::geometric_distribution<int> pick(0.02);
  std::string s;
  while (s.size() < n) {
    s += "w" + std::to_string(pick(rng)) + (rng() % 12 == 0 ? "\r\n" : " ");
  }
  s.resize(n);
  return s;
}

// Bytes with Fibonacci frequencies, shuffled: strongly skewed literals.
std::string FibonacciBytes() {
  std::string s;
  uint64_t a = 1, b = 1;
  for (int symbol = 0; symbol < 22; ++symbol) {
    s.append(size_t(a), char(symbol * 11));
    const uint64_t c = a + b;
    a = b;
    b = c;
  }
  std::shuffle(s.begin(), s.end(), std::mt19937(5));
  return s;
}

std::vector<std::string> Inputs() {
  std::string mixed = Prose(2'000'000, 1) + oracles::RandomBytes(500'000, 2) +
                      std::string(1'000'000, ' ') + Prose(1'000'000, 3);
  // Repeats exactly at and around the largest distance deflate can send.
  std::string far = oracles::RandomBytes(32768, 4);
  far += far.substr(0, 1000) + oracles::RandomBytes(1, 5) + far.substr(0, 1000);
  return {"", "a", "ab", "abc", std::string(300, 'z'), Prose(100000, 6),
          oracles::RandomBytes(1 << 20, 7), std::string(3'000'000, '\0'), mixed, far,
          FibonacciBytes()};
}

TEST(Flate, EmptyInputIsOneFixedBlock) {
  EXPECT_EQ(ASCIIHexEncode(FlateEncode("", 3)), "785E030000000001");
  EXPECT_EQ(FlateEncode("abc", 9), FlateEncode("abc", 3));
}

TEST(Flate, InflatesExactlyWithZlibAtEveryQuality) {
  for (const std::string& input : Inputs()) {
    for (int quality = 0; quality <= 3; ++quality) {
      const std::string compressed = FlateEncode(input, quality);
      ASSERT_GE(compressed.size(), 2u);
      EXPECT_EQ(uint8_t(compressed[0]), 0x78);
      EXPECT_EQ(uint8_t(compressed[1]), 0x5E);
      EXPECT_EQ(Inflate(compressed, input.size()), input)
          << "quality " << quality << " length " << input.size();
    }
  }
}

// Guards against an encoder that merely works: the output must stay within
// 3% of zlib's at the same level, on text and on data that does not compress.
TEST(Flate, CompressesAsWellAsZlibAtTheSameLevel) {
  const std::string inputs[] = {Prose(1'000'000, 8), oracles::RandomBytes(200'000, 9),
                                FibonacciBytes()};
  for (const std::string& input : inputs) {
    for (int quality = 0; quality <= 3; ++quality) {
      const double ours = double(FlateEncode(input, quality).size());
      const double zlib = double(ZlibSize(input, quality + 4));
      EXPECT_LE(ours, zlib * 1.03) << "quality " << quality << " length " << input.size();
    }
  }
}

TEST(Flate, DecodesInQpdfAndPikepdf) {
  oracles::ScratchFolder folder;
  const std::string path = folder.File("flate.pdf");
  for (const std::string& input : {Prose(300000, 10), oracles::RandomBytes(70000, 11)}) {
    oracles::WriteFile(path, oracles::MinimalPdf("/FlateDecode", FlateEncode(input, 3)));
    EXPECT_EQ(oracles::QpdfDecode(path), input);
    EXPECT_EQ(oracles::PikepdfDecode(path), input);
  }
}

}  // namespace
}  // namespace vx::pdf
