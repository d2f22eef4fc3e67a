#include "pdf/encoders.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

namespace vx::pdf {

namespace {

constexpr uint32_t kClearTable = 256;
constexpr uint32_t kEndOfData = 257;
constexpr uint32_t kFirstFreeCode = 258;

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

}  // namespace

std::string LZWEncode(std::string_view data, int quality) {
  return LZWEncoder().Encode(data, quality);
}

// The dictionary maps (prefix code, next byte) to the code of that string.
// It is an open-addressed table whose slot holds the generation of the table
// that wrote it, the 20-bit pair and its 12-bit code. Emptying the table is
// starting a new generation: the slots of older ones then read as free, so a
// clear code costs nothing and the slots are zeroed only when allocated.
//
// Every input byte costs one lookup whose address depends on the code found
// for the byte before, so the hash must be quick to compute from the code:
// the code XORed with a fixed random pattern for the byte. The table is kept
// eight times larger than the codes it can hold (fewer for a short input,
// which cannot assign more codes than it has bytes), so that a lookup nearly
// always ends at its first slot.
//
// The codes go out most significant bit first into a buffer kept from one
// call to the next and never filled before being written; the result is
// copied from it at the end. Everything the loop touches is a local, so
// that it stays in registers.
std::string LZWEncoder::Encode(std::string_view data, int quality) {
  quality = std::clamp(quality, 0, 3);
  const uint32_t largest_code = (1u << (9 + quality)) - 1;

  // At most one code of up to 12 bits per byte, plus clear and end codes,
  // plus the 8 bytes that every code stores whole.
  const size_t most_bytes = data.size() * 3 / 2 + 24;
  if (most_bytes > output_size_) {
    output_ = std::make_unique_for_overwrite<char[]>(most_bytes);
    output_size_ = most_bytes;
  }
  char* out = output_.get();
  uint64_t bits = 0;
  int pending = 0;
  // Fewer than 8 bits wait in `bits` between codes. Each code stores the
  // waiting bits and itself as 8 bytes and moves on by the whole bytes among
  // them, which spares a branch per byte.
  auto put = [&](uint32_t code, int width) {
    bits = bits << width | code;
    pending += width;
    const uint64_t aligned = bits << (64 - pending);
    uint64_t first_byte_first = aligned;
    if constexpr (std::endian::native == std::endian::little) {
      first_byte_first = __builtin_bswap64(aligned);
    }
    std::memcpy(out, &first_byte_first, 8);
    out += pending >> 3;
    pending &= 7;
  };
  auto finish = [&] {
    if (pending > 0) ++out;  // already stored, padded with zero bits
    return std::string(output_.get(), out);
  };

  put(kClearTable, 9);
  if (data.empty()) {
    put(kEndOfData, 9);
    return finish();
  }

  const size_t codes = std::min(size_t(largest_code) + 1, data.size() + 256);
  size_t slot_count = 1024;
  while (slot_count < codes * 8) slot_count *= 2;
  if (slot_count > slot_count_) {
    slots_ = std::make_unique<uint64_t[]>(slot_count);  // zeroed: generation 0
    slot_count_ = slot_count;
    generation_ = 0;
  }
  uint64_t* const slots = slots_.get();
  const uint32_t mask = uint32_t(slot_count - 1);
  uint64_t generation = 0;
  auto new_generation = [&] {
    // Generation 0 marks zeroed slots, and after 2^32 tables (terabytes of
    // input) the stamps would come round again: start from zeros then.
    if (++generation_ == 0) {
      std::fill_n(slots, slot_count_, 0);
      generation_ = 1;
    }
    generation = generation_;
  };
  new_generation();

  // The pair's slot: the one holding it, or the free one where it goes.
  auto find = [&](uint64_t key, uint32_t h) -> uint64_t* {
    for (;; h = (h + 1) & mask) {
      const uint64_t slot = slots[h];
      if (slot >> 12 == key || slot >> 32 != generation) return &slots[h];
    }
  };

  const auto* next = reinterpret_cast<const uint8_t*>(data.data());
  const auto* const end = next + data.size();
  uint32_t prefix = *next++;
  uint32_t next_code = kFirstFreeCode;
  int width = 9;
  while (next != end) {
    // The longest string in the table that starts here; most bytes end in
    // this loop, so it keeps to the few values it needs.
    uint32_t byte;
    uint64_t* slot;
    for (;;) {
      byte = *next++;
      const uint64_t key = generation << 20 | prefix << 8 | byte;
      slot = find(key, (prefix ^ kScatter[byte]) & mask);
      if (*slot >> 12 != key) break;
      prefix = uint32_t(*slot & 0xFFF);
      if (next == end) goto done;
    }
    *slot = (generation << 20 | prefix << 8 | byte) << 12 | next_code;
    put(prefix, width);
    // Early change: the decoder widens its codes one code before the
    // table reaches the next power of two.
    if (next_code == 511 || next_code == 1023 || next_code == 2047) ++width;
    ++next_code;
    prefix = byte;
    if (next_code > largest_code && next != end) {
      // The table is full: before the next byte the clear code goes out in
      // the width reached, which is one more than 9 + quality when quality
      // is below 3.
      put(kClearTable, width);
      new_generation();
      next_code = kFirstFreeCode;
      width = 9;
    }
  }
done:
  put(prefix, width);
  // The decoder adds one more entry on reading the last code, so when that
  // entry brings it to a wider code the end-of-data code must be wider too.
  if (next_code == 511 || next_code == 1023 || next_code == 2047) ++width;
  put(kEndOfData, width);
  return finish();
}

}  // namespace vx::pdf
