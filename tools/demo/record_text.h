#pragma once
// A fixed-length payroll record being built: blanks until fields are set, each
// field placed by its descriptor.

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::demo {

class RecordText {
 public:
  explicit RecordText(size_t length) : bytes_(length, ' ') {}

  // Writes text left-aligned, padded with blanks and cut to the field length.
  RecordText& SetText(std::string_view descriptor, std::string_view text);
  // Writes a number as the field type stores it: right-aligned, zero-padded,
  // a leading "-" for negatives. For a type with d implied decimals the value
  // is in units of 10^-d (123456 in a 2-decimal field reads 1234.56).
  RecordText& SetNumber(std::string_view descriptor, int64_t value);
  // Writes bytes at a 1-based position; for data that no descriptor names
  // (the deleted-record mark, the payroll date record).
  RecordText& SetAt(size_t position, std::string_view bytes);

  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace vx::demo
