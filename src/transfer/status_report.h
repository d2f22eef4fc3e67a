#pragma once
// The bank's answer to a transfer file: the customer payment status report
// (pain.002, versions 03 and 10, and the CBI home-banking return flow that
// carries the same structure under its own namespace), read by element
// names whatever the namespace, with the statuses of group, payment and
// transaction resolved into the status of each transaction.

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vx::transfer {

// What a status code means for the salary it concerns.
enum class StatusClass {
  Accepted,  // the bank has taken the payment for execution, or executed it
  Pending,   // received or being checked; the payment may still go either way
  Rejected,  // the payment will not be made
};

// The class of a transaction status code. PART is never a transaction's
// status; codes this program does not know count as pending, so that an
// unknown answer never lets a salary be paid a second time.
StatusClass ClassOf(std::string_view status);

// Whether no later status can properly follow: RJCT and CANC (the payment is
// dead), ACSC and ACCC (the money has left the debtor's account, or reached
// the creditor's). ACSP and the other acceptances are not final: a payment
// accepted for execution can still be refused on the execution date
// (insufficient funds, closed account).
bool IsFinal(std::string_view status);

// The status of one transaction, or of every transaction of a payment or of
// the whole original message that the report does not list one by one.
struct TransactionStatus {
  std::string payment_info_id;  // empty: every payment of the message
  std::string end_to_end_id;    // both empty: every transaction of the payment (or message)
  std::string instruction_id;
  std::string status;                // the effective code: ACSC, RJCT, PDNG, ...
  std::vector<std::string> reasons;  // reason codes (Cd, or the bank's own Prtry), in report order

  bool OneTransaction() const { return !end_to_end_id.empty() || !instruction_id.empty(); }
};

// One status report. Texts are cp1252.
struct StatusReport {
  std::string message_id;             // the report's own identifier
  std::string created;                // its creation time as the bank wrote it
  std::string original_message_id;    // the transfer file it answers
  std::string original_message_name;  // "pain.001.001.09", "CBIPaymentRequest.00.04.01", ...
  std::string group_status;           // as the bank wrote it; may be empty
  // Ordered from the widest to the narrowest: the message, then each
  // payment, then each transaction. The narrowest entry that covers a
  // transaction is its status.
  std::vector<TransactionStatus> statuses;
};

// A file that cannot be read as a status report; the message is cp1252,
// for the operator.
struct StatusReportError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A report larger than this is refused before it is parsed. A bank's answer
// to a file of 9,999 salaries, with every optional element and the original
// transaction echoed in full, stays under 16 MB; four times that leaves room
// for any real report and keeps a runaway file from filling memory.
inline constexpr std::size_t kMaxStatusReportBytes = 64u << 20;

// Every report in the file (a CBI flow may carry several). Throws
// StatusReportError when the bytes are too many, are not well-formed XML,
// declare a DTD (a status report never does: that is how entity bombs come),
// or hold no report at all.
std::vector<StatusReport> ReadStatusReports(std::string_view bytes);

// The same from a file (a host path), refused on its size before a byte of
// it is read; a file that cannot be read is refused too.
std::vector<StatusReport> ReadStatusReportFile(const std::filesystem::path& path);

}  // namespace vx::transfer
