// AES-256 protected documents as qpdf, poppler, pikepdf and MuPDF see them,
// and the revision 6 hash checked against files qpdf encrypted itself.

#include <gtest/gtest.h>

#include <regex>

#include "document_oracles.h"
#include "pdf/aes256_protection.h"

namespace vx::pdf {
namespace {

using oracles::Quote;
using oracles::RunCommand;

class Aes256Document : public ::testing::Test {
 protected:
  // The program's call order: properties, compression, protection, pages.
  std::string Write(const std::string& name, const std::string& owner, const std::string& user,
                    int protection_mode = 0, int pages = 2) {
    const std::string path = folder_.File(name);
    vbPDF pdf({.now = testing::FixedNow, .random_digit = [] { return 1; }});
    pdf.SetDocProperty("Listino riservato", "Pagamenti", "Autore", "", "", "");
    pdf.SetCompression(4, 3);
    if (protection_mode == 20) pdf.SetProtection(20, owner, user);
    if (protection_mode == 256) pdf.SetProtectionAES256(owner, user);
    oracles::WriteListing(pdf, path, pages, 40);
    return path;
  }
  // The first page's text as MuPDF extracts it, or its error.
  std::string Mutool(const std::string& path, const std::string& password) {
    return RunCommand("mutool draw -q -F txt -o - -p " + Quote(password) + " " + Quote(path) +
                      " 1 2>&1")
        .output;
  }
  // What qpdf says a file's permissions are: from "P = " to the methods.
  std::string QpdfPermissions(const std::string& path, const std::string& password) {
    const std::string report =
        RunCommand("qpdf --show-encryption --password=" + Quote(password) + " " + Quote(path))
            .output;
    const size_t p = report.find("P = ");
    if (p == std::string::npos) return report;
    return report.substr(p, report.find("stream encryption") - p);
  }
  oracles::ScratchFolder folder_;
};

TEST_F(Aes256Document, OpensWithEitherPasswordInEveryReaderAndNoOtherWay) {
  const std::string path = Write("aes.pdf", "fiscale", "ditta", 256);
  const std::string bytes = oracles::ReadFile(path);
  EXPECT_EQ(bytes.substr(0, 9), "%PDF-1.7\n");
  EXPECT_NE(bytes.find("/Extensions << /ADBE << /BaseVersion /1.7 /ExtensionLevel 8 >> >>"),
            std::string::npos);
  EXPECT_TRUE(oracles::CleanForQpdf(oracles::QpdfCheck(path, "ditta")));
  EXPECT_TRUE(oracles::CleanForQpdf(oracles::QpdfCheck(path, "fiscale")));
  const std::string report =
      RunCommand("qpdf --show-encryption --password=ditta " + Quote(path)).output;
  EXPECT_NE(report.find("stream encryption method: AESv3"), std::string::npos) << report;
  EXPECT_NE(report.find("string encryption method: AESv3"), std::string::npos) << report;

  EXPECT_EQ(oracles::PikepdfOpens(path, "ditta"), "user 6 256 -1324 Listino riservato\n");
  EXPECT_EQ(oracles::PikepdfOpens(path, "fiscale"), "owner 6 256 -1324 Listino riservato\n");
  EXPECT_EQ(oracles::PikepdfOpens(path, ""), "refused\n");
  EXPECT_EQ(oracles::PikepdfOpens(path, "Ditta"), "refused\n");

  EXPECT_NE(oracles::PopplerText(path, "-upw ditta").find("STAMPA PAGAMENTO"), std::string::npos);
  EXPECT_NE(oracles::PopplerText(path, "-opw fiscale").find("STAMPA PAGAMENTO"),
            std::string::npos);
  EXPECT_EQ(oracles::PopplerText(path).find("STAMPA PAGAMENTO"), std::string::npos);

  EXPECT_NE(Mutool(path, "ditta").find("STAMPA PAGAMENTO"), std::string::npos);
  EXPECT_NE(Mutool(path, "fiscale").find("STAMPA PAGAMENTO"), std::string::npos);
  EXPECT_EQ(Mutool(path, "").find("STAMPA PAGAMENTO"), std::string::npos);
}

// Decrypted, the document is the unprotected one stream for stream, and
// nothing of it is readable in the file's bytes. Its permissions are those
// the 40-bit protection grants, as qpdf reports them.
TEST_F(Aes256Document, HoldsTheUnprotectedContentAndTheRc4Permissions) {
  const std::string aes = Write("aes.pdf", "fiscale", "ditta", 256);
  const auto plain = oracles::DecodedStreams(Write("plain.pdf", "", ""), "pikepdf");
  ASSERT_EQ(plain.size(), 3u);
  EXPECT_TRUE(oracles::SameStreams(oracles::DecodedStreams(aes, "pikepdf", "ditta"), plain));
  EXPECT_TRUE(oracles::SameStreams(oracles::DecodedStreams(aes, "qpdf", "fiscale"), plain));
  const std::string bytes = oracles::ReadFile(aes);
  for (const char* secret : {"Listino", "Pagamenti", "Autore", "xpacket", "D:2026"}) {
    EXPECT_EQ(bytes.find(secret), std::string::npos) << secret;
  }
  const std::string rc4 = Write("rc4.pdf", "fiscale", "ditta", 20);
  const std::string rc4_permissions = QpdfPermissions(rc4, "ditta");
  EXPECT_EQ(QpdfPermissions(aes, "ditta"),
            std::regex_replace(rc4_permissions, std::regex("-44"), "-1324"));
}

// qpdf encrypts with the passwords given; our hash must reproduce the
// password checks in its /U and /O. Our file, decrypted and encrypted again
// by qpdf with the same passwords and permissions, must carry the same /P
// and the same content.
TEST_F(Aes256Document, HashAndPermissionsAgreeWithQpdf) {
  const std::string ours = Write("ours.pdf", "fiscale", "perch\xE9", 256);
  const std::string clear = folder_.File("clear.pdf"), theirs = folder_.File("theirs.pdf");
  ASSERT_EQ(RunCommand("qpdf --password=perché --decrypt " + Quote(ours) + " " + Quote(clear))
                .status,
            0);
  ASSERT_EQ(RunCommand("qpdf --object-streams=disable --encrypt perché fiscale 256"
                       " --print=full --modify=none"
                       " --extract=y --annotate=n --form=n --assemble=n --accessibility=y -- " +
                       Quote(clear) + " " + Quote(theirs))
                .status,
            0);
  EXPECT_EQ(QpdfPermissions(theirs, "fiscale"), QpdfPermissions(ours, "fiscale"));
  EXPECT_TRUE(oracles::SameStreams(oracles::DecodedStreams(theirs, "qpdf", "perché"),
                                   oracles::DecodedStreams(ours, "qpdf", "perché")));

  const std::string bytes = oracles::ReadFile(theirs);
  auto entry = [&](const std::string& key) {
    std::smatch match;
    std::regex pattern("/" + key + " *<([0-9a-fA-F]{96})>");
    if (!std::regex_search(bytes, match, pattern)) return std::string();
    std::string out;
    for (size_t i = 0; i < 96; i += 2) out += char(std::stoi(match[1].str().substr(i, 2), nullptr, 16));
    return out;
  };
  const std::string u = entry("U"), o = entry("O");
  ASSERT_EQ(u.size(), 48u) << "no hexadecimal /U in qpdf's file";
  ASSERT_EQ(o.size(), 48u);
  EXPECT_EQ(Revision6Hash("perch\xC3\xA9", u.substr(32, 8), ""), u.substr(0, 32));
  EXPECT_EQ(Revision6Hash("fiscale", o.substr(32, 8), u), o.substr(0, 32));
  EXPECT_NE(Revision6Hash("perch\xE9", u.substr(32, 8), ""), u.substr(0, 32));
}

}  // namespace
}  // namespace vx::pdf
