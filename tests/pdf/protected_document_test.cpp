// Protected documents as qpdf, poppler and pikepdf see them: which password
// opens them, which permissions they carry, and that nothing readable is
// left in clear.

#include <gtest/gtest.h>

#include <functional>

#include "document_oracles.h"

namespace vx::pdf {
namespace {

using oracles::Quote;
using oracles::RunCommand;

const char kTitle[] = "Listino riservato";

class ProtectedDocument : public ::testing::Test {
 protected:
  // The program's call order: properties, compression, protection, pages.
  std::string Write(int32_t mode, const std::string& owner, const std::string& user,
                    const std::string& name = "protected.pdf", int rows = 40,
                    const std::function<void(vbPDF&)>& after_protection = {}) {
    const std::string path = folder_.File(name);
    vbPDF pdf({.now = testing::FixedNow, .random_digit = [] { return 1; }});
    pdf.SetDocProperty(kTitle, "Pagamenti", "Autore", "", "", "");
    pdf.SetCompression(4, 3);
    pdf.SetProtection(mode, owner, user);
    if (after_protection) after_protection(pdf);
    oracles::WriteListing(pdf, path, 2, rows);
    return path;
  }
  std::string ShowEncryption(const std::string& path, const std::string& password) {
    return RunCommand("qpdf --show-encryption-key --show-encryption --password=" +
                      Quote(password) + " " + Quote(path) + " 2>&1")
        .output;
  }
  oracles::ScratchFolder folder_;
};

TEST_F(ProtectedDocument, Mode20Is40BitRc4AllowingPrintAndCopyOnly) {
  const std::string path = Write(20, "fiscale", "ditta");
  const std::string report = ShowEncryption(path, "ditta");
  EXPECT_NE(report.find("R = 2\nP = -44\n"), std::string::npos) << report;
  EXPECT_NE(report.find("print high resolution: allowed"), std::string::npos) << report;
  EXPECT_NE(report.find("extract for any purpose: allowed"), std::string::npos) << report;
  EXPECT_NE(report.find("modify annotations: not allowed"), std::string::npos) << report;
  EXPECT_NE(report.find("modify other: not allowed"), std::string::npos) << report;
  // A 40-bit key is 5 bytes, 10 hexadecimal digits.
  EXPECT_NE(report.find("Encryption key = "), std::string::npos) << report;
  EXPECT_EQ(report.substr(report.find("Encryption key = ") + 17).find('\n'), 10u) << report;
  EXPECT_TRUE(oracles::CleanForQpdf(oracles::QpdfCheck(path, "ditta")));

  EXPECT_EQ(oracles::PikepdfOpens(path, "ditta"), std::string("user 2 40 -44 ") + kTitle + "\n");
  EXPECT_EQ(oracles::PikepdfOpens(path, "fiscale"), std::string("owner 2 40 -44 ") + kTitle + "\n");
  EXPECT_EQ(oracles::PikepdfOpens(path, ""), "refused\n");
  EXPECT_NE(oracles::PopplerText(path, "-upw ditta").find("STAMPA PAGAMENTO"), std::string::npos);
  EXPECT_NE(oracles::PopplerText(path, "-opw fiscale").find("STAMPA PAGAMENTO"),
            std::string::npos);
  EXPECT_EQ(oracles::PopplerText(path).find("STAMPA PAGAMENTO"), std::string::npos);
  const std::string info = RunCommand("pdfinfo -upw ditta " + Quote(path) + " 2>&1").output;
  EXPECT_NE(info.find("Encrypted:       yes (print:yes copy:yes change:no addNotes:no"),
            std::string::npos)
      << info;
}

TEST_F(ProtectedDocument, Bit0x1000Is128BitRc4InAVersion14File) {
  const std::string path = Write(0x1000 | 4, "fiscale", "ditta");
  EXPECT_EQ(oracles::ReadFile(path).substr(0, 9), "%PDF-1.4\n");
  const std::string report = ShowEncryption(path, "ditta");
  EXPECT_NE(report.find("R = 3\nP = -3900\n"), std::string::npos) << report;
  EXPECT_EQ(report.substr(report.find("Encryption key = ") + 17).find('\n'), 32u) << report;
  EXPECT_NE(report.find("print low resolution: allowed"), std::string::npos) << report;
  EXPECT_NE(report.find("extract for any purpose: not allowed"), std::string::npos) << report;
  EXPECT_TRUE(oracles::CleanForQpdf(oracles::QpdfCheck(path, "ditta")));
  EXPECT_EQ(oracles::PikepdfOpens(path, "ditta"), std::string("user 3 128 -3900 ") + kTitle + "\n");
  EXPECT_EQ(oracles::PikepdfOpens(path, "fiscale"), std::string("owner 3 128 -3900 ") + kTitle + "\n");
  EXPECT_EQ(oracles::PikepdfOpens(path, "x"), "refused\n");
  EXPECT_NE(oracles::PopplerText(path, "-upw ditta").find("STAMPA PAGAMENTO"), std::string::npos);
  EXPECT_NE(oracles::PopplerText(path, "-opw fiscale").find("STAMPA PAGAMENTO"),
            std::string::npos);
}

TEST_F(ProtectedDocument, EmptyUserPasswordOpensFreelyButKeepsThePermissions) {
  const std::string path = Write(20, "fiscale", "");
  EXPECT_EQ(oracles::PikepdfOpens(path, ""), std::string("user 2 40 -44 ") + kTitle + "\n");
  EXPECT_EQ(oracles::PikepdfOpens(path, "fiscale"), std::string("owner 2 40 -44 ") + kTitle + "\n");
  EXPECT_NE(oracles::PopplerText(path).find("STAMPA PAGAMENTO"), std::string::npos);
  const std::string info = RunCommand("pdfinfo " + Quote(path) + " 2>&1").output;
  EXPECT_NE(info.find("Encrypted:       yes (print:yes copy:yes change:no addNotes:no"),
            std::string::npos)
      << info;
}

TEST_F(ProtectedDocument, BlankOwnerPasswordGivesTheUserPasswordFullRights) {
  const std::string path = Write(20, "   ", "ditta");
  EXPECT_EQ(oracles::PikepdfOpens(path, "ditta"), std::string("owner 2 40 -44 ") + kTitle + "\n");
  EXPECT_EQ(oracles::PikepdfOpens(path, "   "), "refused\n");
}

// Every stream and every Info text is encrypted: the decrypted streams are
// those of the same document written unprotected, and no page text, title
// or metadata can be read from the file's bytes.
TEST_F(ProtectedDocument, EncryptsEveryStreamAndInfoText) {
  const std::string path = Write(20, "fiscale", "ditta");
  const std::string plain_path = folder_.File("plain.pdf");
  {
    vbPDF pdf({.now = testing::FixedNow, .random_digit = [] { return 1; }});
    pdf.SetDocProperty(kTitle, "Pagamenti", "Autore", "", "", "");
    pdf.SetCompression(4, 3);
    oracles::WriteListing(pdf, plain_path, 2, 40);
  }
  const auto plain = oracles::DecodedStreams(plain_path, "pikepdf");
  ASSERT_EQ(plain.size(), 3u);
  EXPECT_TRUE(oracles::SameStreams(oracles::DecodedStreams(path, "pikepdf", "ditta"), plain));
  EXPECT_TRUE(oracles::SameStreams(oracles::DecodedStreams(path, "qpdf", "fiscale"), plain));

  vbPDF uncompressed({.now = testing::FixedNow, .random_digit = [] { return 1; }});
  const std::string clear_path = folder_.File("clear.pdf");
  uncompressed.SetDocProperty(kTitle, "Pagamenti", "Autore", "", "", "");
  uncompressed.SetProtection(20, "fiscale", "ditta");
  oracles::WriteListing(uncompressed, clear_path, 1, 5);
  const std::string bytes = oracles::ReadFile(clear_path);
  for (const char* secret : {kTitle, "Pagamenti", "Autore", "STAMPA", "ROSSI", "xpacket", "D:2026"}) {
    EXPECT_EQ(bytes.find(secret), std::string::npos) << secret;
  }
  const auto streams = oracles::DecodedStreams(clear_path, "qpdf", "ditta");
  ASSERT_EQ(streams.size(), 2u);
  EXPECT_NE(streams[0].find("ROSSI"), std::string::npos);
}

// The identifier, and with it the keys, is taken when SetProtection is
// called; a Producer set later shows in the Info dictionary only.
TEST_F(ProtectedDocument, ProducerSetAfterProtectionLeavesTheIdentifier) {
  const std::string path =
      Write(20, "fiscale", "ditta", "late.pdf", 5, [](vbPDF& pdf) {
        pdf.SetDocProperty(kTitle, "", "", "", "Nuovo produttore", "");
      });
  const std::string bytes = oracles::ReadFile(path);
  const std::string id = ASCIIHexEncode(std::string(vbPDF::kBanner) + vbPDF::kVersion);
  EXPECT_NE(bytes.find("/ID [<" + id + "><" + id + ">]"), std::string::npos);
  const std::string producer =
      RunCommand("/usr/bin/python3 -c 'import sys, pikepdf; "
                 "print(pikepdf.open(sys.argv[1], password=\"ditta\").docinfo.Producer)' " +
                 Quote(path) + " 2>&1")
          .output;
  EXPECT_EQ(producer, "Nuovo produttore\n");
}

// The owner and user entries are binary: parentheses, backslashes, CR and
// LF in them must be escaped or readers derive a different key. Enough
// password pairs are tried for each of those bytes to occur.
TEST_F(ProtectedDocument, EntriesWithDelimiterBytesStillOpen) {
  std::string seen;
  int documents = 0;
  for (int i = 0; i < 60 && seen.size() < 5; ++i) {
    const std::string owner = "fiscale" + std::to_string(i), user = "ditta" + std::to_string(i);
    const int32_t mode = i % 2 ? 20 : (0x1000 | 4);
    const Protection p = Protection::Make(mode, owner, user,
                                          std::string(vbPDF::kBanner) + vbPDF::kVersion);
    const std::string entries = p.owner_entry + p.user_entry;
    std::string hits;
    for (char c : std::string("()\\\r\n")) {
      if (entries.find(c) != std::string::npos && seen.find(c) == std::string::npos) hits += c;
    }
    if (hits.empty()) continue;
    seen += hits;
    ++documents;
    const std::string path = Write(mode, owner, user, "entry.pdf", 3);
    EXPECT_TRUE(oracles::CleanForQpdf(oracles::QpdfCheck(path, user))) << owner;
    EXPECT_TRUE(oracles::CleanForQpdf(oracles::QpdfCheck(path, owner))) << owner;
  }
  EXPECT_EQ(seen.size(), 5u) << "not every delimiter byte occurred";
  EXPECT_GE(documents, 1);
}

}  // namespace
}  // namespace vx::pdf
