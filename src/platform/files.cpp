#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/errors.h"
#include "platform/finished_file.h"

namespace fs = std::filesystem;

namespace vx::platform {

namespace {

constexpr size_t kReadChunk = 64 * 1024;
constexpr size_t kWriteChunk = 64 * 1024;
// Old text files may end with a DOS end-of-file mark; nothing after it is text.
constexpr char kTextEnd = '\x1A';

enum class Mode { Binary, Input, Output };

bool ParentExists(const fs::path& path) {
  struct stat st;
  fs::path parent = path.parent_path();
  return parent.empty() || (::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

// The run-time error for a failed open or query of `path`.
[[noreturn]] void ThrowOpenError(int err, const fs::path& path) {
  switch (err) {
    case ENOENT: throw MakeRuntimeError(ParentExists(path) ? 53 : 76);
    case ENOTDIR: throw MakeRuntimeError(76);
    case ENAMETOOLONG: throw MakeRuntimeError(52);
    case EMFILE:
    case ENFILE: throw MakeRuntimeError(67);
    case ENOSPC:
    case EDQUOT: throw MakeRuntimeError(61);
    case EIO: throw MakeRuntimeError(57);
    default: throw MakeRuntimeError(75);  // EACCES, EPERM, EROFS, EISDIR, ...
  }
}

[[noreturn]] void ThrowWriteError(int err, const std::string& name) {
  throw MakeRuntimeError(err == ENOSPC || err == EDQUOT || err == EFBIG ? 61 : 57, name);
}

// Names the file in a failure that does not name one yet.
void NameFile(RuntimeError& error, std::string_view path) {
  if (error.path.empty()) error.path = std::string(path);
}

// True when another open of the file holds a lock that conflicts with a
// lock of `type` (F_RDLCK: someone holds it exclusively) over the whole
// file, from its first byte to its end or beyond. A lock on a few records,
// as another payroll program takes while it edits one employee, leaves the
// file open to everyone else, as Windows leaves it.
bool LockedByOther(int fd, short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  if (::fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
  if (lock.l_type == F_UNLCK || lock.l_start != 0) return false;
  if (lock.l_len == 0) return true;  // to the end of the file, however long
  struct stat st;
  return ::fstat(fd, &st) == 0 && lock.l_len >= st.st_size;
}

// Opens a regular file; a folder of that name is a path/file access error.
int OpenFile(const fs::path& path, int flags) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) ThrowOpenError(errno, path);
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    throw MakeRuntimeError(75);
  }
  return fd;
}

// Fails with error 70, closing `fd`, when another open holds the file's
// exclusive lock: the holder has asked that nobody read or write it.
void RefuseIfLocked(int fd, short type) {
  if (LockedByOther(fd, type)) {
    ::close(fd);
    throw MakeRuntimeError(70);
  }
}

// Asks again, once, with the path looked up afresh, when what the query
// finds missing was kept by the prefix from an earlier lookup.
template <typename Query>
auto AskTwiceIfMissing(const WinePrefix& prefix, std::string_view path, Query query) {
  try {
    return query();
  } catch (const RuntimeError& error) {
    if ((error.number != 53 && error.number != 76) || !prefix.Forget(path)) throw;
  }
  return query();
}

}  // namespace

struct Files::Channel {
  Mode mode = Mode::Binary;
  Access access = Access::ReadShared;
  int fd = -1;
  bool kept = false;      // the descriptor belongs to kept_, not to the channel
  std::string path;
  std::string name;       // the program's path of the file
  bool eof = false;       // binary: the last Get came short
  std::string in_buffer;  // text input read ahead, from in_pos on
  size_t in_pos = 0;
  bool in_done = false;   // text input: nothing more to read from the file
  std::string out_buffer;

