#pragma once
// What the PDF writer takes from the world around it: the local time (the
// creation date and made-up file names), a random digit (made-up file names),
// random bytes (AES keys, salts and initialisation vectors),
// the file system and the message boxes. Tests replace each of them so that a
// document compares byte for byte and failures can be provoked at will.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vx::platform {
class MessageBoxes;
}

namespace vx::pdf {

struct LocalDateTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// A file opened for writing. Errors are vx::platform::RuntimeError.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Appends bytes at the end of what was written so far.
  virtual void Write(std::string_view bytes) = 0;
  // Overwrites bytes already written, starting at a 0-based offset.
  virtual void WriteAt(int64_t offset, std::string_view bytes) = 0;
  virtual void Close() = 0;
};

// The file operations the writer needs. Errors are vx::platform::RuntimeError
// with the usual numbers: 70 permission denied, 76 path not found, 75 path or
// file access error, 61 disk full, 57 device I/O error.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool CanOpenForReading(const std::string& path) = 0;
  virtual void Remove(const std::string& path) = 0;
  // Creates (or truncates) the file for writing.
  virtual std::unique_ptr<OutputFile> Create(const std::string& path) = 0;
};

// The computer's own files, paths as the operating system spells them.
FileSystem& LocalFileSystem();

// The local date and time now.
LocalDateTime LocalNow();

// A random decimal digit.
int RandomDigit();

// count bytes from the operating system's cryptographic random source.
std::string RandomBytes(size_t count);

struct WriterServices {
  std::function<LocalDateTime()> now = LocalNow;
  std::function<int()> random_digit = RandomDigit;
  FileSystem* files = &LocalFileSystem();
  // Asks the user to close a PDF file that is open elsewhere; null, or boxes
  // nobody can answer, make such a failure final instead of retried.
  platform::MessageBoxes* boxes = nullptr;
  std::function<std::string(size_t)> random_bytes = RandomBytes;
};

}  // namespace vx::pdf
