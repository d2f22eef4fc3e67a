#include "pdf/encoders.h"

namespace vx::pdf {

std::string ASCIIHexEncode(std::string_view data) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out(data.size() * 2, '0');
  for (size_t i = 0; i < data.size(); ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    out[2 * i] = kDigits[byte >> 4];
    out[2 * i + 1] = kDigits[byte & 15];
  }
  return out;
}

}  // namespace vx::pdf