  // Text input: makes at least `want` bytes available unless the file ends.
  void Fill(size_t want) {
    while (!in_done && in_buffer.size() - in_pos < want) {
      if (in_pos > 0) {
        in_buffer.erase(0, in_pos);
        in_pos = 0;
      }
      size_t old = in_buffer.size();
      in_buffer.resize(old + kReadChunk);
      ssize_t n;
      do {
        n = ::read(fd, in_buffer.data() + old, kReadChunk);
      } while (n < 0 && errno == EINTR);
      if (n < 0) {
        in_buffer.resize(old);
        throw MakeRuntimeError(57, name);
      }
      in_buffer.resize(old + static_cast<size_t>(n));
      if (n == 0) in_done = true;
      size_t mark = in_buffer.find(kTextEnd, old);
      if (mark != std::string::npos) {
        in_buffer.resize(mark);
        in_done = true;
      }
    }
  }
  bool InputLeft() {
    Fill(1);
    return in_pos < in_buffer.size();
  }
};

Files::Files(const WinePrefix& prefix) : prefix_(prefix) {}

Files::~Files() {
  try {
    CloseAll();
  } catch (const RuntimeError&) {
    // Nobody is left to tell; every descriptor is closed all the same.
  }
}

int Files::FreeFile() const {
  for (int channel = 1; channel <= kMaxChannel; ++channel) {
    if (channels_.count(channel) == 0) return channel;
  }
  throw MakeRuntimeError(67);
}

bool Files::IsOpen(int channel) const { return channels_.count(channel) != 0; }

std::string Files::OpenPath(int channel) const {
  auto it = channels_.find(channel);
  return it == channels_.end() ? std::string() : it->second->path;
}

void Files::Claim(int channel) {
  if (channel < 1 || channel > kMaxChannel) throw MakeRuntimeError(52);
  if (IsOpen(channel)) throw MakeRuntimeError(55);
}

Files::Channel& Files::Open(int channel) {
  auto it = channels_.find(channel);
  if (it == channels_.end()) throw MakeRuntimeError(52);
  return *it->second;
}

namespace {

// A kept semaphore file is looked at again after this long, in case another
// program deleted or replaced it meanwhile.
constexpr auto kKeptCheck = std::chrono::seconds(1);

// Takes the whole file's write lock; false when another open holds a lock
// on it. A failure of the call itself is a path/file access error.
bool TakeLock(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;  // l_start 0, l_len 0: the whole file, however long
  if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) return true;
  if (errno == EAGAIN || errno == EACCES) return false;
  throw MakeRuntimeError(75);
}

}  // namespace

int Files::LockFile(std::string_view path, std::string& linux_path) {
  auto kept = kept_.find(path);
  if (kept != kept_.end() && std::chrono::steady_clock::now() - kept->second.checked >= kKeptCheck) {
    // A file still linked somewhere is the semaphore the others lock; one
    // deleted, or replaced by another under its name, is not any more.
    struct stat st;
    if (::fstat(kept->second.fd, &st) == 0 && st.st_nlink > 0) {
      kept->second.checked = std::chrono::steady_clock::now();
    } else {
      ::close(kept->second.fd);
      kept_.erase(kept);
      kept = kept_.end();
    }
  }
  if (kept == kept_.end()) {
    Kept file;
    // Opened for writing, as a lock for writing needs, but never created:
    // the payroll programs make their semaphore file.
    file.fd = AskTwiceIfMissing(prefix_, path, [&] {
      const fs::path target = prefix_.Map(path);
      file.path = target.string();
      return OpenFile(target, O_RDWR);
    });
    file.checked = std::chrono::steady_clock::now();
    kept = kept_.emplace(std::string(path), std::move(file)).first;
  }
  linux_path = kept->second.path;
  return kept->second.fd;
}

