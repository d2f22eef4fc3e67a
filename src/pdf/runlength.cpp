#include "pdf/encoders.h"

namespace vx::pdf {

std::string RunLengthEncode(std::string_view data) {
  std::string out;
  out.reserve(data.size() + data.size() / 128 + 2);
  const size_t n = data.size();
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 128 && data[i + run] == data[i]) ++run;
    if (run >= 2) {
      out += char(257 - run);
      out += data[i];
      i += run;
      continue;
    }
    // Collect literals until a run of at least two begins; a pair inside a
    // literal group costs the same as a run, so literals stop only there.
    const size_t start = i;
    while (i < n && i - start < 128) {
      if (i + 1 < n && data[i + 1] == data[i]) break;
      ++i;
    }
    out += char(i - start - 1);
    out.append(data.substr(start, i - start));
  }
  out += char(128);
  return out;
}

}  // namespace vx::pdf
