#pragma once
// MD5 message digest, used by the standard security handler to derive keys.

#include <string>
#include <string_view>

namespace vx::pdf {

// Returns the 16 raw bytes of the digest of data.
std::string Md5(std::string_view data);

}  // namespace vx::pdf
