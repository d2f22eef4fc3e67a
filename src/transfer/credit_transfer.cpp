#include "transfer/credit_transfer.h"

#include <libxml/xmlwriter.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

#include "platform/codepage.h"

namespace vx::transfer {

namespace {

constexpr const char* kCbiNamespace = "urn:CBI:xsd:CBIPaymentRequest.00.04.01";
constexpr const char* kSepaNamespace = "urn:iso:std:iso:20022:tech:xsd:pain.001.001.09";

// The XML writer over a memory buffer; every call that fails throws, so a
// document is either written whole or not returned at all.
class Writer {
 public:
  Writer() : buffer_(xmlBufferCreate(), xmlBufferFree) {
    if (!buffer_) throw std::runtime_error("XML buffer");
    writer_ = xmlNewTextWriterMemory(buffer_.get(), 0);
    if (writer_ == nullptr) throw std::runtime_error("XML writer");
    Check(xmlTextWriterSetIndent(writer_, 1));
    Check(xmlTextWriterSetIndentString(writer_, BAD_CAST "  "));
    Check(xmlTextWriterStartDocument(writer_, nullptr, "UTF-8", nullptr));
  }
  ~Writer() {
    if (writer_ != nullptr) xmlFreeTextWriter(writer_);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void Root(const char* name, const char* ns) {
    Check(xmlTextWriterStartElementNS(writer_, nullptr, BAD_CAST name, BAD_CAST ns));
  }
  void Open(const char* name) { Check(xmlTextWriterStartElement(writer_, BAD_CAST name)); }
  void Close() { Check(xmlTextWriterEndElement(writer_)); }
  // <name>text</name>; the writer escapes the text.
  void Text(const char* name, const std::string& cp1252) {
    const std::string utf8 = vx::platform::Cp1252ToUtf8(cp1252);
    Check(xmlTextWriterWriteElement(writer_, BAD_CAST name, BAD_CAST utf8.c_str()));
  }
  // <name>text</name> only when there is a text.
  void Optional(const char* name, const std::string& cp1252) {
    if (!cp1252.empty()) Text(name, cp1252);
  }
  void Attribute(const char* name, const char* value) {
    Check(xmlTextWriterWriteAttribute(writer_, BAD_CAST name, BAD_CAST value));
  }
  void Characters(const std::string& ascii) { Check(xmlTextWriterWriteString(writer_, BAD_CAST ascii.c_str())); }

  std::string Finish() {
    Check(xmlTextWriterEndDocument(writer_));
    xmlFreeTextWriter(writer_);
    writer_ = nullptr;
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer_.get())),
                       static_cast<std::size_t>(xmlBufferLength(buffer_.get())));
  }

 private:
  static void Check(int result) {
    if (result < 0) throw std::runtime_error("XML writer failed");
  }

  std::unique_ptr<xmlBuffer, void (*)(xmlBufferPtr)> buffer_;
  xmlTextWriterPtr writer_ = nullptr;
};

int64_t Total(const std::vector<Payment>& payments) {
  int64_t total = 0;
  for (const Payment& p : payments) total += p.cents;
  return total;
}

// <Othr><Id>id</Id><Issr>issuer</Issr></Othr> inside OrgId inside Id.
void OrganisationId(Writer& w, const std::string& id, const char* issuer) {
  w.Open("Id");
  w.Open("OrgId");
  w.Open("Othr");
  w.Text("Id", id);
  w.Text("Issr", issuer);
  w.Close();
  w.Close();
  w.Close();
}

void PostalAddress(Writer& w, const Debtor& d) {
  w.Open("PstlAdr");
  w.Optional("StrtNm", d.street);
  w.Optional("PstCd", d.postcode);
  w.Optional("TwnNm", d.town);
  w.Optional("CtrySubDvsn", d.province);
  w.Text("Ctry", "IT");
  w.Close();
}

void Iban(Writer& w, const char* element, const std::string& iban) {
  w.Open(element);
  w.Open("Id");
  w.Text("IBAN", iban);
  w.Close();
  w.Close();
}

