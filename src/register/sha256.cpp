#include "register/sha256.h"

#include <openssl/evp.h>

#include <fstream>
#include <memory>
#include <stdexcept>

namespace vx::reg {

namespace {

class Digest {
 public:
  Digest() : context_(EVP_MD_CTX_new(), EVP_MD_CTX_free) {
    if (!context_ || EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr) != 1)
      throw std::runtime_error("SHA-256 not available");
  }
  void Add(const void* data, std::size_t size) {
    if (EVP_DigestUpdate(context_.get(), data, size) != 1) throw std::runtime_error("SHA-256 failed");
  }
  std::string Hex() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context_.get(), digest, &length) != 1) throw std::runtime_error("SHA-256 failed");
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
      hex += kDigits[digest[i] >> 4];
      hex += kDigits[digest[i] & 15];
    }
    return hex;
  }

 private:
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context_;
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
