// Feeds arbitrary bytes to the pure readers of the archive layer: the index
// block search, descriptors and repeated groups over records, the numeric
// value of a text with the amount formatting built on it, and the trace ring.
// Every input must end in a value or a run-time error, never in a crash, a
// hang or undefined behaviour; the checks below hold for any input.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "archive/expand_exponent.h"
#include "archive/field_value.h"
#include "archive/format_number.h"
#include "archive/isam_block.h"
#include "archive/number_value.h"
#include "archive/repeated_groups.h"
#include "archive/trace.h"
#include "platform/errors.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void BlockSearch(std::string_view bytes) {
  if (bytes.empty()) return;
  const size_t key_length = 1 + static_cast<unsigned char>(bytes[0]) % 16;
  if (bytes.size() < 1 + key_length) return;
  const std::string_view key = bytes.substr(1, key_length);
  const std::string_view block = bytes.substr(1 + key_length);
  const int slot = vx::archive::SearchBlock(block, key);
  const size_t slots = block.size() / (key_length + 7);
  Check(slot >= 1 && static_cast<size_t>(slot) <= std::max<size_t>(slots, 1));
  vx::archive::SlotNumber(block, key_length, slot);
}

void Field(std::string_view bytes) {
  if (bytes.size() < 25) return;
  const std::string_view descriptor = bytes.substr(0, 23);
  const auto occurrence = static_cast<int16_t>(static_cast<unsigned char>(bytes[23]) |
                                               (static_cast<unsigned char>(bytes[24]) << 8));
  const std::string_view record = bytes.substr(25);
  const vx::archive::GroupShift shift = vx::archive::RepoSpostamento(descriptor, occurrence);
  const std::string text = vx::archive::FieldText(descriptor, shift.shift, record);
  Check(text.size() <= record.size() + 2);
  vx::archive::NumericValue(text);
}

void Numbers(std::string_view bytes) {
  if (bytes.empty()) return;
  int16_t decimals = static_cast<int16_t>(static_cast<unsigned char>(bytes[0]) % 24);
  const std::string_view text = bytes.substr(1);
  const double value = vx::archive::NumericValue(text);
  const std::string plain = vx::archive::NumberText(value);
  // Fifteen significant digits read back to within their last digit.
  if (std::fabs(value) > 1e-300 && std::fabs(value) < 1e300) {
    Check(std::fabs(vx::archive::NumericValue(plain) - value) <= std::fabs(value) * 1e-14);
  }
  const std::string amount = vx::archive::FORMATTANUMERO(value, decimals);
  Check(decimals > 0);
  const size_t point = amount.find('.');
  Check(point != std::string::npos && amount.size() - point - 1 == static_cast<size_t>(decimals));
  std::string any(text);
  vx::archive::ESPANDIESPONENTE(any);
}

void Trace(std::string_view bytes) {
  vx::archive::TraceRing ring;
  int16_t newest = 0;
  size_t start = 0;
  while (start <= bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    vx::archive::TRACCIA(ring, newest, bytes.substr(start, end - start));
    Check(newest >= 0 && newest <= 10);
    start = end + 1;
  }
  Check(ring[0].empty());
  vx::archive::TraceListing(ring, newest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    switch (data[0] % 4) {
      case 0: BlockSearch(bytes); break;
      case 1: Field(bytes); break;
      case 2: Numbers(bytes); break;
      default: Trace(bytes); break;
    }
  } catch (const vx::platform::RuntimeError&) {
    // A run-time error is one of the outcomes the layer reports.
  }
  return 0;
}
