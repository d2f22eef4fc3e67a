#pragma once
// Detects another running instance of the program for the same user and Wine
// prefix (two prefixes are two Windows machines).

#include <memory>
#include <string>
#include <string_view>

#include "platform/wine_prefix.h"

namespace vx::platform {

class SingleInstance {
 public:
  // Takes the instance lock, held until the object is destroyed or the
  // process dies. Null when another live process holds it. A lock file that
  // cannot be created gives run-time error 75.
  static std::unique_ptr<SingleInstance> TryAcquire(const WinePrefix& prefix,
                                                    std::string_view program_name);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Where the lock lives (for messages and tests).
  const std::string& LockPath() const { return path_; }

 private:
  SingleInstance(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  int fd_;
  std::string path_;
};

}  // namespace vx::platform
