#include "pdf/writer_services.h"

#include <ctime>
#include <random>

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

}  // namespace vx::pdf
