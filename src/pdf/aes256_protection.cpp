#include "pdf/aes256_protection.h"

#include <openssl/evp.h>

#include <memory>

#include "pdf/encoders.h"

namespace vx::pdf {

namespace {

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

const unsigned char* Bytes(std::string_view text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

// data through an AES cipher; padded to whole blocks (PKCS#7) only when pad
// is set, otherwise data is whole blocks already. An empty iv is no IV (ECB).
std::string Aes(const EVP_CIPHER* cipher, std::string_view key, std::string_view iv,
                std::string_view data, bool pad) {
  CipherContext context(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  std::string out(data.size() + 16, '\0');
  auto* to = reinterpret_cast<unsigned char*>(out.data());
  int written = 0, last = 0;
  if (!context ||
      EVP_EncryptInit_ex(context.get(), cipher, nullptr, Bytes(key),
                         iv.empty() ? nullptr : Bytes(iv)) != 1 ||
      EVP_CIPHER_CTX_set_padding(context.get(), pad ? 1 : 0) != 1 ||
      EVP_EncryptUpdate(context.get(), to, &written, Bytes(data), int(data.size())) != 1 ||
      EVP_EncryptFinal_ex(context.get(), to + written, &last) != 1) {
    throw std::runtime_error("AES encryption failed");
  }
  out.resize(size_t(written + last));
  return out;
}

std::string Digest(const EVP_MD* algorithm, std::string_view data) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (EVP_Digest(data.data(), data.size(), digest, &size, algorithm, nullptr) != 1) {
    throw std::runtime_error("SHA-2 digest failed");
  }
  return std::string(reinterpret_cast<char*>(digest), size);
}

std::string Hex(std::string_view bytes) { return "<" + ASCIIHexEncode(bytes) + ">"; }

const char* ProblemText(const PreparedPassword& prepared) {
  return prepared.problem == PasswordProblem::NothingLeft
             ? "password holds only characters that are dropped"
             : "password holds a control character";
}

PreparedPassword Prepare(std::string_view password, bool owner) {
  PreparedPassword prepared = SaslPrep(password);
  if (prepared.problem != PasswordProblem::None) throw PasswordRefused(owner, prepared);
  return prepared;
}

}  // namespace

PasswordRefused::PasswordRefused(bool owner_, PreparedPassword prepared_)
    : std::invalid_argument(std::string(owner_ ? "owner " : "user ") + ProblemText(prepared_)),
      owner(owner_),
      prepared(std::move(prepared_)) {}

std::string Revision6Hash(std::string_view password, std::string_view salt,
                          std::string_view user_entry) {
  std::string k = Digest(EVP_sha256(), std::string(password) + std::string(salt) +
                                           std::string(user_entry));
  std::string block, k1;
  for (int round = 0;; ++round) {
    block.assign(password);
    block += k;
    block += user_entry;
    k1.clear();
    k1.reserve(block.size() * 64);
    for (int i = 0; i < 64; ++i) k1 += block;
    const std::string e = Aes(EVP_aes_128_cbc(), std::string_view(k).substr(0, 16),
                              std::string_view(k).substr(16, 16), k1, false);
    // The first 16 bytes as a big number modulo 3 equal their sum modulo 3,
    // since 256 leaves 1 when divided by 3.
    unsigned sum = 0;
    for (int i = 0; i < 16; ++i) sum += static_cast<unsigned char>(e[size_t(i)]);
    const EVP_MD* next = sum % 3 == 0 ? EVP_sha256() : sum % 3 == 1 ? EVP_sha384() : EVP_sha512();
    k = Digest(next, e);
    if (round >= 63 && static_cast<unsigned char>(e.back()) <= unsigned(round + 1 - 32)) break;
  }
  return k.substr(0, 32);
}

Aes256Protection::Aes256Protection(std::string_view owner_password,
                                   std::string_view user_password, std::string document_id,
                                   RandomBytes random, int32_t permissions)
    : document_id_(std::move(document_id)), random_(std::move(random)), permissions_(permissions) {
  if (owner_password.find_first_not_of(' ') == std::string_view::npos) {
    owner_password = user_password;
  }
  const std::string user = Prepare(user_password, false).utf8;
  const std::string owner = Prepare(owner_password, true).utf8;
  const std::string no_iv(16, '\0');

  file_key_ = random_(32);
  // Validation salt and key salt of the user password, then of the owner's.
  const std::string salts = random_(32);
  const std::string_view user_salts = std::string_view(salts).substr(0, 16);
  const std::string_view owner_salts = std::string_view(salts).substr(16, 16);

  user_entry_ = Revision6Hash(user, user_salts.substr(0, 8), "");
  user_entry_ += user_salts;
  user_key_entry_ = Aes(EVP_aes_256_cbc(), Revision6Hash(user, user_salts.substr(8), ""), no_iv,
                        file_key_, false);

  owner_entry_ = Revision6Hash(owner, owner_salts.substr(0, 8), user_entry_);
  owner_entry_ += owner_salts;
  owner_key_entry_ = Aes(EVP_aes_256_cbc(), Revision6Hash(owner, owner_salts.substr(8), user_entry_),
                         no_iv, file_key_, false);

  // Permissions low byte first, four bytes of ones, metadata encrypted ("T"),
  // the "adb" mark and four random bytes.
  std::string perms;
  for (int i = 0; i < 4; ++i) perms += char(uint32_t(permissions_) >> (8 * i));
  perms += "\xFF\xFF\xFF\xFF" "Tadb";
  perms += random_(4);
  perms_entry_ = Aes(EVP_aes_256_ecb(), file_key_, "", perms, false);
}

std::string Aes256Protection::Encrypt(int32_t, std::string_view data) const {
  std::string iv = random_(16);
  return iv + Aes(EVP_aes_256_cbc(), file_key_, iv, data, true);
}

std::string Aes256Protection::Dictionary() const {
  return "<< /Filter /Standard /V 5 /R 6 /Length 256\r"
         "/CF << /StdCF << /AuthEvent /DocOpen /CFM /AESV3 >> >> /StmF /StdCF /StrF /StdCF\r"
         "/O " + Hex(owner_entry_) + "\r/U " + Hex(user_entry_) + "\r/OE " + Hex(owner_key_entry_) +
         "\r/UE " + Hex(user_key_entry_) + "\r/Perms " + Hex(perms_entry_) + "\r/P " +
         std::to_string(permissions_) + " >>";
}

std::string Aes256Protection::CatalogEntries() const {
  return "/Extensions << /ADBE << /BaseVersion /1.7 /ExtensionLevel 8 >> >>";
}

}  // namespace vx::pdf
