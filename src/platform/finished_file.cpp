#include "platform/finished_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include "platform/codepage.h"
#include "platform/errors.h"

namespace fs = std::filesystem;

namespace vx::platform {

namespace {

std::u32string Folded(const std::string& utf8) {
  std::u32string cps = DecodeUtf8(utf8);
  for (char32_t& c : cps) c = FoldCase(c);
  return cps;
}

[[noreturn]] void Fail(int error, const fs::path& path) {
  const int number = error == EACCES || error == EPERM || error == EROFS || error == EBUSY ? 70
                     : error == ENOSPC || error == EDQUOT                                   ? 61
                                                                                            : 75;
  throw MakeRuntimeError(number, path.string());
}

// ".<six letters and digits>.tmp", as TemporaryBeside makes it.
constexpr std::size_t kSuffixLength = 11;
bool HasTemporarySuffix(std::string_view name) {
  if (name.size() <= kSuffixLength) return false;
  const std::string_view suffix = name.substr(name.size() - kSuffixLength);
  if (suffix[0] != '.' || suffix.substr(7) != ".tmp") return false;
  for (const char c : suffix.substr(1, 6)) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

enum class Holder { Nobody, Someone, Unknown };

Holder WhoHolds(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  if (::fcntl(fd, F_OFD_GETLK, &lock) != 0) return Holder::Unknown;
  return lock.l_type == F_UNLCK ? Holder::Nobody : Holder::Someone;
}

}  // namespace

bool HoldWhileWritten(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;  // l_start 0, l_len 0: the whole file, however long
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

std::vector<std::string> RemoveLeftovers(const fs::path& folder, const std::function<bool(std::string_view)>& ours,
                                         std::chrono::seconds quiet) {
  std::vector<fs::path> candidates;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (HasTemporarySuffix(name) && ours(std::string_view(name).substr(0, name.size() - kSuffixLength)))
      candidates.push_back(it->path());
  }
  std::vector<std::string> removed;
  const auto now = std::chrono::system_clock::now();
  for (const fs::path& path : candidates) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    bool abandoned = false;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
      const Holder holder = WhoHolds(fd);
      // The moments between a temporary's creation and its lock, and
      // between its writer's close and its rename, are covered by the
      // quiet time: the file has just changed.
      const std::chrono::seconds wanted = holder == Holder::Unknown ? std::chrono::hours(24) : quiet;
      abandoned = holder != Holder::Someone && now - std::chrono::system_clock::from_time_t(info.st_mtime) >= wanted;
    }
    ::close(fd);
    if (abandoned && ::unlink(path.c_str()) == 0) removed.push_back(path.filename().string());
  }
  return removed;
}

fs::path TemporaryBeside(const fs::path& final_path) {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  for (;;) {
    std::string suffix(6, ' ');
    for (char& c : suffix) c = kAlphabet[pick(random)];
    fs::path candidate = final_path;
    candidate += "." + suffix + ".tmp";
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(candidate, ec))) return candidate;
  }
}

void CheckReplaceable(const fs::path& final_path) {
  struct stat info {};
  if (::stat(final_path.c_str(), &info) != 0) return;  // nothing there yet
  if (S_ISDIR(info.st_mode)) Fail(EISDIR, final_path);
  if (::access(final_path.c_str(), W_OK) != 0) Fail(EACCES, final_path);
}

Replaced PutInPlace(const fs::path& temporary, const fs::path& final_path) {
  Replaced replaced;
  std::error_code ec;
  replaced.same_name = fs::exists(fs::symlink_status(final_path, ec));
  const std::string own = final_path.filename().string();
  const std::u32string wanted = Folded(own);
  const std::string temporary_name = temporary.filename().string();
  for (fs::directory_iterator it(final_path.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name != own && name != temporary_name && Folded(name) == wanted) replaced.other_case.push_back(name);
  }
  // The bytes reach the disk before the name does, so that a machine that
  // stops right after the rename does not show the name over an empty file;
  // the file is held until it has its name, so that no other run takes it
  // for a leftover meanwhile.
  int fd = ::open(temporary.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
  struct Closer {
    int fd;
    ~Closer() {
      if (fd >= 0) ::close(fd);
    }
  } closer{fd};
  if (fd >= 0) {
    HoldWhileWritten(fd);
    if (::fsync(fd) != 0) Fail(errno, final_path);
  }
  if (std::rename(temporary.c_str(), final_path.c_str()) != 0) Fail(errno, final_path);
  // Only once the new file stands: a failure above keeps the old one.
  for (const std::string& name : replaced.other_case) fs::remove(final_path.parent_path() / name, ec);
  return replaced;
}

fs::path WriteTemporary(const fs::path& final_path, std::string_view bytes) {
  CheckReplaceable(final_path);
  const fs::path temporary = TemporaryBeside(final_path);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) Fail(errno, final_path);
  HoldWhileWritten(fd);
  auto abandon = [&](int error) {
    std::error_code ec;
    fs::remove(temporary, ec);
    Fail(error, final_path);
  };
  for (std::size_t written = 0; written < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      abandon(error);
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) abandon(errno);
  return temporary;
}

Replaced WriteFinishedFile(const fs::path& final_path, std::string_view bytes) {
  const fs::path temporary = WriteTemporary(final_path, bytes);
  try {
    return PutInPlace(temporary, final_path);
  } catch (...) {
    std::error_code ec;
    fs::remove(temporary, ec);
    throw;
  }
}

}  // namespace vx::platform
