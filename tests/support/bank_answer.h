#pragma once
// Status reports written as banks write them: ISO 20022 pain.002 versions 03
// and 10 in their Document, and the CBI return flow with its own namespace
// and a prefix on every element. Identifiers only, so no escaping is needed.

#include <string>
#include <vector>

namespace vx::testing {

enum class AnswerFlavour { Iso03, Iso10, Cbi };

inline constexpr const char* kStatusSchema03 = "pain.002.001.03.xsd";
inline constexpr const char* kStatusSchema10 = "pain.002.001.10.xsd";

struct AnsweredTransaction {
  std::string end_to_end_id, instruction_id, status, reason;  // empty ones are left out
};
struct AnsweredPayment {
  std::string id, status, reason;
  std::vector<AnsweredTransaction> transactions;
};
struct BankAnswer {
  std::string message_id = "ESITO-1";
  std::string created = "2025-11-28T10:15:00";
  std::string original_message_id;
  std::string group_status, group_reason;
  std::vector<AnsweredPayment> payments;
};

inline std::string AnswerXml(const BankAnswer& a, AnswerFlavour flavour) {
  const std::string p = flavour == AnswerFlavour::Cbi ? "cbi:" : "";
  auto element = [&](const char* name, const std::string& text) {
    return text.empty() ? std::string{} : "<" + p + name + ">" + text + "</" + p + name + ">";
  };
  auto reason = [&](const std::string& code) {
    return code.empty() ? std::string{}
                        : "<" + p + "StsRsnInf><" + p + "Rsn>" + element("Cd", code) + "</" + p + "Rsn></" + p +
                              "StsRsnInf>";
  };
  std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  switch (flavour) {
    case AnswerFlavour::Iso03:
      x += "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.002.001.03\"><CstmrPmtStsRpt>";
      break;
    case AnswerFlavour::Iso10:
      x += "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.002.001.10\"><CstmrPmtStsRpt>";
      break;
    case AnswerFlavour::Cbi:
      x += "<cbi:CBIPaymentStatusReport xmlns:cbi=\"urn:CBI:xsd:CBIPaymentStatusReport.00.04.00\">";
      break;
  }
  x += "<" + p + "GrpHdr>" + element("MsgId", a.message_id) + element("CreDtTm", a.created) + "</" + p + "GrpHdr>\n";
  x += "<" + p + "OrgnlGrpInfAndSts>" + element("OrgnlMsgId", a.original_message_id) +
       element("OrgnlMsgNmId", flavour == AnswerFlavour::Cbi ? "CBIPaymentRequest.00.04.01" : "pain.001.001.09") +
       element("GrpSts", a.group_status) + reason(a.group_reason) + "</" + p + "OrgnlGrpInfAndSts>\n";
  for (const auto& pmt : a.payments) {
    x += "<" + p + "OrgnlPmtInfAndSts>" + element("OrgnlPmtInfId", pmt.id) + element("PmtInfSts", pmt.status) +
         reason(pmt.reason) + "\n";
    for (const auto& t : pmt.transactions) {
      x += "<" + p + "TxInfAndSts>" + element("OrgnlInstrId", t.instruction_id) +
           element("OrgnlEndToEndId", t.end_to_end_id) + element("TxSts", t.status) + reason(t.reason) + "</" + p +
           "TxInfAndSts>\n";
    }
    x += "</" + p + "OrgnlPmtInfAndSts>\n";
  }
  x += flavour == AnswerFlavour::Cbi ? "</cbi:CBIPaymentStatusReport>\n" : "</CstmrPmtStsRpt></Document>\n";
  return x;
}

}  // namespace vx::testing
