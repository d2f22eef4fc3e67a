// Every stream encoder over arbitrary bytes: each encoding must decode back
// to the input exactly (Flate through zlib, the others through the plain
// decoders below). The first byte chooses the quality.

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "pdf/encoders.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string LzwDecode(const std::string& in) {
  std::vector<std::string> table;
  auto reset = [&] {
    table.assign(258, "");
    for (int i = 0; i < 256; ++i) table[size_t(i)] = std::string(1, char(i));
  };
  reset();
  std::string out, previous;
  size_t bit = 0;
  for (;;) {
    const size_t next = table.size();
    const int width = next + 1 >= 2048 ? 12 : next + 1 >= 1024 ? 11 : next + 1 >= 512 ? 10 : 9;
    Check(bit + size_t(width) <= in.size() * 8);
    uint32_t code = 0;
    for (int i = 0; i < width; ++i, ++bit) {
      code = code << 1 | ((uint8_t(in[bit / 8]) >> (7 - bit % 8)) & 1);
    }
    if (code == 256) {
      reset();
      previous.clear();
      continue;
    }
    if (code == 257) return out;
    std::string entry;
    if (code < next && code > 257) {
      entry = table[code];
    } else if (code < 256) {
      entry = table[code];
    } else {
      Check(code == next && !previous.empty());
      entry = previous + previous[0];
    }
    if (!previous.empty()) {
      Check(table.size() < 4096);
      table.push_back(previous + entry[0]);
    }
    out += entry;
    previous = entry;
  }
}

std::string RunLengthDecode(const std::string& in) {
  std::string out;
  size_t i = 0;
  for (;;) {
    Check(i < in.size());
    const int length = uint8_t(in[i++]);
    if (length == 128) return out;
    if (length < 128) {
      Check(i + size_t(length) + 1 <= in.size());
      out.append(in, i, size_t(length) + 1);
      i += size_t(length) + 1;
    } else {
      Check(i < in.size());
      out.append(size_t(257 - length), in[i++]);
    }
  }
}

std::string Ascii85Decode(const std::string& in) {
  std::string out;
  uint64_t value = 0;
  int count = 0;
  for (size_t i = 0; i < in.size(); ++i) {
    const char c = in[i];
    if (c == '\n') continue;
    if (c == '~') {
      Check(i + 2 == in.size() && in[i + 1] == '>');
      Check(count != 1);
      if (count > 0) {
        for (int k = count; k < 5; ++k) value = value * 85 + 84;
        for (int k = 0; k < count - 1; ++k) out += char(value >> (24 - 8 * k));
      }
      return out;
    }
    if (c == 'z') {
      Check(count == 0);
      out.append(4, '\0');
      continue;
    }
    Check(c >= '!' && c <= 'u');
    value = value * 85 + uint64_t(c - '!');
    if (++count == 5) {
      Check(value <= 0xFFFFFFFFu);
      for (int k = 0; k < 4; ++k) out += char(value >> (24 - 8 * k));
      value = 0;
      count = 0;
    }
  }
  Check(false);
  return out;
}

std::string AsciiHexDecode(const std::string& in) {
  Check(in.size() % 2 == 0);
  std::string out;
  for (size_t i = 0; i < in.size(); i += 2) {
    out += char(std::stoi(in.substr(i, 2), nullptr, 16));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;
  const int quality = bytes[0] % 5;  // 4 stands for anything above 3
  const std::string data(reinterpret_cast<const char*>(bytes) + 1, size - 1);

  Check(LzwDecode(vx::pdf::LZWEncode(data, quality)) == data);

  const std::string flate = vx::pdf::FlateEncode(data, quality);
  std::string inflated(data.size() + 1, '\0');
  uLongf inflated_size = inflated.size();
  Check(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &inflated_size,
                   reinterpret_cast<const Bytef*>(flate.data()), flate.size()) == Z_OK);
  Check(inflated.substr(0, inflated_size) == data);

  Check(RunLengthDecode(vx::pdf::RunLengthEncode(data)) == data);
  Check(Ascii85Decode(vx::pdf::ASCII85Encode(data)) == data);
  Check(AsciiHexDecode(vx::pdf::ASCIIHexEncode(data)) == data);
  return 0;
}
