// The writer's files on the local disk, with operating-system failures turned
// into the run-time error numbers the rest of the program understands.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "pdf/writer_services.h"
#include "platform/errors.h"
#include "platform/finished_file.h"

namespace vx::pdf {
namespace {

using platform::RuntimeError;

int ErrorNumberOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
      return 70;  // permission denied
    case ENOENT:
    case ENOTDIR:
      return 76;  // path not found
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return 61;  // disk full
    case EIO:
      return 57;  // device I/O error
    default:
      return 75;  // path/file access error
  }
}

[[noreturn]] void Fail(int error, const std::string& path) {
  throw platform::MakeRuntimeError(ErrorNumberOf(error), path);
}

class LocalOutputFile : public OutputFile {
 public:
  LocalOutputFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~LocalOutputFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  void Write(std::string_view bytes) override {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
      ssize_t done = ::write(Fd(), data, left);
      if (done < 0) {
        if (errno == EINTR) continue;
        Fail(errno, path_);
      }
      data += done;
      left -= static_cast<size_t>(done);
    }
  }

  void WriteAt(int64_t offset, std::string_view bytes) override {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
      ssize_t done = ::pwrite(Fd(), data, left, static_cast<off_t>(offset));
      if (done < 0) {
        if (errno == EINTR) continue;
        Fail(errno, path_);
      }
      data += done;
      offset += done;
      left -= static_cast<size_t>(done);
    }
  }

  void Close() override {
    if (fd_ < 0) return;
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) Fail(errno, path_);
  }

 private:
  int Fd() const {
    if (fd_ < 0) throw platform::MakeRuntimeError(52);  // bad file number
    return fd_;
  }

  int fd_;
  std::string path_;
};

class LocalFiles : public FileSystem {
 public:
  bool CanOpenForReading(const std::string& path) override {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
  }

  void Remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) Fail(errno, path);
  }

  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) Fail(errno, path);
    // Held while written: the writer's files are temporaries until put in place.
    platform::HoldWhileWritten(fd);
    return std::make_unique<LocalOutputFile>(fd, path);
  }
};

}  // namespace

FileSystem& LocalFileSystem() {
  static LocalFiles files;
  return files;
}

}  // namespace vx::pdf
