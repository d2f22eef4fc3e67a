#include "transfer/status_report.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <array>
#include <fstream>
#include <memory>

#include "platform/codepage.h"

namespace vx::transfer {

namespace {

bool Named(const xmlNode* node, const char* name) {
  return node != nullptr && node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, BAD_CAST name);
}

// The first child element of that local name, whatever its namespace.
const xmlNode* Child(const xmlNode* parent, const char* name) {
  if (parent == nullptr) return nullptr;
  for (const xmlNode* n = parent->children; n != nullptr; n = n->next) {
    if (Named(n, name)) return n;
  }
  return nullptr;
}

template <typename Visit>
void Children(const xmlNode* parent, const char* name, Visit&& visit) {
  for (const xmlNode* n = parent->children; n != nullptr; n = n->next) {
    if (Named(n, name)) visit(n);
  }
}

// The element's text in cp1252, without the blanks around it and with each
// run of blanks, tabs and line ends inside it made one blank.
std::string Text(const xmlNode* node) {
  if (node == nullptr) return {};
  std::unique_ptr<xmlChar, void (*)(void*)> content(xmlNodeGetContent(node), xmlFree);
  if (!content) return {};
  std::string text;
  bool blank = false;
  for (const char* c = reinterpret_cast<const char*>(content.get()); *c != '\0'; ++c) {
    if (*c == ' ' || *c == '\t' || *c == '\r' || *c == '\n') {
      blank = !text.empty();
      continue;
    }
    if (blank) text += ' ';
    blank = false;
    text += *c;
  }
  return vx::platform::Utf8ToCp1252(text);
}

std::string ChildText(const xmlNode* parent, const char* name) { return Text(Child(parent, name)); }

// The reason codes of a level: StsRsnInf/Rsn/Cd, or the bank's own Prtry.
std::vector<std::string> Reasons(const xmlNode* level) {
  std::vector<std::string> codes;
  Children(level, "StsRsnInf", [&](const xmlNode* info) {
    const xmlNode* reason = Child(info, "Rsn");
    std::string code = ChildText(reason, "Cd");
    if (code.empty()) code = ChildText(reason, "Prtry");
    if (!code.empty()) codes.push_back(std::move(code));
  });
  return codes;
}

// A status that decides for the level below; PART (and none) leaves each
// lower level to its own.
bool Decides(const std::string& status) { return !status.empty() && status != "PART"; }

struct Level {
  std::string status;
  std::vector<std::string> reasons;
};

// One transaction under its payment and group: a rejected group or payment
// rejects it whatever it says itself; otherwise its own status, or the
// nearest deciding one above it.
void Transaction(const xmlNode* tx, const std::string& payment_info_id, const Level& group, const Level& payment,
                 std::vector<TransactionStatus>& out) {
  TransactionStatus s;
  s.payment_info_id = payment_info_id;
  s.end_to_end_id = ChildText(tx, "OrgnlEndToEndId");
  s.instruction_id = ChildText(tx, "OrgnlInstrId");
  if (!s.OneTransaction())
    throw StatusReportError("esito di un bonifico senza riferimento (OrgnlEndToEndId o OrgnlInstrId)");
  Level own{ChildText(tx, "TxSts"), Reasons(tx)};
  if (own.status == "PART") own.status.clear();  // a group's status, meaningless for one salary
  const Level* decided = nullptr;
  if (group.status == "RJCT") decided = &group;
  else if (payment.status == "RJCT") decided = &payment;
  else if (!own.status.empty()) decided = &own;
  else if (Decides(payment.status)) decided = &payment;
  else if (Decides(group.status)) decided = &group;
  if (decided == nullptr) return;  // listed with no status at any level: nothing to say of it
  s.status = decided->status;
  // The transaction's own reasons say most, as long as they go with the status it ends up with.
  s.reasons = !own.reasons.empty() && (own.status.empty() || own.status == s.status) ? own.reasons : decided->reasons;
  out.push_back(std::move(s));
}

StatusReport Report(const xmlNode* report) {
  StatusReport r;
  const xmlNode* header = Child(report, "GrpHdr");
  const xmlNode* original = Child(report, "OrgnlGrpInfAndSts");
  r.message_id = ChildText(header, "MsgId");
  r.created = ChildText(header, "CreDtTm");
  r.original_message_id = ChildText(original, "OrgnlMsgId");
  r.original_message_name = ChildText(original, "OrgnlMsgNmId");
  r.group_status = ChildText(original, "GrpSts");
  if (r.message_id.empty()) throw StatusReportError("esito senza identificativo proprio (GrpHdr/MsgId)");
  if (r.original_message_id.empty())
    throw StatusReportError("esito senza identificativo del file dei bonifici a cui risponde (OrgnlMsgId)");

  const Level group{r.group_status, Reasons(original)};
  if (Decides(group.status)) r.statuses.push_back({"", "", "", group.status, group.reasons});
  // Two passes keep the order from the widest to the narrowest.
  Children(report, "OrgnlPmtInfAndSts", [&](const xmlNode* p) {
    const std::string id = ChildText(p, "OrgnlPmtInfId");
    std::string status = ChildText(p, "PmtInfSts");
    if (Decides(status) || group.status == "RJCT") {
      if (group.status == "RJCT") status = "RJCT";
      std::vector<std::string> reasons = Reasons(p);
      r.statuses.push_back({id, "", "", status, reasons.empty() ? group.reasons : std::move(reasons)});
    }
  });
  // Transactions listed directly under the report belong to no payment in particular.
  Children(report, "TxInfAndSts", [&](const xmlNode* tx) { Transaction(tx, "", group, {}, r.statuses); });
  Children(report, "OrgnlPmtInfAndSts", [&](const xmlNode* p) {
    const std::string id = ChildText(p, "OrgnlPmtInfId");
    const Level payment{ChildText(p, "PmtInfSts"), Reasons(p)};
    Children(p, "TxInfAndSts", [&](const xmlNode* tx) { Transaction(tx, id, group, payment, r.statuses); });
  });
  return r;
}

// Report elements are those with an OrgnlGrpInfAndSts child: the
// CstmrPmtStsRpt inside an ISO Document, or a CBI flow's own elements,
// however deep its envelope puts them.
void FindReports(const xmlNode* node, std::vector<StatusReport>& out) {
  for (const xmlNode* n = node; n != nullptr; n = n->next) {
    if (n->type != XML_ELEMENT_NODE) continue;
    if (Child(n, "OrgnlGrpInfAndSts") != nullptr) out.push_back(Report(n));
    else FindReports(n->children, out);
  }
}

// The parser's answer to a document type declaration: stop there, before a
// single entity of its internal subset is read.
void RefuseDtd(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  auto* parser = static_cast<xmlParserCtxtPtr>(context);
  *static_cast<bool*>(parser->_private) = true;
  xmlStopParser(parser);
}

void RefuseSize(std::uintmax_t size) {
  if (size > kMaxStatusReportBytes) {
    throw StatusReportError("file di " + std::to_string(size >> 20) +
                            " MB, troppo grande per un esito della banca (al massimo " +
                            std::to_string(kMaxStatusReportBytes >> 20) + " MB)");
  }
}

}  // namespace

