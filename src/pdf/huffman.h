#pragma once
// Huffman codes for the deflate encoder: length-limited code lengths from
// symbol frequencies, and the canonical codes those lengths define.

#include <cstdint>

namespace vx::pdf {

// Code lengths of a minimum-redundancy code for freq[0..count), none longer
// than limit bits (0 = symbol unused). At least two symbols get a code, so
// every code sent is complete, which all decoders accept.
void BuildCodeLengths(const uint32_t* freq, int count, int limit, uint8_t* lengths);

// Canonical codes for lengths of at most 15 bits, bit-reversed for a writer
// that sends the least significant bit first.
void BuildCodes(const uint8_t* lengths, int count, uint16_t* codes);

}  // namespace vx::pdf
