#include "transfer/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace vx::transfer {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, int error) {
  throw std::system_error(error, std::generic_category(), what + " " + path.string());
}

}  // namespace

void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  // A leading dot and a suffix: the temporary never passes for the file.
  std::string temporary = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temporary.data());
  if (fd < 0) Fail("cannot create a file in", folder, errno);

  auto abandon = [&](const char* what, int error) {
    if (fd >= 0) close(fd);
    unlink(temporary.c_str());
    Fail(what, path, error);
  };
  // The file gets the permissions any new file of the user gets.
  const mode_t mask = umask(0);
  umask(mask);
  if (fchmod(fd, 0666 & ~mask) != 0) abandon("cannot set the permissions of", errno);

  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      abandon("cannot write", errno);
    }
    written += static_cast<std::size_t>(n);
  }
  if (fsync(fd) != 0) abandon("cannot write", errno);
  if (close(fd) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    Fail("cannot write", path, error);
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    Fail("cannot rename the new file to", path, error);
  }
  // The rename itself reaches the disk with the folder.
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
}

}  // namespace vx::transfer
