#include "register/sha256.h"

// The low-level calls are deprecated in OpenSSL 3 in favour of EVP, yet
// kept: see Digest.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/sha.h>

#include <fstream>
#include <memory>
#include <stdexcept>

namespace vx::reg {

namespace {

// OpenSSL's SHA-256 on its own: the EVP interface would load and set up a
// whole provider (some megabytes of the process) for one digest a file.
class Digest {
 public:
  Digest() {
    if (SHA256_Init(&context_) != 1) throw std::runtime_error("SHA-256 not available");
  }
  void Add(const void* data, std::size_t size) {
    if (SHA256_Update(&context_, data, size) != 1) throw std::runtime_error("SHA-256 failed");
  }
  std::string Hex() {
    unsigned char digest[SHA256_DIGEST_LENGTH];
    if (SHA256_Final(digest, &context_) != 1) throw std::runtime_error("SHA-256 failed");
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : digest) {
      hex += kDigits[byte >> 4];
      hex += kDigits[byte & 15];
    }
    return hex;
  }

 private:
  SHA256_CTX context_;
};

}  // namespace

std::string Sha256Hex(std::string_view bytes) {
  Digest digest;
  digest.Add(bytes.data(), bytes.size());
  return digest.Hex();
}

std::optional<std::string> FileSha256Hex(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  Digest digest;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    digest.Add(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.eof()) break;
  }
  if (in.bad()) return std::nullopt;
  return digest.Hex();
}

}  // namespace vx::reg
