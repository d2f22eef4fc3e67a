#pragma once
// The small text rules of the listing's layout: page numbers, counts, amounts
// aligned on the right, the IBAN composed from the bank coordinates.

#include <cstddef>
#include <cstdint>
#include <string>

namespace vx::report {

// The page number as two digits: 7 gives "07", 123 gives "23".
std::string PageNumberText(int16_t page);

// A count as three digits: 7 gives "007", 1234 gives "234".
std::string CountText(int16_t count);

// The last `width` characters of `width` blanks followed by the text.
std::string RightAligned(const std::string& text, std::size_t width);

// The operator's description cut or padded with blanks to 30 characters.
std::string Description30(const std::string& description);

// An amount with two decimals, right-aligned in `width` characters.
std::string AmountText(double amount, std::size_t width);

// "CIN ABI CAB" as the card shows it: the ABI as stored, the CAB as five
// digits, the whole trimmed.
std::string CinAbiCab(const std::string& cin, const std::string& abi, const std::string& cab);

// The IBAN as the listing shows it: country code, check digits and CIN as
// stored, then ABI, CAB and account (each trimmed first) padded with zeros,
// or cut to their last digits: 4 + 4 + 14 when the layout selector is 1,
// otherwise 5 + 5 + 13 for an account of exactly 13 characters and
// 5 + 5 + 12 for any other.
std::string IbanText(double layout, const std::string& paese, const std::string& check,
                     const std::string& cin, const std::string& abi, const std::string& cab,
                     const std::string& conto);

}  // namespace vx::report
