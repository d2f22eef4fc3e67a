#include "pdf/huffman.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace vx::pdf {

void BuildCodeLengths(const uint32_t* freq, int count, int limit,
                      uint8_t* lengths) {
  std::fill(lengths, lengths + count, uint8_t(0));
  std::vector<std::pair<uint32_t, int>> used;  // (weight, symbol)
  used.reserve(size_t(count));
  for (int s = 0; s < count; ++s) {
    if (freq[s] > 0) used.emplace_back(freq[s], s);
  }
  for (int s = 0; used.size() < 2 && s < count; ++s) {
    if (freq[s] == 0) used.emplace_back(1, s);
  }
  std::sort(used.begin(), used.end());
  const int n = int(used.size());
  if (n < 2) {
    if (n == 1) lengths[used[0].second] = 1;
    return;
  }

  // Minimum-redundancy code lengths computed in place over the weights in
  // ascending order (Moffat and Katajainen).
  std::vector<uint32_t> a(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) a[size_t(i)] = used[size_t(i)].first;
  a[0] += a[1];
  int root = 0, leaf = 2;
  for (int next = 1; next < n - 1; ++next) {
    if (leaf >= n || a[root] < a[leaf]) {
      a[next] = a[root];
      a[root++] = uint32_t(next);
    } else {
      a[next] = a[leaf++];
    }
    if (leaf >= n || (root < next && a[root] < a[leaf])) {
      a[next] += a[root];
      a[root++] = uint32_t(next);
    } else {
      a[next] += a[leaf++];
    }
  }
  a[n - 2] = 0;
  for (int next = n - 3; next >= 0; --next) a[next] = a[a[next]] + 1;
  int available = 1, used_nodes = 0, depth = 0;
  root = n - 2;
  int next = n - 1;
  while (available > 0) {
    while (root >= 0 && int(a[root]) == depth) {
      ++used_nodes;
      --root;
    }
    while (available > used_nodes) {
      a[next--] = uint32_t(depth);
      --available;
    }
    available = 2 * used_nodes;
    ++depth;
    used_nodes = 0;
  }

  // Count codes per length, fold the too-long ones into the limit and
  // restore a complete code by lengthening shorter codes.
  std::array<int, 33> per_length{};
  for (int i = 0; i < n; ++i) ++per_length[std::min<uint32_t>(a[i], 32)];
  for (int len = limit + 1; len <= 32; ++len) {
    per_length[limit] += per_length[len];
    per_length[len] = 0;
  }
  uint32_t total = 0;
  for (int len = limit; len > 0; --len) {
    total += uint32_t(per_length[len]) << (limit - len);
  }
  while (total != (1u << limit)) {
    --per_length[limit];
    for (int len = limit - 1; len > 0; --len) {
      if (per_length[len] > 0) {
        --per_length[len];
        per_length[len + 1] += 2;
        break;
      }
    }
    --total;
  }
  // The most frequent symbols get the shortest codes.
  int index = n;
  for (int len = 1; len <= limit; ++len) {
    for (int k = per_length[len]; k > 0; --k) {
      lengths[used[size_t(--index)].second] = uint8_t(len);
    }
  }
}

void BuildCodes(const uint8_t* lengths, int count, uint16_t* codes) {
  constexpr int kMaxCodeBits = 15;
  std::array<uint16_t, kMaxCodeBits + 2> per_length{};
  for (int s = 0; s < count; ++s) ++per_length[lengths[s]];
  per_length[0] = 0;
  std::array<uint16_t, kMaxCodeBits + 2> next{};
  uint16_t code = 0;
  for (int len = 1; len <= kMaxCodeBits; ++len) {
    code = uint16_t((code + per_length[len - 1]) << 1);
    next[len] = code;
  }
  for (int s = 0; s < count; ++s) {
    const int len = lengths[s];
    if (len == 0) continue;
    uint16_t c = next[len]++;
    uint16_t reversed = 0;
    for (int i = 0; i < len; ++i) {
      reversed = uint16_t(reversed << 1 | (c & 1));
      c >>= 1;
    }
    codes[s] = reversed;
  }
}

}  // namespace vx::pdf
