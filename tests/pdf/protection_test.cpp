#include "pdf/protection.h"

#include <gtest/gtest.h>

#include <optional>

#include "pdf_oracles.h"

namespace vx::pdf {
namespace {

const std::string kId = "Producer \xA9 text2.4.8";

// Bit 0x1000 grants the low twelve bits of the mode; without it only the
// bits 4 to 32 count. (Key sizes and the usual modes are what the readers'
// tests see.)
TEST(Protection, ModeGrantsItsPermissionBits) {
  EXPECT_EQ(Protection::Make(0x1000 | 0xF3C, "o", "u", kId).permissions, -4);
  EXPECT_EQ(Protection::Make(0, "o", "u", kId).permissions, -64);
  EXPECT_EQ(Protection::Make(60, "o", "u", kId).permissions, -4);
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