void Files::OpenBinary(int channel, std::string_view path, Access access) try {
  Claim(channel);
  auto ch = std::make_unique<Channel>();
  ch->mode = Mode::Binary;
  ch->access = access;
  ch->name = std::string(path);
  switch (access) {
    case Access::ReadShared:
      // The payroll product creates its archives; a missing one is reported,
      // not created empty in its folder.
      ch->fd = AskTwiceIfMissing(prefix_, path, [&] {
        const fs::path target = prefix_.Map(path);
        int fd = OpenFile(target, O_RDONLY);
        RefuseIfLocked(fd, F_RDLCK);
        ch->path = target.string();
        return fd;
      });
      break;
    case Access::ReadWriteShared: {
      // A file that may be made here is looked up afresh, so that a new one
      // gets the name the program gives it.
      prefix_.Forget(path);
      fs::path target = prefix_.Map(path);
      ch->fd = OpenFile(target, O_RDWR | O_CREAT);
      RefuseIfLocked(ch->fd, F_WRLCK);
      ch->path = target.string();
      break;
    }
    case Access::ExclusiveLock: {
      // A second channel on a file this process holds locked meets the lock
      // as any other open would.
      const bool in_use = std::any_of(channels_.begin(), channels_.end(), [&](const auto& open) {
        return open.second->kept && open.second->name == path;
      });
      if (in_use) throw MakeRuntimeError(70);
      int fd = LockFile(path, ch->path);
      bool locked = false;
      try {
        locked = TakeLock(fd);
      } catch (const RuntimeError&) {
        ::close(fd);
        kept_.erase(kept_.find(path));
        throw;
      }
      // While another program holds it the file stays open, so that waiting
      // for it costs one call a try.
      if (!locked) throw MakeRuntimeError(70);
      ch->fd = fd;
      ch->kept = true;
      break;
    }
  }
  channels_[channel] = std::move(ch);
} catch (RuntimeError& error) {
  NameFile(error, path);
  throw;
}

void Files::OpenInput(int channel, std::string_view path) try {
  Claim(channel);
  auto ch = std::make_unique<Channel>();
  ch->mode = Mode::Input;
  ch->name = std::string(path);
  ch->fd = AskTwiceIfMissing(prefix_, path, [&] {
    const fs::path target = prefix_.Map(path);
    int fd = OpenFile(target, O_RDONLY);
    RefuseIfLocked(fd, F_RDLCK);
    ch->path = target.string();
    return fd;
  });
  channels_[channel] = std::move(ch);
} catch (RuntimeError& error) {
  NameFile(error, path);
  throw;
}

void Files::OpenOutput(int channel, std::string_view path, bool hold) try {
  Claim(channel);
  prefix_.Forget(path);  // made or emptied here: looked up afresh
  fs::path target = prefix_.Map(path);
  // Emptied only once we know nobody holds the file locked.
  int fd = OpenFile(target, O_WRONLY | O_CREAT);
  RefuseIfLocked(fd, F_WRLCK);
  if (::ftruncate(fd, 0) != 0) {
    int err = errno;
    ::close(fd);
    ThrowOpenError(err, target);
  }
  if (hold) HoldWhileWritten(fd);
  auto ch = std::make_unique<Channel>();
  ch->mode = Mode::Output;
  ch->fd = fd;
  ch->path = target.string();
  ch->name = std::string(path);
  channels_[channel] = std::move(ch);
} catch (RuntimeError& error) {
  NameFile(error, path);
  throw;
}

void Files::OpenAppend(int channel, std::string_view path) try {
  Claim(channel);
  prefix_.Forget(path);  // perhaps made here: looked up afresh
  fs::path target = prefix_.Map(path);
  int fd = OpenFile(target, O_WRONLY | O_CREAT | O_APPEND);
  RefuseIfLocked(fd, F_WRLCK);
  auto ch = std::make_unique<Channel>();
  ch->mode = Mode::Output;
  ch->fd = fd;
  ch->path = target.string();
  ch->name = std::string(path);
  channels_[channel] = std::move(ch);
} catch (RuntimeError& error) {
  NameFile(error, path);
  throw;
}

bool Files::Get(int channel, int64_t position, std::string& buffer) {
  return ReadAt(channel, position, buffer) < buffer.size();
}

