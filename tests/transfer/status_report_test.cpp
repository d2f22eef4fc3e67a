// The bank's status reports: answers written as banks write them, judged by
// the published schemas with xmllint, read back salary by salary; what is
// not a report, or is hostile, refused with words for the operator.

#include <gtest/gtest.h>

#include <fstream>

#include "support/bank_answer.h"
#include "support/schema_check.h"
#include "support/temp_folder.h"
#include "transfer/status_reasons.h"
#include "transfer/status_report.h"

namespace vx::transfer {
namespace {

using vx::testing::AnswerFlavour;
using vx::testing::AnswerXml;
using vx::testing::BankAnswer;

// "payment|end to end|instruction|status|reasons" per entry, widest first.
std::vector<std::string> Lines(const StatusReport& report) {
  std::vector<std::string> lines;
  for (const auto& s : report.statuses) {
    std::string reasons;
    for (const auto& r : s.reasons) reasons += (reasons.empty() ? "" : ",") + r;
    lines.push_back(s.payment_info_id + "|" + s.end_to_end_id + "|" + s.instruction_id + "|" + s.status + "|" +
                    reasons);
  }
  return lines;
}

StatusReport ReadOne(const std::string& xml) {
  const auto reports = ReadStatusReports(xml);
  EXPECT_EQ(reports.size(), 1u);
  return reports.at(0);
}

TEST(StatusReport, AnswersOfEveryFlavourValidateAndReadBackSalaryBySalary) {
  const vx::testing::TempFolder folder;
  struct Case {
    const char* what;
    BankAnswer answer;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"accepted", {"E1", "2025-11-28T10:15:00", "STIP-1", "ACCP", "", {}}, {"|||ACCP|"}},
      {"partly rejected: PART leaves each salary to its own status; one without any has none",
       {"E2", "2025-11-28T10:15:00", "STIP-1", "PART", "",
        {{"PMT-1", "PART", "", {{"E2E-1", "1", "RJCT", "AC04"}, {"E2E-2", "2", "ACSC", ""}, {"E2E-3", "3", "", ""}}}}},
       {"PMT-1|E2E-1|1|RJCT|AC04", "PMT-1|E2E-2|2|ACSC|"}},
      {"wholly rejected: the group's rejection holds over what a salary says",
       {"E3", "2025-11-28T10:15:00", "STIP-1", "RJCT", "FF01",
        {{"PMT-1", "", "", {{"E2E-1", "1", "RJCT", "AC01"}, {"E2E-2", "2", "ACCP", ""}}}}},
       {"|||RJCT|FF01", "PMT-1|||RJCT|FF01", "PMT-1|E2E-1|1|RJCT|AC01", "PMT-1|E2E-2|2|RJCT|FF01"}},
      {"pending: the payment's status goes to its salaries without one",
       {"E4", "2025-11-28T10:15:00", "STIP-1", "", "",
        {{"PMT-1", "PDNG", "", {{"E2E-1", "1", "", ""}, {"E2E-2", "2", "RJCT", "MD07"}}},
         {"PMT-2", "RJCT", "AM04", {{"", "7", "ACSC", ""}}}}},
       {"PMT-1|||PDNG|", "PMT-2|||RJCT|AM04", "PMT-1|E2E-1|1|PDNG|", "PMT-1|E2E-2|2|RJCT|MD07",
        "PMT-2||7|RJCT|AM04"}},
      {"then accepted", {"E5", "2025-11-29T08:00:00", "STIP-1", "ACSC", "", {}}, {"|||ACSC|"}},
  };
  for (const AnswerFlavour flavour : {AnswerFlavour::Iso03, AnswerFlavour::Iso10, AnswerFlavour::Cbi}) {
    for (const Case& c : cases) {
      const std::string xml = AnswerXml(c.answer, flavour);
      SCOPED_TRACE(std::string(c.what) + "\n" + xml);
      if (flavour != AnswerFlavour::Cbi && !vx::testing::OraclesFolder().empty()) {
        const auto path = folder.Path() / "answer.xml";
        std::ofstream(path, std::ios::binary) << xml;
        EXPECT_EQ(vx::testing::SchemaErrors(path, flavour == AnswerFlavour::Iso03 ? vx::testing::kStatusSchema03
                                                                                  : vx::testing::kStatusSchema10),
                  "");
      }
      const StatusReport report = ReadOne(xml);
      EXPECT_EQ(report.message_id, c.answer.message_id);
      EXPECT_EQ(report.created, c.answer.created);
      EXPECT_EQ(report.original_message_id, "STIP-1");
      EXPECT_EQ(report.original_message_name,
                flavour == AnswerFlavour::Cbi ? "CBIPaymentRequest.00.04.01" : "pain.001.001.09");
      EXPECT_EQ(Lines(report), c.expected);
    }
  }
}

TEST(StatusReport, EveryReportOfAnEnvelopeIsReadHoweverLaidOut) {
  BankAnswer first{"E1", "2025-11-28T10:15:00", "STIP-1", "ACCP", "", {}};
  BankAnswer second{"E2", "2025-11-28T10:15:00", "STIP-2", "RJCT", "DUPL", {}};
  auto inner = [](const BankAnswer& a) {
    std::string xml = AnswerXml(a, AnswerFlavour::Cbi);
    return xml.substr(xml.find("?>") + 2);
  };
  // Laid out by hand, with the bank's own reason code.
  const std::string third =
      "<Rpt><GrpHdr>\n  <MsgId>\n    E3\n  </MsgId>\n</GrpHdr><OrgnlGrpInfAndSts><OrgnlMsgId> STIP-3 </OrgnlMsgId>"
      "<GrpSts>RJCT</GrpSts><StsRsnInf><Rsn><Prtry>MOTIVO\n\t 7</Prtry></Rsn></StsRsnInf></OrgnlGrpInfAndSts></Rpt>";
  const auto reports =
      ReadStatusReports("<Envelope>" + inner(first) + "<Other/>" + inner(second) + third + "</Envelope>");
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0].original_message_id, "STIP-1");
  EXPECT_EQ(Lines(reports[1]), std::vector<std::string>{"|||RJCT|DUPL"});
  EXPECT_EQ(reports[2].message_id, "E3");
  EXPECT_EQ(reports[2].original_message_id, "STIP-3");
  EXPECT_EQ(Lines(reports[2]), std::vector<std::string>{"|||RJCT|MOTIVO 7"});
}

