#pragma once
// Document protection with the standard security handler: the owner and user
// entries, the document key and the per-object RC4 keys of an encrypted PDF.

#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/security_handler.h"

namespace vx::pdf {

struct Protection : SecurityHandler {
  // Computes every value of the encryption dictionary from the writer's
  // protection mode (bit 0x1000 selects 128-bit keys, the low bits grant
  // permissions), the two passwords and the document identifier. A blank
  // owner password (spaces only) is replaced by the user password, so that
  // nobody can open the file with a password its author never chose.
  static Protection Make(int32_t mode, std::string_view owner_password,
                         std::string_view user_password,
                         std::string_view document_id);

  int revision = 2;     // 2 (40-bit keys) or 3 (128-bit keys)
  int key_length = 10;  // bytes of every per-object key: 10 or 16
  std::string document_key;  // 5 or 16 bytes
  std::string owner_entry;   // 32 bytes, the /O value
  std::string user_entry;    // 32 bytes, the /U value
  std::string document_id;   // the identifier the keys were derived from
  int32_t permissions = 0;   // the /P value, written as a signed decimal

  // The RC4 key of one object (generation 0).
  std::string ObjectKey(int32_t object_number) const;
  // data encrypted (or decrypted) with the key of object_number.
  std::string Encrypt(int32_t object_number, std::string_view data) const override;
  std::string Dictionary() const override;
  const std::string& Identifier() const override { return document_id; }
  int MinorVersion() const override { return revision >= 3 ? 4 : 3; }
};

}  // namespace vx::pdf
