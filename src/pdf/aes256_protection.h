#pragma once
// Document protection with AES-256 (standard security handler, revision 6):
// a random 32-byte file key, sealed once under the user password (/U, /UE)
// and once under the owner password (/O, /OE), the permissions sealed under
// the file key (/Perms), and every string and stream encrypted with AES-256
// in CBC mode behind a random initialisation vector of its own.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "pdf/saslprep.h"
#include "pdf/security_handler.h"

namespace vx::pdf {

// A password that SaslPrep refuses; nobody could type it to open the file.
struct PasswordRefused : std::invalid_argument {
  PasswordRefused(bool owner_, PreparedPassword prepared_);
  bool owner;  // the owner password, not the user's
  PreparedPassword prepared;
};

// The hash revision 6 derives keys and password checks with: SHA-256 of
// password, salt and user entry, then at least 64 rounds that encrypt 64
// copies of (password, digest, user entry) with AES-128-CBC and hash the
// result with SHA-256, -384 or -512 as the result's first 16 bytes choose.
// user_entry is empty for the user password's checks and the 48-byte /U for
// the owner's. Returns 32 bytes.
std::string Revision6Hash(std::string_view password, std::string_view salt,
                          std::string_view user_entry);

class Aes256Protection final : public SecurityHandler {
 public:
  // Returns count bytes from a cryptographic random source.
  using RandomBytes = std::function<std::string(size_t count)>;

  // Print and copy (at full quality, and for accessibility) allowed;
  // changes, annotations, form filling and page assembly not: what the
  // 40-bit protection's "print and copy" grants, in the finer terms of
  // revision 6.
  static constexpr int32_t kPrintAndCopyOnly = -1324;

  // The keys and entries for two cp1252 passwords (a blank owner password
  // becomes the user password, as with RC4). Throws PasswordRefused when
  // either cannot be prepared.
  Aes256Protection(std::string_view owner_password, std::string_view user_password,
                   std::string document_id, RandomBytes random,
                   int32_t permissions = kPrintAndCopyOnly);

  std::string Encrypt(int32_t object_number, std::string_view data) const override;
  std::string Dictionary() const override;
  const std::string& Identifier() const override { return document_id_; }
  int MinorVersion() const override { return 7; }
  std::string CatalogEntries() const override;

  const std::string& FileKey() const { return file_key_; }
  const std::string& UserEntry() const { return user_entry_; }    // /U, 48 bytes
  const std::string& OwnerEntry() const { return owner_entry_; }  // /O, 48 bytes

 private:
  std::string document_id_;
  RandomBytes random_;
  int32_t permissions_;
  std::string file_key_;
  std::string user_entry_, user_key_entry_;    // /U and /UE
  std::string owner_entry_, owner_key_entry_;  // /O and /OE
  std::string perms_entry_;                    // /Perms
};

}  // namespace vx::pdf
