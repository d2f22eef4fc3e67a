// Documents written with each compression mode decode, in qpdf, pikepdf and
// poppler, to exactly the streams of the same document written plain.

#include <gtest/gtest.h>

#include "document_oracles.h"

namespace vx::pdf {
namespace {

using oracles::DecodedStreams;

class CompressedDocument : public ::testing::Test {
 protected:
  std::string Write(int mode, int quality, const std::string& name) {
    const std::string path = folder_.File(name);
    vbPDF pdf({.now = testing::FixedNow, .random_digit = [] { return 1; }});
    pdf.SetDocProperty("Compressione", "", "Autore", "", "", "");
    pdf.SetCompression(mode, quality);
    oracles::WriteListing(pdf, path);
    return path;
  }
  void SetUp() override {
    const std::string plain = Write(0, 0, "plain.pdf");
    plain_ = DecodedStreams(plain, "pikepdf");
    ASSERT_EQ(plain_.size(), 3u) << "two pages and the metadata";
    plain_text_ = oracles::PopplerText(plain);
    ASSERT_NE(plain_text_.find("STAMPA PAGAMENTO SU C/C PAGINA 2"), std::string::npos);
  }
  oracles::ScratchFolder folder_;
  std::vector<std::string> plain_;
  std::string plain_text_;
};

// Every mode bit alone and in the combinations that stack encodings.
TEST_F(CompressedDocument, EveryModeDecodesToThePlainStreams) {
  for (int mode : {1, 2, 4, 8, 16, 3, 10, 12, 20, 24, 31}) {
    const std::string path = Write(mode, 3, "mode" + std::to_string(mode) + ".pdf");
    const std::string check = oracles::QpdfCheck(path);
    EXPECT_TRUE(oracles::CleanForQpdf(check)) << "mode " << mode << "\n" << check;
    EXPECT_TRUE(oracles::SameStreams(DecodedStreams(path, "qpdf"), plain_)) << "mode " << mode;
    EXPECT_TRUE(oracles::SameStreams(DecodedStreams(path, "pikepdf"), plain_))
        << "mode " << mode;
    EXPECT_TRUE(oracles::PopplerText(path) == plain_text_) << "mode " << mode;
  }
}

// Readers apply the filters in the order listed, so the list names the
// last encoding first.
TEST_F(CompressedDocument, FilterListNamesTheEncodingsInDecodingOrder) {
  const std::string all = oracles::ReadFile(Write(31, 3, "all.pdf"));
  EXPECT_NE(all.find("/Filter [/ASCIIHexDecode /ASCII85Decode /LZWDecode /FlateDecode "
                     "/RunLengthDecode ]"),
            std::string::npos);
  const std::string mode10 = oracles::ReadFile(Write(10, 3, "ten.pdf"));
  EXPECT_NE(mode10.find("/Filter [/ASCII85Decode /FlateDecode ]"), std::string::npos);
  const std::string lzw = oracles::ReadFile(Write(4, 3, "lzw.pdf"));
  EXPECT_NE(lzw.find("/Filter [/LZWDecode ]"), std::string::npos);
  EXPECT_EQ(lzw.find("BT"), std::string::npos) << "no page text left in clear";
}

}  // namespace
}  // namespace vx::pdf
