#pragma once
// RC4 stream cipher. Encryption and decryption are the same operation.

#include <string>
#include <string_view>

namespace vx::pdf {

// Returns data XORed with the key stream of key (1 to 256 bytes; an empty key
// yields data unchanged).
std::string Rc4(std::string_view key, std::string_view data);

}  // namespace vx::pdf
