#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <vector>

#include "pdf/encoders.h"
#include "pdf/md5.h"
#include "pdf_oracles.h"

namespace vx::pdf {
namespace {

// A deliberately plain decoder of the PDF LZW filter (early change 1), kept
// apart from the encoder's design: a table of strings, codes read one bit at
// a time. It rejects any code it could not have received.
std::optional<std::string> ReferenceDecode(std::string_view encoded) {
  std::string out;
  size_t bit = 0;
  auto read = [&](int width) -> std::optional<int> {
    if (bit + size_t(width) > encoded.size() * 8) return std::nullopt;
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit) {
      code = code << 1 | ((uint8_t(encoded[bit / 8]) >> (7 - bit % 8)) & 1);
    }
    return code;
  };
  std::vector<std::string> table;
  auto reset = [&] {
    table.clear();
    for (int i = 0; i < 256; ++i) table.emplace_back(1, char(i));
    table.emplace_back();  // clear
    table.emplace_back();  // end of data
  };
  reset();
  std::optional<std::string> previous;
  bool started = false;
  for (;;) {
    const int next = int(table.size());
    const int width = next + 1 >= 2048 ? 12 : next + 1 >= 1024 ? 11 : next + 1 >= 512 ? 10 : 9;
    const auto code = read(width);
    if (!code) return std::nullopt;  // ran out before the end-of-data code
    if (*code == 256) {
      started = true;
      reset();
      previous.reset();
      continue;
    }
    if (!started) return std::nullopt;  // must begin with a clear code
    if (*code == 257) break;
    std::string entry;
    if (*code < next && *code != 256 && *code != 257) {
      entry = table[size_t(*code)];
    } else if (*code == next && previous) {
      entry = *previous + (*previous)[0];
    } else {
      return std::nullopt;
    }
    if (previous) {
      if (table.size() >= 4096) return std::nullopt;
      table.push_back(*previous + entry[0]);
    }
    out += entry;
    previous = entry;
  }
  // Only zero padding may follow the end-of-data code.
  while (bit % 8 != 0) {
    if ((uint8_t(encoded[bit / 8]) >> (7 - bit % 8)) & 1) return std::nullopt;
    ++bit;
  }
  if (bit / 8 != encoded.size()) return std::nullopt;
  return out;
}

std::string PageText(size_t n) {
  std::string s;
  for (int i = 0; s.size() < n; ++i) {
    s += "BT /F1 10 Tf 56.7 " + std::to_string(800 - i % 700) + " Td (ROSSI MARIO " +
         std::to_string(i * 37 % 1000) + ",00) Tj ET\r";
  }
  s.resize(n);
  return s;
}

TEST(LZW, EncodesTheTextbookExample) {
  // Codes 256 45 258 258 65 259 66 257 in 9 bits.
  EXPECT_EQ(ASCIIHexEncode(LZWEncode("-----A---B", 3)), "800B6050220C0C8501");
  EXPECT_EQ(ASCIIHexEncode(LZWEncode("", 3)), "804040");  // clear, end of data
  EXPECT_EQ(LZWEncode("page text", 9), LZWEncode("page text", 3));
}

// Every length up to a few hundred bytes puts the end of the data at every
// point of the first width change, where the end-of-data code must follow
// the decoder into the wider codes.
TEST(LZW, RoundTripsEveryShortLengthAtEveryQuality) {
  const std::string random = oracles::RandomBytes(700, 1);
  const std::string text = PageText(1500);
  for (int quality = 0; quality <= 3; ++quality) {
    for (size_t n = 0; n <= random.size(); ++n) {
      const auto decoded = ReferenceDecode(LZWEncode(random.substr(0, n), quality));
      ASSERT_TRUE(decoded) << "quality " << quality << " length " << n;
      ASSERT_EQ(*decoded, random.substr(0, n));
    }
    for (size_t n = 1000; n <= text.size(); ++n) {
      const auto decoded = ReferenceDecode(LZWEncode(text.substr(0, n), quality));
      ASSERT_TRUE(decoded) << "quality " << quality << " length " << n;
      ASSERT_EQ(*decoded, text.substr(0, n));
    }
  }
}

// The bytes written never change: these digests were taken from an earlier
// encoder with a table of another design. One encoder kept across streams
// of every size and quality (as a document keeps it) writes the same bytes
// as a fresh one; the last stream is large enough for its memory to be
// taken in large pages, by the kept encoder for its output only.
TEST(LZW, WritesTheSameBytesAsEverAcrossReusedTables) {
  const std::string inputs[] = {PageText(300000), oracles::RandomBytes(20000, 3), std::string(100000, 'a'),
                                PageText(3 << 20)};
  const char* expected[4][4] = {
      {"69CB287513D34DE2848509AD82AEFBB2", "92F2C47235A1873B4AE0DF91867AC36E",
       "975D8B95A8E4CEE2059834C46BFD22E2", "CA6829DFBF19F16606D0DC06C93E1A2F"},
      {"2ECB5B4A9C1F0BA32045FA41462B4A20", "3FAA74E95D28044236D477FEC10D805F",
       "C914A76FB0CC4FB0AF2B289DC7250ED9", "632A369C35B4D3275F163721D8761BB2"},
      {"367ED455A02FF614548CA23C77873031", "2F29A55F074919B936766DB9B98C338F",
       "2F29A55F074919B936766DB9B98C338F", "2F29A55F074919B936766DB9B98C338F"},
      {"93E22A6D23D431FE9D2BD7F2DAA5FE63", "5F696782F4F78A891E7206C7F9BC8F74",
       "7D5B0B5459378D119643778FBF7F50BE", "8A62B13E4C5C8FA4CA9FE4A455179743"}};
  LZWEncoder kept;
  for (int quality = 3; quality >= 0; --quality) {
    for (int i : {1, 0, 2, 3}) {
      const std::string fresh = LZWEncode(inputs[i], quality);
      EXPECT_EQ(ASCIIHexEncode(Md5(fresh)), expected[i][quality]) << i << " quality " << quality;
      EXPECT_EQ(kept.Encode(inputs[i], quality), fresh) << i << " quality " << quality;
      EXPECT_EQ(kept.Encode("x", quality), LZWEncode("x", quality));
    }
  }
}

// qpdf and pikepdf decode what the encoder writes, across table restarts.
TEST(LZW, DecodesInQpdfAndPikepdf) {
  oracles::ScratchFolder folder;
  const std::string inputs[] = {oracles::RandomBytes(20000, 3), PageText(300000), "x",
                                std::string(100000, 'a')};
  for (int quality = 0; quality <= 3; ++quality) {
    for (const std::string& input : inputs) {
      const std::string path = folder.File("lzw.pdf");
      oracles::WriteFile(path, oracles::MinimalPdf("/LZWDecode", LZWEncode(input, quality)));
      EXPECT_EQ(oracles::QpdfDecode(path), input) << "quality " << quality;
      EXPECT_EQ(oracles::PikepdfDecode(path), input) << "quality " << quality;
    }
  }
}

}  // namespace
}  // namespace vx::pdf
