#include "pdf/protection.h"

#include "pdf/md5.h"
#include "pdf/rc4.h"
#include "pdf/text_literal.h"

namespace vx::pdf {

namespace {

// The 32 bytes that complete every password before it is hashed.
constexpr char kPadding[] =
    "\x28\xBF\x4E\x5E\x4E\x75\x8A\x41\x64\x00\x4E\x56\xFF\xFA\x01\x08"
    "\x2E\x2E\x00\xB6\xD0\x68\x3E\x80\x2F\x0C\xA9\xFE\x64\x53\x69\x7A";
constexpr std::string_view kPad(kPadding, 32);

std::string PadPassword(std::string_view password) {
  std::string padded(password.substr(0, 32));
  padded.append(kPad.substr(0, 32 - padded.size()));
  return padded;
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

// The 128-bit handler strengthens a digest by hashing it 50 more times.
std::string Rehash50(std::string digest) {
  for (int i = 0; i < 50; ++i) digest = Md5(digest);
  return digest;
}

// The 128-bit handler encrypts 19 more times with the key's bytes XORed with
// the pass number.
std::string Rc4TwentyPasses(const std::string& key, std::string data) {
  data = Rc4(key, data);
  for (int pass = 1; pass <= 19; ++pass) {
    std::string pass_key = key;
    for (char& c : pass_key) c = char(uint8_t(c) ^ pass);
    data = Rc4(pass_key, data);
  }
  return data;
}

}  // namespace

Protection Protection::Make(int32_t mode, std::string_view owner_password,
                            std::string_view user_password,
                            std::string_view document_id) {
  Protection p;
  if (IsBlank(owner_password)) owner_password = user_password;
  p.document_id = std::string(document_id);

  size_t key_bytes;
  if (mode & 0x1000) {
    p.revision = 3;
    p.key_length = 16;
    key_bytes = 16;
    // Bits 0xF0C0 are always set; the low twelve bits of mode grant rights.
    p.permissions = int16_t(uint16_t((mode & 0xFFF) - 3904));
  } else {
    p.revision = 2;
    p.key_length = 10;
    key_bytes = 5;
    p.permissions = int32_t(0xFFFFFF00u | uint32_t((mode + 192) & 255));
  }

  const std::string padded_user = PadPassword(user_password);

  std::string owner_digest = Md5(PadPassword(owner_password));
  if (p.revision == 3) owner_digest = Rehash50(owner_digest);
  const std::string owner_key = owner_digest.substr(0, key_bytes);
  p.owner_entry = p.revision == 3 ? Rc4TwentyPasses(owner_key, padded_user)
                                  : Rc4(owner_key, padded_user);

  std::string material = padded_user + p.owner_entry;
  const uint32_t raw_permissions = uint32_t(p.permissions);
  for (int i = 0; i < 4; ++i) material += char(raw_permissions >> (8 * i));
  material += p.document_id;
  std::string key_digest = Md5(material);
  if (p.revision == 3) key_digest = Rehash50(key_digest);
  p.document_key = key_digest.substr(0, key_bytes);

  if (p.revision == 3) {
    p.user_entry = Rc4TwentyPasses(p.document_key,
                                   Md5(std::string(kPad) + p.document_id));
    // Readers compare only the first 16 bytes; the rest is free, and zeros
    // keep the entry short once escaped.
    p.user_entry.append(16, '\0');
  } else {
    p.user_entry = Rc4(p.document_key, kPad);
  }
  return p;
}

std::string Protection::ObjectKey(int32_t object_number) const {
  std::string material = document_key;
  material += char(object_number & 0xFF);
  material += char((object_number >> 8) & 0xFF);
  material += char((object_number >> 16) & 0xFF);
  material.append(2, '\0');  // generation 0
  return Md5(material).substr(0, size_t(key_length));
}

std::string Protection::Encrypt(int32_t object_number,
                                std::string_view data) const {
  return Rc4(ObjectKey(object_number), data);
}

std::string Protection::Dictionary() const {
  return "<< /Filter /Standard \r/O (" + EscapeText(owner_entry) + ")\r/U (" +
         EscapeText(user_entry) + ")\r/P " + std::to_string(permissions) + "\r" +
         (revision >= 3 ? "/V 2 /R 3 /Length 128 >>" : "/V 1 /R 2 >>");
}

}  // namespace vx::pdf
