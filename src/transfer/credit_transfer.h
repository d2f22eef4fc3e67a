#pragma once
// One credit-transfer request for the bank: one debtor account, one
// requested execution date and one transaction per creditor, written either
// as the CBI payment request of Italian home banking (CBIPaymentRequest
// 00.04.01) or as the SEPA customer-to-bank pain.001.001.09.

#include <cstdint>
#include <string>
#include <vector>

#include "transfer/target_calendar.h"

namespace vx::transfer {

enum class TransferKind { Cbi, Sepa };

// Texts below are cp1252 and already in the bank's character set (EpcText),
// cut to the lengths the message allows: names 70, remittance 140.
struct Debtor {
  std::string name;
  std::string street, postcode, town, province;  // the company's address; empty parts are left out
  std::string iban;
  std::string bic;     // empty: the bank is named by the IBAN alone
  std::string cuc;     // CBI: the company's CBI code, which identifies the initiating party
  std::string tax_id;  // CBI: codice fiscale or partita IVA of the company
};

struct Payment {
  std::string instruction_id;  // unique within the file
  std::string end_to_end_id;   // travels to the creditor's bank
  std::string creditor_name;
  std::string iban;
  std::string bic;  // empty: no creditor agent
  int64_t cents = 0;
  std::string remittance;
};

struct TransferDocument {
  TransferKind kind = TransferKind::Sepa;
  std::string message_id;
  std::string payment_info_id;
  std::string created;  // local date and time, "2026-12-06T09:30:00"
  Date execution_date;
  Debtor debtor;
  std::vector<Payment> payments;  // at least one
};

// An amount of whole cents as the message writes it: "1234.50".
std::string Amount(int64_t cents);

// The whole document, UTF-8 XML. Throws std::runtime_error when the XML
// writer fails (out of memory).
std::string WriteTransferDocument(const TransferDocument& document);

}  // namespace vx::transfer
