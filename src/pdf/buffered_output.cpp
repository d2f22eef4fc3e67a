#include "pdf/buffered_output.h"

#include "platform/errors.h"

namespace vx::pdf {

BufferedOutput::BufferedOutput() { buffer_.reserve(kCapacity); }

void BufferedOutput::Open(std::unique_ptr<OutputFile> file) {
  Abandon();
  file_ = std::move(file);
  flushed_ = 0;
}

void BufferedOutput::NotOpen() {
  throw platform::MakeRuntimeError(52);  // bad file name or number
}

OutputFile& BufferedOutput::File() {
  if (!file_) NotOpen();
  return *file_;
}

void BufferedOutput::Flush() {
  if (buffer_.empty()) return;
  File().Write(buffer_);
  flushed_ += static_cast<int64_t>(buffer_.size());
  buffer_.clear();
}

void BufferedOutput::WriteThrough(std::string_view bytes) {
  Flush();
  if (bytes.size() < kCapacity) {
    buffer_.append(bytes);
    return;
  }
  File().Write(bytes);
  flushed_ += static_cast<int64_t>(bytes.size());
}

void BufferedOutput::WriteAt(int64_t offset, std::string_view bytes) {
  Flush();
  File().WriteAt(offset, bytes);
}

void BufferedOutput::Close() {
  Flush();
  std::unique_ptr<OutputFile> file = std::move(file_);
  if (file) file->Close();
}

void BufferedOutput::Abandon() {
  std::unique_ptr<OutputFile> file = std::move(file_);
  if (!file) {
    buffer_.clear();
    return;
  }
  try {
    if (!buffer_.empty()) file->Write(buffer_);
    file->Close();
  } catch (const platform::RuntimeError&) {
    // The document is being given up; its file stays as far as it got.
  }
  buffer_.clear();
}

}  // namespace vx::pdf