TEST(StatusReport, WhatIsNotAReportOrIsHostileIsRefusedWithTheReason) {
  const std::string body =
      "<Document><CstmrPmtStsRpt><GrpHdr><MsgId>E</MsgId></GrpHdr><OrgnlGrpInfAndSts><OrgnlMsgId>M</OrgnlMsgId>"
      "<GrpSts>ACCP</GrpSts></OrgnlGrpInfAndSts></CstmrPmtStsRpt></Document>";
  std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a0 \"lol\">";
  for (int i = 1; i < 10; ++i) {
    laughs += "<!ENTITY a" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j) laughs += "&a" + std::to_string(i - 1) + ";";
    laughs += "\">";
  }
  laughs += "]><Document><CstmrPmtStsRpt><GrpHdr><MsgId>&a9;</MsgId></GrpHdr></CstmrPmtStsRpt></Document>";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"ESITO;001;ACCP\r\n", "il file non \xE8 XML ben formato (riga 1: "},
      {"<Document><CstmrPmtStsRpt><GrpHdr>", "il file non \xE8 XML ben formato"},
      {"<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.001.001.09\"><CstmrCdtTrfInitn/></Document>",
       "nessun elemento OrgnlGrpInfAndSts"},
      {std::string(body).replace(body.find("<OrgnlMsgId>M</OrgnlMsgId>"), 26, ""), "(OrgnlMsgId)"},
      {std::string(body).replace(body.find("<MsgId>E</MsgId>"), 16, ""), "(GrpHdr/MsgId)"},
      {std::string(body).insert(body.find("</CstmrPmtStsRpt>"),
                                "<OrgnlPmtInfAndSts><TxInfAndSts><TxSts>RJCT</TxSts></TxInfAndSts></OrgnlPmtInfAndSts>"),
       "senza riferimento"},
      {laughs, "dichiara una DTD"},
      {"<!DOCTYPE d [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>" + body, "dichiara una DTD"},
      {"<!DOCTYPE Document SYSTEM \"http://example.com/pain.dtd\">" + body, "dichiara una DTD"},
  };
  for (const auto& [bytes, words] : cases) {
    try {
      ReadStatusReports(bytes);
      ADD_FAILURE() << "read: " << bytes;
    } catch (const StatusReportError& e) {
      EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what() << "\n" << bytes;
    }
  }
  // Refused on its size alone, before a byte is read or parsed.
  const vx::testing::TempFolder folder;
  const auto sparse = folder.Path() / "esito.xml";
  std::ofstream(sparse) << body;
  std::filesystem::resize_file(sparse, 100u << 20);
  EXPECT_THROW(ReadStatusReportFile(sparse), StatusReportError);
  EXPECT_THROW(ReadStatusReportFile(folder.Path() / "missing.xml"), StatusReportError);
  std::filesystem::resize_file(sparse, body.size());
  EXPECT_EQ(ReadStatusReportFile(sparse).at(0).original_message_id, "M");
  std::string huge = body;
  huge.insert(body.find("<CstmrPmtStsRpt>"), kMaxStatusReportBytes + 1 - body.size(), ' ');
  try {
    ReadStatusReports(huge);
    ADD_FAILURE() << "read a report of " << huge.size() << " bytes";
  } catch (const StatusReportError& e) {
    EXPECT_STREQ(e.what(), "file di 64 MB, troppo grande per un esito della banca (al massimo 64 MB)");
  }
}

