#include "pdf/protection.h"

#include <gtest/gtest.h>

#include <optional>

#include "pdf_oracles.h"

namespace vx::pdf {
namespace {

const std::string kId = "Producer \xA9 text2.4.8";

// Bit 0x1000 selects 128-bit keys and grants the low twelve bits; without
// it the key is 40 bits and only bits 4 to 32 count.
TEST(Protection, ModeChoosesKeySizeAndPermissions) {
  const Protection r2 = Protection::Make(20, "owner", "user", kId);
  EXPECT_EQ(r2.revision, 2);
  EXPECT_EQ(r2.key_length, 10);
  EXPECT_EQ(r2.permissions, -44);
  EXPECT_EQ(r2.document_key.size(), 5u);
  EXPECT_EQ(r2.ObjectKey(7).size(), 10u);
  const Protection r3 = Protection::Make(0x1000 | 4, "owner", "user", kId);
  EXPECT_EQ(r3.revision, 3);
  EXPECT_EQ(r3.key_length, 16);
  EXPECT_EQ(r3.permissions, -3900);
  EXPECT_EQ(r3.document_key.size(), 16u);
  EXPECT_EQ(r3.ObjectKey(7).size(), 16u);
  EXPECT_EQ(r3.owner_entry.size(), 32u);
  EXPECT_EQ(r3.user_entry.size(), 32u);
  EXPECT_EQ(Protection::Make(0x1000 | 0xF3C, "o", "u", kId).permissions, -4);
  EXPECT_EQ(Protection::Make(0, "o", "u", kId).permissions, -64);
  EXPECT_EQ(Protection::Make(60, "o", "u", kId).permissions, -4);
}

TEST(Protection, BlankOwnerPasswordBecomesTheUserPassword) {
  const Protection blank = Protection::Make(20, "   ", "secret", kId);
  const Protection same = Protection::Make(20, "secret", "secret", kId);
  EXPECT_EQ(blank.owner_entry, same.owner_entry);
  EXPECT_EQ(blank.document_key, same.document_key);
}

// Passwords are cut to 32 bytes and may hold any byte, parentheses included;
// qpdf and pikepdf, given the same bytes, derive the same key.
TEST(Protection, LongPasswordsAndAwkwardBytesOpenTheFile) {
  const std::string content = "BT /F1 12 Tf (ROSSI MARIO) Tj ET";
  const std::string user = "(user)\\ password longer than thirty-two bytes";
  const Protection p = Protection::Make(0x1000 | 4, "o(\r\n)", user, kId);
  oracles::ScratchFolder folder;
  const std::string path = folder.File("protected.pdf");
  oracles::WriteFile(path, oracles::MinimalPdf("", p.Encrypt(4, content), p));
  EXPECT_EQ(oracles::QpdfDecode(path, user.substr(0, 32)), content);
  EXPECT_EQ(oracles::PikepdfDecode(path, user.substr(0, 32)), content);
  EXPECT_EQ(oracles::QpdfDecode(path, "o(\r\n)"), content);
  EXPECT_EQ(oracles::QpdfDecode(path, user.substr(0, 31)), std::nullopt);
}

}  // namespace
}  // namespace vx::pdf
