#include "pdf/encoders.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace vx::pdf {

namespace {

constexpr uint32_t kClearTable = 256;
constexpr uint32_t kEndOfData = 257;
constexpr uint32_t kFirstFreeCode = 258;

// Packs codes most significant bit first into a buffer sized in advance.
class CodeWriter {
 public:
  explicit CodeWriter(size_t max_bytes) : out_(max_bytes, '\0') {}

  void Put(uint32_t code, int width) {
    bits_ = bits_ << width | code;
    count_ += width;
    while (count_ >= 8) {
      count_ -= 8;
      out_[size_++] = char(bits_ >> count_);
    }
  }

  std::string Finish() {
    if (count_ > 0) out_[size_++] = char(bits_ << (8 - count_));
    out_.resize(size_);
    return std::move(out_);
  }

 private:
  std::string out_;
  size_t size_ = 0;
  uint64_t bits_ = 0;
  int count_ = 0;
};

// One pseudo-random pattern per byte value, from a xorshift generator. The
// patterns only spread the slots: the codes written do not depend on them.
constexpr std::array<uint32_t, 256> MakeScatter() {
  std::array<uint32_t, 256> pattern{};
  uint32_t x = 0x2545F491u;
  for (uint32_t& p : pattern) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    p = x;
  }
  return pattern;
}
constexpr std::array<uint32_t, 256> kScatter = MakeScatter();

// The dictionary maps (prefix code, next byte) to the code of that string.
// A slot holds the 20-bit pair and its 12-bit code; 0 marks a free slot,
// which is unambiguous because assigned codes start at 258.
//
// Every input byte costs one lookup whose address depends on the code found
// for the byte before, so the hash must be quick to compute from the code:
// the code XORed with a fixed random pattern for the byte. The table is kept
// eight times larger than the codes it can hold, so that a lookup nearly
// always ends at its first slot.
class Dictionary {
 public:
  explicit Dictionary(int quality)
      : mask_((1u << (12 + quality)) - 1), slots_(size_t(mask_) + 1, 0) {}

  void Clear() { std::fill(slots_.begin(), slots_.end(), 0); }

  // Returns the code of the pair, or 0 after storing it with new_code.
  uint32_t FindOrAdd(uint32_t prefix, uint32_t byte, uint32_t new_code) {
    const uint32_t pair = prefix << 8 | byte;
    for (uint32_t h = (prefix ^ kScatter[byte]) & mask_;; h = (h + 1) & mask_) {
      const uint32_t slot = slots_[h];
      if (slot == 0) {
        slots_[h] = pair << 12 | new_code;
        return 0;
      }
      if (slot >> 12 == pair) return slot & 0xFFF;
    }
  }

 private:
  uint32_t mask_;
  std::vector<uint32_t> slots_;
};

}  // namespace

std::string LZWEncode(std::string_view data, int quality) {
  quality = std::clamp(quality, 0, 3);
  const uint32_t largest_code = (1u << (9 + quality)) - 1;
  // At most one code of up to 12 bits per byte, plus clear and end codes.
  CodeWriter writer(data.size() * 3 / 2 + 16);
  writer.Put(kClearTable, 9);
  if (data.empty()) {
    writer.Put(kEndOfData, 9);
    return writer.Finish();
  }

  Dictionary dictionary(quality);
  uint32_t prefix = uint8_t(data[0]);
  uint32_t next_code = kFirstFreeCode;
  int width = 9;
  for (size_t i = 1; i < data.size(); ++i) {
    const uint32_t byte = uint8_t(data[i]);
    if (next_code > largest_code) {
      // The table is full: the clear code goes out in the width reached,
      // which is one more than 9 + quality when quality is below 3.
      writer.Put(kClearTable, width);
      dictionary.Clear();
      next_code = kFirstFreeCode;
      width = 9;
    }
    const uint32_t found = dictionary.FindOrAdd(prefix, byte, next_code);
    if (found != 0) {
      prefix = found;
      continue;
    }
    writer.Put(prefix, width);
    // Early change: the decoder widens its codes one code before the
    // table reaches the next power of two.
    if (next_code == 511 || next_code == 1023 || next_code == 2047) ++width;
    ++next_code;
    prefix = byte;
  }
  writer.Put(prefix, width);
  // The decoder adds one more entry on reading the last code, so when that
  // entry brings it to a wider code the end-of-data code must be wider too.
  if (next_code == 511 || next_code == 1023 || next_code == 2047) ++width;
  writer.Put(kEndOfData, width);
  return writer.Finish();
}

}  // namespace vx::pdf
