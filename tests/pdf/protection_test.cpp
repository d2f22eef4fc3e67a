#include "pdf/protection.h"

#include <gtest/gtest.h>

#include <optional>

#include "pdf_oracles.h"

namespace vx::pdf {
namespace {

const std::string kId = "Producer \xA9 text2.4.8";

TEST(Protection, Mode20Is40BitAllowingPrintAndCopy) {
  const Protection p = Protection::Make(20, "owner", "user", kId);
  EXPECT_EQ(p.revision, 2);
  EXPECT_EQ(p.key_length, 10);
  EXPECT_EQ(p.permissions, -44);
  EXPECT_EQ(p.document_key.size(), 5u);
  EXPECT_EQ(p.owner_entry.size(), 32u);
  EXPECT_EQ(p.user_entry.size(), 32u);
  EXPECT_EQ(p.ObjectKey(7).size(), 10u);
  EXPECT_EQ(p.document_id, kId);
}

TEST(Protection, Bit0x1000Is128BitWithTheLowBitsGranted) {
  const Protection p = Protection::Make(0x1000 | 4, "owner", "user", kId);
  EXPECT_EQ(p.revision, 3);
  EXPECT_EQ(p.key_length, 16);
  EXPECT_EQ(p.permissions, -3900);
  EXPECT_EQ(p.document_key.size(), 16u);
  EXPECT_EQ(p.ObjectKey(7).size(), 16u);
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

// A file protected with these values opens in qpdf and pikepdf with either
// password, not without one, and reports the permissions it was given.
class ProtectedFile : public ::testing::Test {
 protected:
  std::string Write(const Protection& p) {
    const std::string path = folder_.File("protected.pdf");
    oracles::WriteFile(path, oracles::MinimalPdf("", p.Encrypt(4, kContent), p));
    return path;
  }
  std::string ShowEncryption(const std::string& path, const std::string& password) {
    return oracles::RunCommand("qpdf --show-encryption --password=" +
                               oracles::Quote(password) + " " + oracles::Quote(path))
        .output;
  }
  const std::string kContent = "BT /F1 12 Tf (ROSSI MARIO) Tj ET";
  oracles::ScratchFolder folder_;
};

TEST_F(ProtectedFile, Revision2OpensWithEitherPasswordOnly) {
  const std::string path = Write(Protection::Make(20, "owner", "user", kId));
  for (const char* password : {"user", "owner"}) {
    EXPECT_EQ(oracles::QpdfDecode(path, password), kContent) << password;
    EXPECT_EQ(oracles::PikepdfDecode(path, password), kContent) << password;
  }
  EXPECT_EQ(oracles::QpdfDecode(path, ""), std::nullopt);
  EXPECT_EQ(oracles::PikepdfDecode(path, ""), std::nullopt);
  EXPECT_EQ(oracles::QpdfDecode(path, "wrong"), std::nullopt);
  const std::string report = ShowEncryption(path, "user");
  EXPECT_NE(report.find("R = 2\nP = -44\n"), std::string::npos) << report;
  EXPECT_NE(report.find("print high resolution: allowed"), std::string::npos);
  EXPECT_NE(report.find("extract for any purpose: allowed"), std::string::npos);
  EXPECT_NE(report.find("modify annotations: not allowed"), std::string::npos);
  EXPECT_NE(report.find("modify other: not allowed"), std::string::npos);
  // With the owner password qpdf recovers the user password.
  EXPECT_NE(ShowEncryption(path, "owner").find("User password = user\n"), std::string::npos);
}

TEST_F(ProtectedFile, Revision3OpensWithEitherPasswordOnly) {
  const std::string path = Write(Protection::Make(0x1000 | 4, "owner", "user", kId));
  for (const char* password : {"user", "owner"}) {
    EXPECT_EQ(oracles::QpdfDecode(path, password), kContent) << password;
    EXPECT_EQ(oracles::PikepdfDecode(path, password), kContent) << password;
  }
  EXPECT_EQ(oracles::QpdfDecode(path, ""), std::nullopt);
  const std::string report = ShowEncryption(path, "user");
  EXPECT_NE(report.find("R = 3\nP = -3900\n"), std::string::npos) << report;
  EXPECT_NE(report.find("print low resolution: allowed"), std::string::npos);
  EXPECT_NE(report.find("extract for any purpose: not allowed"), std::string::npos);
  EXPECT_NE(ShowEncryption(path, "owner").find("User password = user\n"), std::string::npos);
}

TEST_F(ProtectedFile, EmptyUserPasswordOpensFreelyAndKeepsPermissions) {
  const std::string path = Write(Protection::Make(20, "owner", "", kId));
  EXPECT_EQ(oracles::QpdfDecode(path, ""), kContent);
  EXPECT_EQ(oracles::PikepdfDecode(path, ""), kContent);
  EXPECT_EQ(oracles::QpdfDecode(path, "owner"), kContent);
  EXPECT_NE(ShowEncryption(path, "").find("modify other: not allowed"), std::string::npos);
}

// Passwords are cut to 32 bytes and may hold any byte, parentheses included.
TEST_F(ProtectedFile, LongPasswordsAndAwkwardBytes) {
  const std::string user = "(user)\\ password longer than thirty-two bytes";
  const std::string path = Write(Protection::Make(0x1000 | 4, "o(\r\n)", user, kId));
  EXPECT_EQ(oracles::QpdfDecode(path, user.substr(0, 32)), kContent);
  EXPECT_EQ(oracles::QpdfDecode(path, "o(\r\n)"), kContent);
}

}  // namespace
}  // namespace vx::pdf
