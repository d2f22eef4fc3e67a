#include "pdf/writer_services.h"

#include <openssl/rand.h>

#include <ctime>
#include <random>
#include <stdexcept>

namespace vx::pdf {

LocalDateTime LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

int RandomDigit() {
  static std::mt19937 generator{std::random_device{}()};
  return static_cast<int>(generator() % 10);
}

std::string RandomBytes(size_t count) {
  std::string bytes(count, '\0');
  if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), int(count)) != 1) {
    throw std::runtime_error("no random bytes for the document's keys");
  }
  return bytes;
}

}  // namespace vx::pdf
