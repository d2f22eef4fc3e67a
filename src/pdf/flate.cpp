#include "pdf/encoders.h"

#include "pdf/huffman.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace vx::pdf {

namespace {

// Matching effort of deflate levels 0 to 9; quality 0..3 uses levels 4..7.
struct LevelParameters {
  int good_length;  // a match this long already: search a quarter as far
  int lazy_limit;   // a match this long already: do not look for a better one
  int nice_length;  // a match this long: stop searching
  int chain_limit;  // at most this many earlier positions are tried
};
constexpr std::array<LevelParameters, 10> kLevels = {{{0, 0, 0, 0},
                                                      {4, 4, 8, 4},
                                                      {4, 5, 16, 8},
                                                      {4, 6, 32, 32},
                                                      {4, 4, 16, 16},
                                                      {8, 16, 32, 32},
                                                      {8, 16, 128, 128},
                                                      {8, 32, 128, 256},
                                                      {32, 128, 258, 1024},
                                                      {32, 258, 258, 4096}}};

constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 258;
constexpr int kWindowBits = 15;
constexpr int32_t kWindowSize = 1 << kWindowBits;
constexpr int32_t kWindowMask = kWindowSize - 1;
// A chain entry exactly one window back shares its slot with the position
// being searched, so distances stop one short of the window.
constexpr int32_t kMaxDistance = kWindowSize - 1;
// A three-byte match farther back than this costs more than three literals.
constexpr int32_t kTooFar = 4096;
constexpr int kHashBits = 15;
// Symbols gathered before a block is coded. Blocks of this size let the
// dynamic codes follow changes in the data while their header stays cheap.
constexpr size_t kBlockSymbols = 16383;

constexpr int kLiteralCodes = 286;
constexpr int kDistanceCodes = 30;
constexpr int kCodeLengthCodes = 19;
constexpr int kEndOfBlock = 256;
constexpr int kMaxCodeBits = 15;
constexpr int kMaxCodeLengthBits = 7;
constexpr std::array<uint8_t, kCodeLengthCodes> kCodeLengthOrder = {
    16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Length and distance codes with their extra bits, computed once.
struct SymbolTables {
  std::array<uint16_t, 256> length_code{};     // by length - 3
  std::array<uint8_t, 29> length_extra{};
  std::array<uint16_t, 29> length_base{};
  std::array<uint8_t, 512> distance_code{};    // by (distance - 1), see below
  std::array<uint8_t, 30> distance_extra{};
  std::array<uint16_t, 30> distance_base{};

  SymbolTables() {
    int length = 0;
    for (int code = 0; code < 28; ++code) {
      length_extra[code] = uint8_t(code < 8 ? 0 : (code - 4) / 4);
      length_base[code] = uint16_t(length);
      for (int i = 0; i < (1 << length_extra[code]); ++i) {
        length_code[length++] = uint16_t(code);
      }
    }
    // Length 258 has a code of its own rather than 227 + 31.
    length_code[255] = 28;
    length_extra[28] = 0;
    length_base[28] = 255;

    int distance = 0;
    for (int code = 0; code < 16; ++code) {
      distance_extra[code] = uint8_t(code < 4 ? 0 : (code - 2) / 2);
      distance_base[code] = uint16_t(distance);
      for (int i = 0; i < (1 << distance_extra[code]); ++i) {
        distance_code[distance++] = uint8_t(code);
      }
    }
    // Distances above 256 are looked up by (distance - 1) >> 7.
    distance >>= 7;
    for (int code = 16; code < 30; ++code) {
      distance_extra[code] = uint8_t((code - 2) / 2);
      distance_base[code] = uint16_t(distance << 7);
      for (int i = 0; i < (1 << (distance_extra[code] - 7)); ++i) {
        distance_code[256 + distance++] = uint8_t(code);
      }
    }
  }

  int DistanceCode(uint32_t distance_minus_one) const {
    return distance_minus_one < 256 ? distance_code[distance_minus_one]
                                    : distance_code[256 + (distance_minus_one >> 7)];
  }
};

const SymbolTables& Tables() {
  static const SymbolTables tables;
  return tables;
}

// Writes bits least significant first, as deflate wants them.
class BitWriter {
 public:
  explicit BitWriter(std::string& out) : out_(out) {}

  // Makes room for at least n more bytes.
  void Reserve(size_t n) {
    if (out_.size() < size_ + n + 8) out_.resize((size_ + n + 8) * 3 / 2);
  }

  // Up to 32 bits at once.
  void Put(uint32_t bits, int count) {
    bits_ |= uint64_t(bits) << count_;
    count_ += count;
    if (count_ >= 32) {
      const uint32_t low = uint32_t(bits_);
      out_[size_] = char(low);
      out_[size_ + 1] = char(low >> 8);
      out_[size_ + 2] = char(low >> 16);
      out_[size_ + 3] = char(low >> 24);
      size_ += 4;
      bits_ >>= 32;
      count_ -= 32;
    }
  }

  // Pads with zero bits to a whole byte.
  void Flush() {
    while (count_ > 0) {
      out_[size_++] = char(bits_);
      bits_ >>= 8;
      count_ -= 8;
    }
    bits_ = 0;
    count_ = 0;
  }

  void PutByte(uint8_t byte) { out_[size_++] = char(byte); }
  size_t size() const { return size_; }

 private:
  std::string& out_;
  size_t size_ = 0;
  uint64_t bits_ = 0;
  int count_ = 0;
};

class Deflater {
 public:
  Deflater(std::string_view data, const LevelParameters& level,
           std::string& out)
      : data_(reinterpret_cast<const uint8_t*>(data.data())),
        size_(int32_t(data.size())),
        level_(level),
        head_(size_t(1) << kHashBits, -1),
        prev_(size_t(kWindowSize), 0),
        writer_(out) {
    symbols_.reserve(kBlockSymbols);
  }

  void Run() {
    const int32_t last_insert = size_ - kMinMatch;  // last position hashed
    int32_t pos = 0;
    int prev_length = kMinMatch - 1;
    int match_length = kMinMatch - 1;
    int32_t match_start = 0;
    bool literal_pending = false;

    while (pos < size_) {
      const int32_t candidate = pos <= last_insert ? Insert(pos) : -1;
      prev_length = match_length;
      const int32_t prev_match = match_start;
      match_length = kMinMatch - 1;

      if (candidate >= 0 && pos - candidate <= kMaxDistance &&
          prev_length < level_.lazy_limit) {
        match_length = LongestMatch(pos, candidate, prev_length, match_start);
        if (match_length == kMinMatch && pos - match_start > kTooFar) {
          match_length = kMinMatch - 1;
        }
      }

      if (prev_length >= kMinMatch && match_length <= prev_length) {
        // The match found at the previous position is at least as good:
        // take it, hashing the positions it covers.
        AddMatch(uint32_t(pos - 1 - prev_match), prev_length);
        const int32_t end = pos - 1 + prev_length;
        for (++pos; pos < end; ++pos) {
          if (pos <= last_insert) Insert(pos);
        }
        literal_pending = false;
        match_length = kMinMatch - 1;
      } else if (literal_pending) {
        AddLiteral(data_[pos - 1]);
        ++pos;
      } else {
        literal_pending = true;
        ++pos;
      }
    }
    if (literal_pending) AddLiteral(data_[pos - 1]);
    FlushBlock(true);
  }

  size_t size() const { return writer_.size(); }
  BitWriter& writer() { return writer_; }

 private:
  uint32_t Hash(int32_t pos) const {
    const uint32_t three = uint32_t(data_[pos]) | uint32_t(data_[pos + 1]) << 8 |
                           uint32_t(data_[pos + 2]) << 16;
    return (three * 0x9E3779B1u) >> (32 - kHashBits);
  }

  // Links pos into its hash chain; returns the previous position with the
  // same hash, or -1. The chain stores the step back to the previous
  // position (0 when there is none within reach), which halves its size.
  int32_t Insert(int32_t pos) {
    const uint32_t h = Hash(pos);
    const int32_t previous = head_[h];
    const int32_t step = previous < 0 ? 0 : pos - previous;
    prev_[size_t(pos & kWindowMask)] = uint16_t(step <= kMaxDistance ? step : 0);
    head_[h] = pos;
    return previous;
  }

  int MatchLength(const uint8_t* a, const uint8_t* b, int max_length) const {
    int len = 0;
    while (len + 8 <= max_length) {
      uint64_t x, y;
      std::memcpy(&x, a + len, 8);
      std::memcpy(&y, b + len, 8);
      if (x != y) return len + (__builtin_ctzll(x ^ y) >> 3);
      len += 8;
    }
    while (len < max_length && a[len] == b[len]) ++len;
    return len;
  }

  // Walks the hash chain from candidate for a match longer than best_length.
  int LongestMatch(int32_t pos, int32_t candidate, int best_length,
                   int32_t& match_start) const {
    const int max_length = std::min(kMaxMatch, int(size_ - pos));
    if (best_length >= max_length) return best_length;
    int chain = level_.chain_limit;
    if (best_length >= level_.good_length) chain >>= 2;
    const int nice = std::min(level_.nice_length, max_length);
    const int32_t limit = pos > kMaxDistance ? pos - kMaxDistance : 0;
    const uint8_t* scan = data_ + pos;
    // A longer match must agree on its first two bytes and on the two
    // bytes ending at the current best length; most candidates fail here.
    const uint16_t scan_start = Load16(scan);
    uint16_t scan_end = Load16(scan + best_length - 1);
    for (;;) {
      const uint8_t* match = data_ + candidate;
      if (Load16(match + best_length - 1) == scan_end && Load16(match) == scan_start) {
        const int len = MatchLength(scan, match, max_length);
        if (len > best_length) {
          match_start = candidate;
          best_length = len;
          if (len >= nice) break;
          scan_end = Load16(scan + best_length - 1);
        }
      }
      const uint16_t step = prev_[size_t(candidate & kWindowMask)];
      if (step == 0) break;
      candidate -= step;
      if (candidate < limit || --chain == 0) break;
    }
    return best_length;
  }

  static uint16_t Load16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
  }

  void AddLiteral(uint8_t byte) {
    symbols_.push_back(byte);
    ++literal_freq_[byte];
    if (symbols_.size() == kBlockSymbols) FlushBlock(false);
  }

  void AddMatch(uint32_t distance, int length) {
    const SymbolTables& t = Tables();
    symbols_.push_back(distance << 16 | uint32_t(length - kMinMatch));
    ++literal_freq_[257 + t.length_code[length - kMinMatch]];
    ++distance_freq_[t.DistanceCode(distance - 1)];
    if (symbols_.size() == kBlockSymbols) FlushBlock(false);
  }

  void FlushBlock(bool last);
  void WriteSymbols(const uint8_t* literal_lengths, const uint16_t* literal_codes,
                    const uint8_t* distance_lengths,
                    const uint16_t* distance_codes);

  const uint8_t* data_;
  int32_t size_;
  LevelParameters level_;
  std::vector<int32_t> head_;
  std::vector<uint16_t> prev_;
  // A literal is its byte; a match is distance << 16 | (length - 3).
  std::vector<uint32_t> symbols_;
  std::array<uint32_t, kLiteralCodes> literal_freq_{};
  std::array<uint32_t, kDistanceCodes> distance_freq_{};
  BitWriter writer_;
};

void Deflater::WriteSymbols(const uint8_t* literal_lengths,
                            const uint16_t* literal_codes,
                            const uint8_t* distance_lengths,
                            const uint16_t* distance_codes) {
  const SymbolTables& t = Tables();
  for (const uint32_t symbol : symbols_) {
    const uint32_t distance = symbol >> 16;
    if (distance == 0) {
      writer_.Put(literal_codes[symbol], literal_lengths[symbol]);
      continue;
    }
    const uint32_t length = symbol & 0xFFFF;
    const int lcode = t.length_code[length];
    const int lsym = 257 + lcode;
    writer_.Put(literal_codes[lsym] |
                    (length - t.length_base[lcode]) << literal_lengths[lsym],
                literal_lengths[lsym] + t.length_extra[lcode]);
    const int dcode = t.DistanceCode(distance - 1);
    writer_.Put(distance_codes[dcode] |
                    (distance - 1 - t.distance_base[dcode]) << distance_lengths[dcode],
                distance_lengths[dcode] + t.distance_extra[dcode]);
  }
  writer_.Put(literal_codes[kEndOfBlock], literal_lengths[kEndOfBlock]);
}

void Deflater::FlushBlock(bool last) {
  const SymbolTables& t = Tables();
  literal_freq_[kEndOfBlock] = 1;
  // Worst case: 15 + 5 + 15 + 13 bits per symbol, plus the block header.
  writer_.Reserve(symbols_.size() * 6 + 512);

  // Bits the data takes apart from the Huffman codes themselves.
  uint64_t extra_bits = 0;
  for (int c = 0; c < 29; ++c) {
    extra_bits += uint64_t(literal_freq_[257 + c]) * t.length_extra[c];
  }
  for (int c = 0; c < kDistanceCodes; ++c) {
    extra_bits += uint64_t(distance_freq_[c]) * t.distance_extra[c];
  }

  // Fixed codes.
  std::array<uint8_t, 288> fixed_literal_lengths{};
  for (int s = 0; s < 288; ++s) {
    fixed_literal_lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
  }
  std::array<uint8_t, kDistanceCodes> fixed_distance_lengths;
  fixed_distance_lengths.fill(5);
  uint64_t fixed_bits = 3 + extra_bits;
  for (int s = 0; s < kLiteralCodes; ++s) {
    fixed_bits += uint64_t(literal_freq_[s]) * fixed_literal_lengths[s];
  }
  for (int s = 0; s < kDistanceCodes; ++s) fixed_bits += uint64_t(distance_freq_[s]) * 5;

  // Dynamic codes: the lengths of both codes, run-length coded.
  std::array<uint8_t, kLiteralCodes> literal_lengths;
  std::array<uint8_t, kDistanceCodes> distance_lengths;
  BuildCodeLengths(literal_freq_.data(), kLiteralCodes, kMaxCodeBits,
                   literal_lengths.data());
  BuildCodeLengths(distance_freq_.data(), kDistanceCodes, kMaxCodeBits,
                   distance_lengths.data());
  int literal_count = kLiteralCodes;
  while (literal_count > 257 && literal_lengths[literal_count - 1] == 0) --literal_count;
  int distance_count = kDistanceCodes;
  while (distance_count > 1 && distance_lengths[distance_count - 1] == 0) --distance_count;

  std::vector<uint8_t> all_lengths(literal_lengths.begin(),
                                   literal_lengths.begin() + literal_count);
  all_lengths.insert(all_lengths.end(), distance_lengths.begin(),
                     distance_lengths.begin() + distance_count);
  std::vector<std::pair<uint8_t, uint8_t>> runs;  // (symbol, extra value)
  for (size_t i = 0; i < all_lengths.size();) {
    const uint8_t value = all_lengths[i];
    size_t run = 1;
    while (i + run < all_lengths.size() && all_lengths[i + run] == value) ++run;
    i += run;
    if (value == 0) {
      while (run >= 11) {
        const size_t r = std::min<size_t>(run, 138);
        runs.emplace_back(18, uint8_t(r - 11));
        run -= r;
      }
      if (run >= 3) {
        runs.emplace_back(17, uint8_t(run - 3));
        run = 0;
      }
    } else {
      runs.emplace_back(value, 0);
      --run;
      while (run >= 3) {
        const size_t r = std::min<size_t>(run, 6);
        runs.emplace_back(16, uint8_t(r - 3));
        run -= r;
      }
    }
    for (; run > 0; --run) runs.emplace_back(value, 0);
  }
  std::array<uint32_t, kCodeLengthCodes> cl_freq{};
  for (const auto& r : runs) ++cl_freq[r.first];
  std::array<uint8_t, kCodeLengthCodes> cl_lengths;
  BuildCodeLengths(cl_freq.data(), kCodeLengthCodes, kMaxCodeLengthBits,
                   cl_lengths.data());
  int cl_count = kCodeLengthCodes;
  while (cl_count > 4 && cl_lengths[kCodeLengthOrder[cl_count - 1]] == 0) --cl_count;

  uint64_t dynamic_bits = 3 + 5 + 5 + 4 + 3 * uint64_t(cl_count) + extra_bits;
  for (const auto& r : runs) {
    dynamic_bits += cl_lengths[r.first] +
                    (r.first == 16 ? 2 : r.first == 17 ? 3 : r.first == 18 ? 7 : 0);
  }
  for (int s = 0; s < kLiteralCodes; ++s) {
    dynamic_bits += uint64_t(literal_freq_[s]) * literal_lengths[s];
  }
  for (int s = 0; s < kDistanceCodes; ++s) {
    dynamic_bits += uint64_t(distance_freq_[s]) * distance_lengths[s];
  }

  if (fixed_bits <= dynamic_bits) {
    writer_.Put(last ? 1 : 0, 1);
    writer_.Put(1, 2);
    std::array<uint16_t, 288> literal_codes{};
    std::array<uint16_t, kDistanceCodes> distance_codes{};
    BuildCodes(fixed_literal_lengths.data(), 288, literal_codes.data());
    BuildCodes(fixed_distance_lengths.data(), kDistanceCodes, distance_codes.data());
    WriteSymbols(fixed_literal_lengths.data(), literal_codes.data(),
                 fixed_distance_lengths.data(), distance_codes.data());
  } else {
    writer_.Put(last ? 1 : 0, 1);
    writer_.Put(2, 2);
    writer_.Put(uint32_t(literal_count - 257), 5);
    writer_.Put(uint32_t(distance_count - 1), 5);
    writer_.Put(uint32_t(cl_count - 4), 4);
    for (int i = 0; i < cl_count; ++i) writer_.Put(cl_lengths[kCodeLengthOrder[i]], 3);
    std::array<uint16_t, kCodeLengthCodes> cl_codes{};
    BuildCodes(cl_lengths.data(), kCodeLengthCodes, cl_codes.data());
    for (const auto& r : runs) {
      writer_.Put(cl_codes[r.first], cl_lengths[r.first]);
      if (r.first == 16) writer_.Put(r.second, 2);
      if (r.first == 17) writer_.Put(r.second, 3);
      if (r.first == 18) writer_.Put(r.second, 7);
    }
    std::array<uint16_t, kLiteralCodes> literal_codes{};
    std::array<uint16_t, kDistanceCodes> distance_codes{};
    BuildCodes(literal_lengths.data(), kLiteralCodes, literal_codes.data());
    BuildCodes(distance_lengths.data(), kDistanceCodes, distance_codes.data());
    WriteSymbols(literal_lengths.data(), literal_codes.data(),
                 distance_lengths.data(), distance_codes.data());
  }

  symbols_.clear();
  literal_freq_.fill(0);
  distance_freq_.fill(0);
}

uint32_t Adler32(std::string_view data) {
  constexpr uint32_t kBase = 65521;
  constexpr size_t kChunk = 5552;  // largest run without overflowing 32 bits
  uint32_t a = 1, b = 0;
  size_t i = 0;
  while (i < data.size()) {
    const size_t end = std::min(data.size(), i + kChunk);
    for (; i < end; ++i) {
      a += uint8_t(data[i]);
      b += a;
    }
    a %= kBase;
    b %= kBase;
  }
  return b << 16 | a;
}

}  // namespace

std::string FlateEncode(std::string_view data, int quality) {
  quality = std::clamp(quality, 0, 3);
  std::string out;
  Deflater deflater(data, kLevels[size_t(quality + 4)], out);
  BitWriter& writer = deflater.writer();
  writer.Reserve(2);
  writer.PutByte(0x78);
  writer.PutByte(0x5E);
  deflater.Run();
  writer.Flush();
  writer.Reserve(4);
  const uint32_t adler = Adler32(data);
  for (int shift = 24; shift >= 0; shift -= 8) writer.PutByte(uint8_t(adler >> shift));
  out.resize(writer.size());
  return out;
}

}  // namespace vx::pdf
