// Encodes one file to standard output with one encoder, so that the encoders
// can be timed as whole processes beside compress and zlib on the same files:
//
//   vxorel-encode lzw FILE          our LZW, 12-bit codes, as the listing uses
//   vxorel-encode lzw-pages FILE SIZES
//                                   the same, the file cut into streams of the
//                                   sizes listed (one a line) and encoded one
//                                   after the other by one encoder, as a
//                                   listing encodes its pages
//   vxorel-encode flate LEVEL FILE  our Flate at deflate level 4..7
//   vxorel-encode zlib LEVEL FILE   zlib's compress2 at that level
//
// Input and output go through the same mapping and writes in every mode, so
// the encoders are the only difference between our processes.

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "pdf/encoders.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vxorel-encode lzw FILE | lzw-pages FILE SIZES | flate LEVEL FILE | zlib LEVEL FILE\n");
  return 2;
}

// The file's bytes, mapped rather than copied: compress reads through one
// small buffer, and copying a large file into fresh memory would cost this
// process more than the encoder it is meant to time.
std::string_view MapWhole(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    std::fprintf(stderr, "vxorel-encode: %s: %s\n", path, std::strerror(errno));
    std::exit(1);
  }
  if (st.st_size == 0) return {};
  void* bytes = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  if (bytes == MAP_FAILED) {
    std::fprintf(stderr, "vxorel-encode: %s: %s\n", path, std::strerror(errno));
    std::exit(1);
  }
  ::close(fd);
  return {static_cast<const char*>(bytes), size_t(st.st_size)};
}

bool WriteWhole(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(1, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      std::fprintf(stderr, "vxorel-encode: cannot write the output\n");
      return false;
    }
    bytes.remove_prefix(size_t(n));
  }
  return true;
}

// Each stream is written as soon as it is encoded, from the encoder's own
// buffer, as the listing writes its pages.
int EncodePages(std::string_view input, const char* sizes_path) {
  std::FILE* sizes = std::fopen(sizes_path, "r");
  if (sizes == nullptr) {
    std::fprintf(stderr, "vxorel-encode: %s: %s\n", sizes_path, std::strerror(errno));
    return 1;
  }
  vx::pdf::LZWEncoder encoder;
  unsigned long long page_size = 0;
  while (std::fscanf(sizes, "%llu", &page_size) == 1) {
    if (page_size > input.size()) {
      std::fprintf(stderr, "vxorel-encode: %s: the sizes add up to more than the file\n", sizes_path);
      std::fclose(sizes);
      return 1;
    }
    if (!WriteWhole(encoder.Encode(input.substr(0, size_t(page_size)), 3))) {
      std::fclose(sizes);
      return 1;
    }
    input.remove_prefix(size_t(page_size));
  }
  const bool read_all = std::feof(sizes) != 0;
  std::fclose(sizes);
  if (!read_all || !input.empty()) {
    std::fprintf(stderr, "vxorel-encode: %s: not a list of sizes adding up to the file\n", sizes_path);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string mode = argv[1];
  const bool has_level = mode == "flate" || mode == "zlib";
  if (mode == "lzw-pages") {
    if (argc != 4) return Usage();
    return EncodePages(MapWhole(argv[2]), argv[3]);
  }
  if (mode != "lzw" && !has_level) return Usage();
  if (argc != (has_level ? 4 : 3)) return Usage();
  const int level = has_level ? std::atoi(argv[2]) : 0;
  if (has_level && (level < 4 || level > 7)) return Usage();

  const std::string_view input = MapWhole(argv[argc - 1]);
  const size_t size = input.size();

  if (mode == "lzw") {
    vx::pdf::LZWEncoder encoder;
    return WriteWhole(encoder.Encode(input, 3)) ? 0 : 1;
  }
  if (mode == "flate") return WriteWhole(vx::pdf::FlateEncode(input, level - 4)) ? 0 : 1;
  uLongf out_size = compressBound(uLong(size));
  auto out = std::make_unique_for_overwrite<char[]>(out_size);
  if (compress2(reinterpret_cast<Bytef*>(out.get()), &out_size,
                reinterpret_cast<const Bytef*>(input.data()), uLong(size), level) != Z_OK) {
    std::fprintf(stderr, "vxorel-encode: zlib failed\n");
    return 1;
  }
  return WriteWhole(std::string_view(out.get(), out_size)) ? 0 : 1;
}