size_t Files::ReadAt(int channel, int64_t position, std::string& buffer) {
  Channel& ch = Open(channel);
  if (ch.mode != Mode::Binary) throw MakeRuntimeError(54, ch.name);
  if (position < 1) throw MakeRuntimeError(63, ch.name);
  size_t done = 0;
  while (done < buffer.size()) {
    ssize_t n = ::pread(ch.fd, buffer.data() + done, buffer.size() - done,
                        static_cast<off_t>(position - 1 + static_cast<int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw MakeRuntimeError(57, ch.name);
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(done), buffer.end(), '\0');
  ch.eof = done < buffer.size();
  return done;
}

void Files::Put(int channel, int64_t position, std::string_view bytes) {
  Channel& ch = Open(channel);
  if (ch.mode != Mode::Binary) throw MakeRuntimeError(54, ch.name);
  if (ch.access == Access::ReadShared) throw MakeRuntimeError(75, ch.name);
  if (position < 1) throw MakeRuntimeError(63, ch.name);
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pwrite(ch.fd, bytes.data() + done, bytes.size() - done,
                         static_cast<off_t>(position - 1 + static_cast<int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ThrowWriteError(n < 0 ? errno : ENOSPC, ch.name);
    done += static_cast<size_t>(n);
  }
  ch.eof = false;
}

bool Files::Eof(int channel) {
  Channel& ch = Open(channel);
  switch (ch.mode) {
    case Mode::Binary: return ch.eof;
    case Mode::Input: return !ch.InputLeft();
    case Mode::Output: break;
  }
  throw MakeRuntimeError(54, ch.name);
}

int64_t Files::Lof(int channel) {
  Channel& ch = Open(channel);
  struct stat st;
  if (::fstat(ch.fd, &st) != 0) throw MakeRuntimeError(57, ch.name);
  return static_cast<int64_t>(st.st_size) + static_cast<int64_t>(ch.out_buffer.size());
}

std::string Files::LineInput(int channel) {
  Channel& ch = Open(channel);
  if (ch.mode != Mode::Input) throw MakeRuntimeError(54, ch.name);
  if (!ch.InputLeft()) throw MakeRuntimeError(62, ch.name);
  std::string line;
  for (;;) {
    ch.Fill(1);
    if (ch.in_pos >= ch.in_buffer.size()) return line;  // last line without an end
    const char* begin = ch.in_buffer.data() + ch.in_pos;
    const char* end = ch.in_buffer.data() + ch.in_buffer.size();
    const char* stop = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
    line.append(begin, stop);
    ch.in_pos += static_cast<size_t>(stop - begin);
    if (stop == end) continue;
    char first = *stop;
    ++ch.in_pos;
    if (first == '\r') {
      ch.Fill(1);
      if (ch.in_pos < ch.in_buffer.size() && ch.in_buffer[ch.in_pos] == '\n') ++ch.in_pos;
    }
    return line;
  }
}

void Files::FlushOutput(Channel& ch) {
  size_t done = 0;
  while (done < ch.out_buffer.size()) {
    ssize_t n = ::write(ch.fd, ch.out_buffer.data() + done, ch.out_buffer.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int err = n < 0 ? errno : ENOSPC;
      ch.out_buffer.erase(0, done);
      ThrowWriteError(err, ch.name);
    }
    done += static_cast<size_t>(n);
  }
  ch.out_buffer.clear();
}

void Files::Print(int channel, std::string_view text) {
  Channel& ch = Open(channel);
  if (ch.mode != Mode::Output) throw MakeRuntimeError(54, ch.name);
  ch.out_buffer.append(text);
  if (ch.out_buffer.size() >= kWriteChunk) FlushOutput(ch);
}

void Files::PrintLine(int channel, std::string_view line) {
  Channel& ch = Open(channel);
  if (ch.mode != Mode::Output) throw MakeRuntimeError(54, ch.name);
  ch.out_buffer.append(line);
  ch.out_buffer.append("\r\n");
  if (ch.out_buffer.size() >= kWriteChunk) FlushOutput(ch);
}

void Files::Close(int channel) {
  auto it = channels_.find(channel);
  if (it == channels_.end()) return;
  std::unique_ptr<Channel> ch = std::move(it->second);
  channels_.erase(it);
  if (ch->kept) {
    // Free for other programs from here on; the file stays open for the
    // next lock. Should the unlock fail, closing releases the lock anyway.
    struct flock unlock {};
    unlock.l_type = F_UNLCK;
    unlock.l_whence = SEEK_SET;
    if (::fcntl(ch->fd, F_OFD_SETLK, &unlock) != 0) {
      ::close(ch->fd);
      kept_.erase(kept_.find(ch->name));
    }
    return;
  }
  int err = 0;
  try {
    if (ch->mode == Mode::Output) FlushOutput(*ch);
  } catch (const RuntimeError&) {
    ::close(ch->fd);
    throw;
  }
  if (::close(ch->fd) != 0 && ch->mode != Mode::Input) err = errno;
  // A failed close of a written file means its last bytes may be lost.
  if (err != 0 && err != EINTR) ThrowWriteError(err, ch->name);
}

void Files::CloseAll() {
  std::exception_ptr first;
  while (!channels_.empty()) {
    try {
      Close(channels_.begin()->first);
    } catch (const RuntimeError&) {
      if (!first) first = std::current_exception();
    }
  }
  for (const auto& [name, file] : kept_) ::close(file.fd);
  kept_.clear();
  if (first) std::rethrow_exception(first);
}

namespace {

// The Linux path of a program path, or empty when its drive does not exist.
fs::path MapOrEmpty(const WinePrefix& prefix, std::string_view path) {
  try {
    return prefix.Map(path);
  } catch (const RuntimeError&) {
    return {};
  }
}

// As AskTwiceIfMissing, for the queries below that answer no rather than
// fail.
template <typename Query>
bool AskTwiceIfNot(const WinePrefix& prefix, std::string_view path, Query query) {
  return query() || (prefix.Forget(path) && query());
}


}  // namespace

bool FileExists(const WinePrefix& prefix, std::string_view path) {
  return AskTwiceIfNot(prefix, path, [&] {
    fs::path target = MapOrEmpty(prefix, path);
    struct stat st;
    return !target.empty() && ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  });
}

bool CanOpenForReading(const WinePrefix& prefix, std::string_view path) {
  return AskTwiceIfNot(prefix, path, [&] {
    fs::path target = MapOrEmpty(prefix, path);
    if (target.empty()) return false;
    int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode) && !LockedByOther(fd, F_RDLCK);
    ::close(fd);
    return ok;
  });
}

void Kill(const WinePrefix& prefix, std::string_view path) try {
  AskTwiceIfMissing(prefix, path, [&] {
    fs::path target = prefix.Map(path);
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0) ThrowOpenError(errno, target);
    if (S_ISDIR(st.st_mode)) throw MakeRuntimeError(53);
    if (::unlink(target.c_str()) != 0) ThrowOpenError(errno, target);
  });
  prefix.Forget(path);  // a file made again may take another case
} catch (RuntimeError& error) {
  NameFile(error, path);
  throw;
}

int64_t FileLen(const WinePrefix& prefix, std::string_view path) try {
  return AskTwiceIfMissing(prefix, path, [&] {
    fs::path target = prefix.Map(path);
    struct stat st;
    if (::stat(target.c_str(), &st) != 0) ThrowOpenError(errno, target);
    if (S_ISDIR(st.st_mode)) throw MakeRuntimeError(53);
    return static_cast<int64_t>(st.st_size);
  });
} catch (RuntimeError& error) {
  NameFile(error, path);
  throw;
}

bool DirExists(const WinePrefix& prefix, std::string_view path) {
  return AskTwiceIfNot(prefix, path, [&] {
    fs::path target = MapOrEmpty(prefix, path);
    struct stat st;
    return !target.empty() && ::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  });
}

void MkDir(const WinePrefix& prefix, std::string_view path) try {
  AskTwiceIfMissing(prefix, path, [&] {
    fs::path target = prefix.Map(path);
    if (::mkdir(target.c_str(), 0777) == 0) return;
    int err = errno;
    if (err == EEXIST) throw MakeRuntimeError(75);
    if (err == ENOENT) throw MakeRuntimeError(76);
    ThrowOpenError(err, target);
  });
} catch (RuntimeError& error) {
  NameFile(error, path);
  throw;
}

}  // namespace vx::platform
