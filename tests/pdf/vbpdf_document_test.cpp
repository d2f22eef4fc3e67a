// The file as a whole: header, object order, catalog, Info, and BeginDoc's
// errors. (Real readers judge the rest: qpdf --check the cross-reference
// table and trailer in vbpdf_readers_test, filters and encryption in
// compressed_document_test and protected_document_test.)

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "pdf/encoders.h"
#include "pdf/protection.h"
#include "platform/message_box.h"
#include "writer_fixture.h"

namespace vx::pdf {
namespace {

using platform::RuntimeError;
using testing::MemoryFiles;
using testing::ObjectText;
using testing::StreamData;

class Document : public ::testing::Test {
 protected:
  const std::string& Finish() {
    pdf.EndDoc();
    return files.files["t.pdf"];
  }
  // Object numbers in the order their "N 0 obj" lines appear.
  static std::vector<int> ObjectOrder(const std::string& file) {
    std::vector<int> order;
    std::regex object("\n([0-9]+) 0 obj\n");
    for (auto it = std::sregex_iterator(file.begin(), file.end(), object);
         it != std::sregex_iterator(); ++it) {
      order.push_back(std::stoi((*it)[1]));
    }
    return order;
  }

  MemoryFiles files;
  vbPDF pdf{testing::FixedServices(files)};
};

TEST_F(Document, EndDocRightAfterBeginDocGivesOneEmptyPage) {
  EXPECT_EQ(pdf.BeginDoc("t.pdf"), "t.pdf");
  const std::string& file = Finish();
  const std::string header = "%PDF-1.3\n% vbPDF \xA9 VXOREL rel. 2.4.8\n4 0 obj\n";
  EXPECT_EQ(file.substr(0, header.size()), header);
  EXPECT_EQ(ObjectOrder(file), (std::vector<int>{4, 5, 6, 3, 2, 1, 7, 8}));
  EXPECT_EQ(StreamData(file, 5), "1 0 0 -1 0 842 cm \r0 0 0 rg\r0 0 0 RG\r");
  EXPECT_EQ(ObjectText(file, 1), "<<\r/Type /Pages /Count 1\r/Kids [4 0 R ] \r>>\n");
  EXPECT_EQ(ObjectText(file, 3), "<<\r/ProcSet [/PDF /Text ]\r\r>>\n");
  EXPECT_EQ(ObjectText(file, 7),
            "<< /Type /Catalog\r/Pages 1 0 R\r/Metadata 6 0 R\n"
            "/ViewerPreferences <<  >>\n>>\n");
  EXPECT_EQ(ObjectText(file, 8),
            "<<\r/Title (\\(senza titolo\\))\r/Author (vbPDF)\r/Creator (vbPDF)\r"
            "/Producer (vbPDF \xA9 VXOREL)\r/CreationDate (D:20261205102030Z+01'00')\r"
            "/Subject ()\r/Keywords ()\r>>\n");
  EXPECT_EQ(pdf.FileSize(), static_cast<int32_t>(file.size()));
}

TEST_F(Document, ViewerPreferencesAndTheVersionTheyNeed) {
  pdf.SetViewerPreferences(768);
  pdf.BeginDoc("t.pdf");
  EXPECT_NE(Finish().find("\n/ViewerPreferences << /CenterWindow true /FitWindow true  >>\n"),
            std::string::npos);
  EXPECT_EQ(files.files["t.pdf"].substr(0, 9), "%PDF-1.3\n");

  pdf.Abort();
  pdf.SetViewerPreferences(0x2000 | 0x80 | 0x10 | 4);
  pdf.BeginDoc("t.pdf");
  const std::string& file = Finish();
  EXPECT_EQ(file.substr(0, 9), "%PDF-1.4\n");
  EXPECT_NE(file.find("/PageLayout /OneColumn\n/PageMode /UseThumbs\n/ViewerPreferences << "
                      "/HideMenubar true /DisplayDocTitle true  >>\n>>\n"),
            std::string::npos);
}

TEST_F(Document, PropertiesAreEscapedAndBlankOnesKeepTheDefaults) {
  pdf.SetDocProperty("a(b)\\c", "", "", "", "", "k");
  pdf.BeginDoc("t.pdf");
  const std::string& file = Finish();
  EXPECT_NE(file.find("/Title (a\\(b\\)\\\\c)\r/Author (vbPDF)\r"), std::string::npos);
  EXPECT_NE(file.find("/Keywords (k)\r"), std::string::npos);
  EXPECT_NE(file.find("<pdf:Title>a(b)\\c</pdf:Title>"), std::string::npos);
}

TEST_F(Document, MetadataPacketDeclaresItsSize) {
  pdf.SetDocProperty("R&D <1>", "", "", "", "", "");
  pdf.BeginDoc("t.pdf");
  std::string packet = StreamData(Finish(), 6);
  std::smatch header;
  ASSERT_TRUE(std::regex_search(packet, header, std::regex("^<\\?xpacket begin='' "
                                                           "id='W5M0MpCehiHzreSzNTczkc9d' "
                                                           "bytes='([0-9]+)'\\?>\r")));
  EXPECT_EQ(std::stoul(header[1]), packet.size() - header[0].length() + 64);
  EXPECT_NE(packet.find("<dc:title>R&amp;D &lt;1&gt;</dc:title>\r"), std::string::npos);
  EXPECT_EQ(packet.substr(packet.size() - 30), "</rdf:RDF>\r<?xpacket end='r'?>");
}

TEST_F(Document, EmptyNameIsMadeUpFromTheTimeAndARandomDigit) {
  // Day 5, 10:20:30 and digit 7: 51020307 = 0x30A8213.
  EXPECT_EQ(pdf.BeginDoc(""), "~30A8213.pdf");
  pdf.EndDoc();
  EXPECT_EQ(files.files.count("~30A8213.pdf"), 1u);
}

TEST_F(Document, AbortLeavesTheFileUnfinishedAndResetsTheSettings) {
  pdf.SetDocProperty("Title", "", "", "", "", "");
  pdf.SetScale(3);
  pdf.BeginDoc("t.pdf");
  pdf.BeginPage();
  pdf.Abort();
  EXPECT_FALSE(pdf.IsFileOpen());
  EXPECT_EQ(files.files["t.pdf"], "%PDF-1.3\n% vbPDF \xA9 VXOREL rel. 2.4.8\n");
  pdf.SetXY(1, 0);
  EXPECT_FLOAT_EQ(pdf.GetX(), 1);  // scale back to points
  pdf.BeginDoc("t.pdf");
  EXPECT_NE(Finish().find("/Title (\\(senza titolo\\))"), std::string::npos);
  EXPECT_THROW(pdf.EndDoc(), RuntimeError);  // nothing open any more
}

TEST_F(Document, WriterUsedAgainWithoutAbortWritesACompleteSecondFile) {
  pdf.SetDocProperty("Same title", "", "", "", "", "");
  pdf.BeginDoc("first.pdf");
  pdf.BeginPage();
  pdf.SetFont("Courier New", 12, 1, 0);
  pdf.EndDoc();
  pdf.BeginDoc("t.pdf");
  pdf.BeginPage();
  pdf.SetFont("Courier New", 12, 1, 0);
  const std::string& file = Finish();
  EXPECT_EQ(file, files.files["first.pdf"]);
}

class FileInUse : public Document {
 protected:
  void ExpectFileInUseBox(const platform::MessageBox& box) {
    EXPECT_EQ(box.title, "Creazione PDF");
    EXPECT_EQ(box.text,
              "Attenzione!\r\rIl file PDF risulta essere gi\xE0 aperto.\r\rPer proseguire "
              "chiudere il file pdf aperto e successivamente premere sul pulsante 'OK' di "
              "questo messaggio\r\r");
    EXPECT_EQ(box.icon, platform::Icon::Information);
  }
};

TEST_F(FileInUse, RetriesAfterTheUserPressesOk) {
  platform::ScriptedMessageBoxes boxes;
  pdf.SetMessageBoxes(&boxes);
  files.create_failures = {70, 70};
  pdf.BeginDoc("t.pdf");
  ASSERT_EQ(boxes.shown.size(), 2u);
  ExpectFileInUseBox(boxes.shown[0]);
  EXPECT_EQ(files.create_calls, 3);
  EXPECT_TRUE(pdf.IsFileOpen());
  EXPECT_EQ(pdf.ErrNumber(), 0);  // overcome
  EXPECT_EQ(Finish().substr(0, 8), "%PDF-1.3");
}

TEST_F(FileInUse, FailsWithTheErrorRecordedWhenNobodyCanAnswer) {
  std::ostringstream log;
  platform::BatchMessageBoxes batch(log);
  for (platform::MessageBoxes* boxes : {static_cast<platform::MessageBoxes*>(&batch),
                                        static_cast<platform::MessageBoxes*>(nullptr)}) {
    pdf.SetMessageBoxes(boxes);
    files.create_failures = {70, 70};
    files.create_calls = 0;
    pdf.BeginDoc("t.pdf");
    EXPECT_EQ(files.create_calls, 1);
    EXPECT_FALSE(pdf.IsFileOpen());
    EXPECT_EQ(pdf.ErrNumber(), 70);
    EXPECT_EQ(pdf.ErrSource(), "vbPDF.BeginDoc");
    EXPECT_EQ(pdf.ErrDescription(), "Permission denied");
    EXPECT_THROW(pdf.EndDoc(), RuntimeError);
  }
  EXPECT_NE(log.str().find("Creazione PDF"), std::string::npos);
}

}  // namespace
}  // namespace vx::pdf
