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
  oracles::ScratchFolder folder_;
};

// Mode 20 is 40-bit RC4 allowing print and copy only; bit 0x1000 makes it
// 128-bit in a version 1.4 file. An empty user password opens the file
// freely, a blank owner password gives the user password full rights.
TEST_F(ProtectedDocument, ModesAndPasswordsAsTheReadersSeeThem) {
  struct Case {
    int32_t mode;
    const char* owner;
    const char* user;
    const char* as_user;   // pikepdf's verdict with the user password
    const char* as_owner;  // and with the owner password
    const char* refused;   // a password that must not open the file
  };
  const Case cases[] = {
      {20, "fiscale", "ditta", "user 2 40 -44 ", "owner 2 40 -44 ", ""},
      {0x1000 | 4, "fiscale", "ditta", "user 3 128 -3900 ", "owner 3 128 -3900 ", "x"},
      {20, "fiscale", "", "user 2 40 -44 ", "owner 2 40 -44 ", nullptr},
      {20, "   ", "ditta", "owner 2 40 -44 ", "refused", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " [" + c.owner + "] [" + c.user + "]");
    const std::string path = Write(c.mode, c.owner, c.user);
    if (c.mode & 0x1000) {
      EXPECT_EQ(oracles::ReadFile(path).substr(0, 9), "%PDF-1.4\n");
    }
    EXPECT_TRUE(oracles::CleanForQpdf(oracles::QpdfCheck(path, c.user)));
    auto opened = [](const std::string& verdict) {
      return verdict == "refused" ? verdict + "\n" : verdict + kTitle + "\n";
    };
    EXPECT_EQ(oracles::PikepdfOpens(path, c.user), opened(c.as_user));
    EXPECT_EQ(oracles::PikepdfOpens(path, c.owner), opened(c.as_owner));
    if (c.refused) {
      EXPECT_EQ(oracles::PikepdfOpens(path, c.refused), "refused\n");
    }
    EXPECT_NE(oracles::PopplerText(path, "-upw " + Quote(c.user)).find("STAMPA PAGAMENTO"), std::string::npos);
    if (c.refused) {
      EXPECT_EQ(oracles::PopplerText(path, "-upw " + Quote(c.refused)).find("STAMPA PAGAMENTO"), std::string::npos);
    }
  }
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