TEST(StatusReasons, ItalianWordsWithTheCodeBesideAndTheClassOfEachStatus) {
  EXPECT_EQ(ReasonText("AC01"), "numero di conto errato (AC01)");
  EXPECT_EQ(ReasonText("AC04"), "conto chiuso (AC04)");
  EXPECT_EQ(ReasonText("AC06"), "conto bloccato (AC06)");
  EXPECT_EQ(ReasonText("AM04"), "fondi insufficienti (AM04)");
  EXPECT_EQ(ReasonText("CH04"), "data di esecuzione gi\xE0 passata (CH04)");
  EXPECT_EQ(ReasonText("MD07"), "titolare del conto deceduto (MD07)");
  EXPECT_EQ(ReasonText("TM01"), "ricevuto oltre l'orario limite (TM01)");
  EXPECT_EQ(ReasonText("X123"), "X123");
  EXPECT_EQ(StatusText("RJCT"), "respinto (RJCT)");
  EXPECT_EQ(StatusText("ACSC"), "accettato, addebitato (ACSC)");
  EXPECT_EQ(StatusText("ZZZZ"), "ZZZZ");

  struct Class {
    const char* status;
    StatusClass is;
    bool final;
  };
  for (const Class& c : {Class{"ACCP", StatusClass::Accepted, false}, Class{"ACSP", StatusClass::Accepted, false},
                         Class{"ACSC", StatusClass::Accepted, true}, Class{"ACCC", StatusClass::Accepted, true},
                         Class{"ACWC", StatusClass::Accepted, false}, Class{"ACTC", StatusClass::Pending, false},
                         Class{"RCVD", StatusClass::Pending, false}, Class{"PDNG", StatusClass::Pending, false},
                         Class{"ZZZZ", StatusClass::Pending, false}, Class{"RJCT", StatusClass::Rejected, true},
                         Class{"CANC", StatusClass::Rejected, true}}) {
    EXPECT_EQ(ClassOf(c.status), c.is) << c.status;
    EXPECT_EQ(IsFinal(c.status), c.final) << c.status;
  }
}

}  // namespace
}  // namespace vx::transfer
