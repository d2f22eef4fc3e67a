#pragma once
// A field's text taken from a record, as its descriptor says to read it.

#include <string>
#include <string_view>

namespace vx::archive {

// The field a descriptor names, taken from `record` at the descriptor's
// offset plus `shift`: `length` characters, fewer when the record ends
// first, none when it starts beyond the end. Text types ("A", "D", "0" and
// anything that is not a number) come back as they are, blanks included.
// Numbers ("N", or a digit d = implied decimals) keep their leading zeros,
// carry a leading "-" in place of the first "-" inside them, and get a "."
// before their last d characters: 0000012345 of type "2" gives 00000123.45.
// An empty field is the empty text whatever its type. A start outside 1..
// 32767 or a negative length is run-time error 5 or 6.
std::string FieldText(std::string_view descriptor, int shift, std::string_view record);

}  // namespace vx::archive
