#pragma once
// A file that appears complete or not at all: written under a temporary
// name in its own folder, flushed to the disk, then renamed over its final
// name. A stopped run, a full disk or an unwritable folder leaves either
// the file as it was before or the new one whole, never half of one.

#include <filesystem>
#include <string_view>

namespace vx::transfer {

// Writes `bytes` as `path`, replacing a file of that name. Throws
// std::system_error (what() names the file) when it cannot; the temporary
// file is then removed.
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace vx::transfer
