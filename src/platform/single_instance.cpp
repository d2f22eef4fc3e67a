#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/errors.h"

namespace fs = std::filesystem;

namespace vx::platform {

namespace {

uint64_t Fnv1a(std::string_view text) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

// The user's private runtime folder when the session has one, else /tmp.
fs::path LockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') {
    struct stat st;
    if (::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid()) return runtime;
  }
  return "/tmp";
}

}  // namespace

std::unique_ptr<SingleInstance> SingleInstance::TryAcquire(const WinePrefix& prefix,
                                                           std::string_view program_name) {
  // One lock per user, program and prefix: the prefix's absolute path names
  // the Windows machine, so two prefixes never see each other.
  std::error_code ec;
  fs::path root = fs::weakly_canonical(fs::absolute(prefix.Root(), ec), ec);
  if (ec) root = prefix.Root();
  std::string program;
  for (char c : program_name) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    program += plain ? static_cast<char>(c | 0x20) : '_';
  }
  char name[128];
  std::snprintf(name, sizeof name, "-%u-%016llx.lock", static_cast<unsigned>(::geteuid()),
                static_cast<unsigned long long>(Fnv1a(root.string())));
  std::string path = (LockFolder() / (program + name)).string();

  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) throw MakeRuntimeError(75);
  struct stat st;
  if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid() || !S_ISREG(st.st_mode)) {
    // Someone else's file in a shared folder: never trust it as our lock.
    ::close(fd);
    throw MakeRuntimeError(75);
  }
  // An open-file-description lock: the kernel drops it when the process
  // ends, however it ends, and a second open in this same process conflicts.
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
    int err = errno;
    ::close(fd);
    if (err == EAGAIN || err == EACCES) return nullptr;
    throw MakeRuntimeError(75);
  }
  // The holder's process id, for whoever wonders which instance is running.
  std::string pid = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) == 0) {
    ssize_t ignored = ::pwrite(fd, pid.data(), pid.size(), 0);
    (void)ignored;
  }
  return std::unique_ptr<SingleInstance>(new SingleInstance(fd, path));
}

SingleInstance::~SingleInstance() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace vx::platform
