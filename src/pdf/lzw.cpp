#include "pdf/encoders.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace vx::pdf {

namespace {

constexpr uint32_t kClearTable = 256;
constexpr uint32_t kEndOfData = 257;
constexpr uint32_t kFirstFreeCode = 258;
constexpr uint32_t kSlots = LZWEncoder::kSlots;
constexpr uint32_t kSlotMask = kSlots - 1;
constexpr uint32_t kFree = 0xFFFFFFFF;  // no pair is this
// Strings of one byte have no slot: they are known as kSingle + the byte.
constexpr uint32_t kSingle = kSlots;

// One pseudo-random pattern per byte value, from a xorshift generator. The
// patterns only spread the slots: the codes written do not depend on them.
constexpr std::array<uint16_t, 256> MakeScatter() {
  std::array<uint16_t, 256> pattern{};
  uint32_t x = 0x2545F491u;
  for (uint16_t& p : pattern) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    p = uint16_t(x & kSlotMask);
  }
  return pattern;
}
constexpr std::array<uint16_t, 256> kScatter = MakeScatter();
static_assert(kSlots <= 65536, "slots are kept in 16 bits");

// The output of a stream of a few megabytes and more, and the table that
// encodes it, go in 2 MiB pages where the system offers them: such a stream
// writes its codes into fresh memory faster than the system maps small pages
// in (each one a fault, costly above all on a virtual machine), and a table
// in one large page misses the address cache less. Smaller streams, such as
// the pages of a listing, keep to ordinary memory, which they use little of.
constexpr size_t kLargePage = size_t(2) << 20;

void* Allocate(size_t bytes, bool large) {
  void* block = nullptr;
  if (large) {
    bytes = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    block = std::aligned_alloc(kLargePage, bytes);
#ifdef MADV_HUGEPAGE
    if (block != nullptr) ::madvise(block, bytes, MADV_HUGEPAGE);  // only a hint
#endif
  } else {
    block = std::malloc(bytes);
  }
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

}  // namespace

void LZWEncoder::Release::operator()(void* block) const { std::free(block); }

struct LZWEncoder::Table {
  uint32_t pairs[kSlots];           // prefix << 8 | byte of the string here, kFree when free
  uint16_t codes[kSlots + 256];     // its code; the single bytes after the slots
  uint16_t slot_of[4096];           // the slot each code was put in
};

LZWEncoder::LZWEncoder() = default;
LZWEncoder::~LZWEncoder() = default;

std::string LZWEncode(std::string_view data, int quality) {
  return std::string(LZWEncoder().Encode(data, quality));
}

// The dictionary maps (prefix, next byte) to the string they make. Each
// string in it is known by the slot it was put in, not by its code: the slot
// of a pair is worked out from the prefix's slot and the byte, so that while
// the strings keep being found, the next lookup's address is known before
// the last one's load returns, and the processor runs ahead through the
// input instead of waiting on the table at every byte. The table is
// open-addressed with 64 Ki slots: it is at most 6% full, so a pair is
// nearly always in the first slot tried, and each slot holds the pair it
// stands for (checked on every lookup) apart from its code (read only when
// the code goes out).
//
// Each code remembers its slot, so emptying the table for a clear code, or
// at the end for the next stream, frees just the slots in use: the table is
// filled once, when the encoder first needs it.
//
// The codes go out most significant bit first into a buffer kept from one
// call to the next and never filled before being written, and are handed
// out where they are. Everything the loop touches is a local, so that it
// stays in registers.
std::string_view LZWEncoder::Encode(std::string_view data, int quality) {
  quality = std::clamp(quality, 0, 3);
  const uint32_t largest_code = (1u << (9 + quality)) - 1;

  // At most one code of up to 12 bits per byte, plus clear and end codes,
  // plus the 8 bytes that every code stores whole.
  const size_t most_bytes = data.size() * 3 / 2 + 24;
  const bool large = most_bytes >= kLargePage;
  if (most_bytes > output_size_) {
    output_.reset(static_cast<char*>(Allocate(most_bytes, large)));
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
    return std::string_view(output_.get(), size_t(out - output_.get()));
  };

  put(kClearTable, 9);
  if (data.empty()) {
    put(kEndOfData, 9);
    return finish();
  }

  if (!table_) {
    table_.reset(new (Allocate(sizeof(Table), large)) Table);
    std::fill_n(table_->pairs, kSlots, kFree);
    for (uint32_t byte = 0; byte < 256; ++byte) table_->codes[kSingle + byte] = uint16_t(byte);
  }
  uint32_t* const pairs = table_->pairs;
  uint16_t* const codes = table_->codes;
  uint16_t* const slot_of = table_->slot_of;
  uint32_t next_code = kFirstFreeCode;
  auto empty_table = [&] {
    for (uint32_t code = kFirstFreeCode; code < next_code; ++code) pairs[slot_of[code]] = kFree;
  };

  const auto* next = reinterpret_cast<const uint8_t*>(data.data());
  const auto* const end = next + data.size();
  uint32_t prefix = kSingle + *next++;  // the string found so far
  int width = 9;
  // The next code whose assignment widens the codes or fills the table.
  uint32_t milestone = 511;
  while (next != end) {
    // The longest string in the table that starts here; most bytes end in
    // this loop, so it keeps to the few values it needs. The prefix's slot
    // times 9 mixes it, so that strings of the same bytes in another order
    // do not meet in one slot.
    uint32_t byte;
    uint32_t slot;
    uint32_t pair;
    for (;;) {
      byte = *next++;
      pair = prefix << 8 | byte;
      slot = (prefix * 9 ^ kScatter[byte]) & kSlotMask;
      if (pairs[slot] != pair) [[unlikely]] {
        uint32_t here = pairs[slot];
        for (;;) {
          if (here == kFree) goto insert;
          slot = (slot + 1) & kSlotMask;
          here = pairs[slot];
          if (here == pair) break;
        }
      }
      prefix = slot;
      if (next == end) [[unlikely]] goto done;
    }
  insert:
    pairs[slot] = pair;
    codes[slot] = uint16_t(next_code);
    slot_of[next_code] = uint16_t(slot);
    put(codes[prefix], width);
    prefix = kSingle + byte;
    if (next_code == milestone) [[unlikely]] {
      // Early change: the decoder widens its codes one code before the
      // table reaches the next power of two.
      if (next_code != 4095) ++width;
      if (next_code == largest_code && next != end) {
        // The table is full: before the next byte the clear code goes out
        // in the width reached, which is one more than 9 + quality when
        // quality is below 3.
        put(kClearTable, width);
        ++next_code;
        empty_table();
        next_code = kFirstFreeCode;
        width = 9;
        milestone = 511;
        continue;
      }
      milestone = milestone * 2 + 1;
    }
    ++next_code;
  }
done:
  empty_table();
  put(codes[prefix], width);
  // The decoder adds one more entry on reading the last code, so when that
  // entry brings it to a wider code the end-of-data code must be wider too.
  if (next_code == 511 || next_code == 1023 || next_code == 2047) ++width;
  put(kEndOfData, width);
  return finish();
}

}  // namespace vx::pdf
