// AES-256 protection over arbitrary passwords and data. The input holds two
// passwords and the data to encrypt, separated by zero bytes; the random
// source replays the input. A password SaslPrep accepts must yield entries
// whose checks our hash confirms, and every encrypted string must decrypt,
// under the file key sealed in /UE, to the data.

#include <openssl/evp.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pdf/aes256_protection.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string Decrypt(const EVP_CIPHER* cipher, std::string_view key, std::string_view iv,
                    std::string_view data, bool padded) {
  EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
  std::string out(data.size() + 16, '\0');
  int written = 0, last = 0;
  auto* to = reinterpret_cast<unsigned char*>(out.data());
  const bool ok =
      EVP_DecryptInit_ex(context, cipher, nullptr, reinterpret_cast<const unsigned char*>(key.data()),
                         reinterpret_cast<const unsigned char*>(iv.data())) == 1 &&
      EVP_CIPHER_CTX_set_padding(context, padded ? 1 : 0) == 1 &&
      EVP_DecryptUpdate(context, to, &written, reinterpret_cast<const unsigned char*>(data.data()),
                        int(data.size())) == 1 &&
      EVP_DecryptFinal_ex(context, to + written, &last) == 1;
  EVP_CIPHER_CTX_free(context);
  Check(ok);
  out.resize(size_t(written + last));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string input(reinterpret_cast<const char*>(bytes), size);
  const size_t first = input.find('\0');
  if (first == std::string::npos) return 0;
  const size_t second = input.find('\0', first + 1);
  if (second == std::string::npos) return 0;
  const std::string owner = input.substr(0, first).substr(0, 200);
  const std::string user = input.substr(first + 1, second - first - 1).substr(0, 200);
  const std::string data = input.substr(second + 1);
  size_t at = 0;
  auto replay = [&](size_t count) {
    std::string out;
    for (; out.size() < count; ++at) out += char(input[at % input.size()] ^ char(at));
    return out;
  };

  const vx::pdf::PreparedPassword prepared_user = vx::pdf::SaslPrep(user);
  const bool blank_owner = owner.find_first_not_of(' ') == std::string::npos;
  const vx::pdf::PreparedPassword prepared_owner = vx::pdf::SaslPrep(blank_owner ? user : owner);
  try {
    const vx::pdf::Aes256Protection p(owner, user, "id", replay);
    Check(prepared_user.problem == vx::pdf::PasswordProblem::None);
    Check(prepared_owner.problem == vx::pdf::PasswordProblem::None);
    const std::string& u = p.UserEntry();
    const std::string& o = p.OwnerEntry();
    Check(u.size() == 48 && o.size() == 48);
    Check(vx::pdf::Revision6Hash(prepared_user.utf8, u.substr(32, 8), "") == u.substr(0, 32));
    Check(vx::pdf::Revision6Hash(prepared_owner.utf8, o.substr(32, 8), u) == o.substr(0, 32));
    const std::string encrypted = p.Encrypt(7, data);
    Check(encrypted.size() == 16 + (data.size() / 16 + 1) * 16);
    Check(Decrypt(EVP_aes_256_cbc(), p.FileKey(), encrypted.substr(0, 16), encrypted.substr(16),
                  true) == data);
  } catch (const vx::pdf::PasswordRefused& refused) {
    Check((refused.owner ? prepared_owner : prepared_user).problem != vx::pdf::PasswordProblem::None);
  }
  return 0;
}