StatusClass ClassOf(std::string_view status) {
  static constexpr std::array<std::string_view, 8> kAccepted = {"ACCP", "ACSP", "ACSC", "ACCC",
                                                                 "ACWC", "ACWP", "ACFC", "ACIS"};
  if (status == "RJCT" || status == "CANC") return StatusClass::Rejected;
  for (std::string_view accepted : kAccepted) {
    if (status == accepted) return StatusClass::Accepted;
  }
  // ACTC (the file passed the bank's checks, not yet taken for execution),
  // RCVD, PDNG, PATC and any code this program does not know.
  return StatusClass::Pending;
}

bool IsFinal(std::string_view status) {
  return status == "RJCT" || status == "CANC" || status == "ACSC" || status == "ACCC";
}

std::vector<StatusReport> ReadStatusReports(std::string_view bytes) {
  RefuseSize(bytes.size());
  std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> parser(xmlNewParserCtxt(), xmlFreeParserCtxt);
  if (!parser) throw StatusReportError("memoria insufficiente per leggere l'esito");
  bool dtd = false;
  parser->_private = &dtd;
  parser->sax->internalSubset = RefuseDtd;
  // No network, no entity substitution, no DTD loading, libxml2's limits on
  // sizes and depth left in force (no XML_PARSE_HUGE).
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
  std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(
      xmlCtxtReadMemory(parser.get(), bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, options),
      xmlFreeDoc);
  if (dtd) throw StatusReportError("il file dichiara una DTD, che un esito della banca non ha: non letto");
  if (!doc || !parser->wellFormed) {
    std::string why = "il file non \xE8 XML ben formato";
    if (const xmlError* e = xmlCtxtGetLastError(parser.get()); e != nullptr && e->message != nullptr) {
      std::string message = vx::platform::Utf8ToCp1252(e->message);
      while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
      why += " (riga " + std::to_string(e->line) + ": " + message + ")";
    }
    throw StatusReportError(why);
  }
  std::vector<StatusReport> reports;
  FindReports(xmlDocGetRootElement(doc.get()), reports);
  if (reports.empty())
    throw StatusReportError("il file non \xE8 un esito della banca (nessun elemento OrgnlGrpInfAndSts)");
  return reports;
}

std::vector<StatusReport> ReadStatusReportFile(const std::filesystem::path& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) throw StatusReportError("file non leggibile: " + vx::platform::Utf8ToCp1252(error.message()));
  RefuseSize(size);
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in.read(bytes.data(), static_cast<std::streamsize>(size)))
    throw StatusReportError("file non leggibile: lettura interrotta");
  return ReadStatusReports(bytes);
}

}  // namespace vx::transfer
