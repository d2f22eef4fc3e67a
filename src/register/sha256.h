#pragma once
// The SHA-256 digest of a file's bytes, in lower-case hexadecimal, by which
// the register knows a transfer file in the folder for the one it recorded.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vx::reg {

std::string Sha256Hex(std::string_view bytes);

// The digest of the file's bytes; nothing when it cannot be read.
std::optional<std::string> FileSha256Hex(const std::filesystem::path& path);

}  // namespace vx::reg
