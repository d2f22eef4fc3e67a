#pragma once
// The record buffers field access reads: one per record prefix of the
// payroll product, filled by the callers after each record read.

#include <array>
#include <string>
#include <string_view>

namespace vx::archive {

class RecordBuffers {
 public:
  static constexpr size_t kCount = 24;
  // The prefixes, in the order the buffers are kept.
  static const std::array<std::string_view, kCount>& Prefixes();

  // The buffer of a prefix ("DIPX$"), or null for a prefix the payroll
  // product does not have.
  std::string* Find(std::string_view prefix);
  const std::string* Find(std::string_view prefix) const;

  // The buffer of a known prefix; run-time error 9 for any other.
  std::string& operator[](std::string_view prefix);

 private:
  std::array<std::string, kCount> buffers_;
};

}  // namespace vx::archive