void Transaction(Writer& w, TransferKind kind, const Payment& p) {
  w.Open("CdtTrfTxInf");
  w.Open("PmtId");
  w.Text("InstrId", p.instruction_id);
  w.Text("EndToEndId", p.end_to_end_id);
  w.Close();
  if (kind == TransferKind::Cbi) {
    // The CBI profile takes the salary category per transaction only.
    w.Open("PmtTpInf");
    w.Open("CtgyPurp");
    w.Text("Cd", "SALA");
    w.Close();
    w.Close();
  }
  w.Open("Amt");
  w.Open("InstdAmt");
  w.Attribute("Ccy", "EUR");
  w.Characters(Amount(p.cents));
  w.Close();
  w.Close();
  if (!p.bic.empty()) {
    w.Open("CdtrAgt");
    w.Open("FinInstnId");
    w.Text("BICFI", p.bic);
    w.Close();
    w.Close();
  }
  w.Open("Cdtr");
  w.Text("Nm", p.creditor_name);
  w.Close();
  Iban(w, "CdtrAcct", p.iban);
  if (!p.remittance.empty()) {
    w.Open("RmtInf");
    w.Text("Ustrd", p.remittance);
    w.Close();
  }
  w.Close();
}

void GroupHeader(Writer& w, const TransferDocument& doc) {
  w.Open("GrpHdr");
  w.Text("MsgId", doc.message_id);
  w.Text("CreDtTm", doc.created);
  w.Text("NbOfTxs", std::to_string(doc.payments.size()));
  w.Text("CtrlSum", Amount(Total(doc.payments)));
  w.Open("InitgPty");
  w.Text("Nm", doc.debtor.name);
  // The bank knows the company that sends a CBI request by its CBI code.
  if (doc.kind == TransferKind::Cbi) OrganisationId(w, doc.debtor.cuc, "CBI");
  w.Close();
  w.Close();
}

void PaymentInformation(Writer& w, const TransferDocument& doc) {
  const Debtor& d = doc.debtor;
  const bool cbi = doc.kind == TransferKind::Cbi;
  w.Open("PmtInf");
  w.Text("PmtInfId", doc.payment_info_id);
  w.Text("PmtMtd", "TRF");
  if (!cbi) {
    w.Text("NbOfTxs", std::to_string(doc.payments.size()));
    w.Text("CtrlSum", Amount(Total(doc.payments)));
  }
  w.Open("PmtTpInf");
  w.Open("SvcLvl");
  w.Text("Cd", "SEPA");
  w.Close();
  if (!cbi) {
    w.Open("CtgyPurp");
    w.Text("Cd", "SALA");
    w.Close();
  }
  w.Close();
  w.Open("ReqdExctnDt");
  w.Text("Dt", IsoDate(doc.execution_date));
  w.Close();
  w.Open("Dbtr");
  w.Text("Nm", d.name);
  PostalAddress(w, d);
  if (cbi) OrganisationId(w, d.tax_id, "ADE");
  w.Close();
  Iban(w, "DbtrAcct", d.iban);
  w.Open("DbtrAgt");
  w.Open("FinInstnId");
  w.Optional("BICFI", d.bic);
  if (cbi) {
    // The debtor's bank by its ABI, the five digits after the CIN.
    w.Open("ClrSysMmbId");
    w.Text("MmbId", d.iban.substr(5, 5));
    w.Close();
  } else if (d.bic.empty()) {
    w.Open("Othr");
    w.Text("Id", "NOTPROVIDED");
    w.Close();
  }
  w.Close();
  w.Close();
  w.Text("ChrgBr", "SLEV");
  for (const Payment& p : doc.payments) Transaction(w, doc.kind, p);
  w.Close();
}

}  // namespace

std::string Amount(int64_t cents) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", cents < 0 ? "-" : "",
                static_cast<long long>((cents < 0 ? -cents : cents) / 100),
                static_cast<long long>((cents < 0 ? -cents : cents) % 100));
  return buffer;
}

std::string WriteTransferDocument(const TransferDocument& doc) {
  Writer w;
  if (doc.kind == TransferKind::Cbi) {
    w.Root("CBIPaymentRequest", kCbiNamespace);
    GroupHeader(w, doc);
    PaymentInformation(w, doc);
  } else {
    w.Root("Document", kSepaNamespace);
    w.Open("CstmrCdtTrfInitn");
    GroupHeader(w, doc);
    PaymentInformation(w, doc);
    w.Close();
  }
  w.Close();
  return w.Finish();
}

}  // namespace vx::transfer
