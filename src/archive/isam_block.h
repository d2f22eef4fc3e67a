#pragma once
// Searching one block of an index archive. A block holds entries of the key
// followed by a level digit and a six-digit number; the used entries come
// first in ascending key order and the first character of code 252 ends them.

#include <string_view>

namespace vx::archive {

// The character that fills unused keys; it sorts after every key.
inline constexpr char kHighKeyCharacter = '\xFC';

// The 1-based slot of `block` a search for `key` lands on: the slot holding
// exactly the key, or else the last slot whose key is smaller than it, the
// first slot catching every smaller key. Entries are key.size() + 7
// characters long. Keys compare by character code. A block whose used
// entries fill it completely is searched to its last entry and no further.
int SearchBlock(std::string_view block, std::string_view key);

// The key of a slot (empty when the slot lies beyond the block).
std::string_view SlotKey(std::string_view block, size_t key_length, int slot);

// The number an entry carries: the numeric value of the six characters after
// its level digit.
double SlotNumber(std::string_view block, size_t key_length, int slot);

}  // namespace vx::archive
