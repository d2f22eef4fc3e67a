#pragma once
// The writer's file, buffered so that the many short lines of a document cost
// few system calls. Positions count the bytes handed to the file so far.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "pdf/writer_services.h"

namespace vx::pdf {

class BufferedOutput {
 public:
  BufferedOutput();

  void Open(std::unique_ptr<OutputFile> file);
  bool IsOpen() const { return file_ != nullptr; }

  // Appends bytes; without an open file this is run-time error 52.
  void Write(std::string_view bytes) {
    if (!file_) NotOpen();
    if (bytes.size() > kCapacity - buffer_.size()) {
      WriteThrough(bytes);
    } else {
      buffer_.append(bytes);
    }
  }
  void Write(char byte) {
    if (!file_) NotOpen();
    if (buffer_.size() == kCapacity) Flush();
    buffer_.push_back(byte);
  }
  // Overwrites bytes already written, from a 0-based offset.
  void WriteAt(int64_t offset, std::string_view bytes);

  // Bytes written so far (the 0-based offset of the next byte).
  int64_t Position() const { return flushed_ + static_cast<int64_t>(buffer_.size()); }

  // Writes out what is buffered and closes the file; errors propagate.
  void Close();
  // Closes the file, writing out what it can, without reporting errors: the
  // caller is abandoning the document.
  void Abandon();

 private:
  static constexpr size_t kCapacity = 64 * 1024;

  [[noreturn]] static void NotOpen();
  void Flush();
  void WriteThrough(std::string_view bytes);
  OutputFile& File();

  std::unique_ptr<OutputFile> file_;
  std::string buffer_;
  int64_t flushed_ = 0;
};

}  // namespace vx::pdf
