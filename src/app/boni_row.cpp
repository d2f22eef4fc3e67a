#include "app/boni_row.h"

#include <cmath>
#include <cstdio>

#include "app/text_rules.h"
#include "report/layout_text.h"

namespace vx::app {

const char* const kBoniHeader =
    "cod.ditta;sottoditta;cod.dip.;COGNOME;NOME;CIN;ABI;CAB;NETTO IN BUSTA;"
    "CONTO CORRENTE;IBAN;BIC;BANCA";

std::string BoniFileName(const std::string& company_code, int slot) {
  return "BONI" + company_code + "B" + std::to_string(slot) + ".TXT";
}

std::string NetPayColumn(double net_pay, char decimal_separator) {
  // Amounts are whole cents; rounding half away from zero keeps a binary
  // fraction such as x.xx4999... on the cent it stands for. The cents are
  // written as a whole number (no decimal point, so no locale can change
  // it) and the regional separator goes in before the last two digits.
  const double cents = std::round(net_pay * 100.0);
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.0f", std::fabs(cents));
  std::string digits = buf;
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  digits.insert(digits.size() - 2, 1, decimal_separator);
  if (cents < 0) digits.insert(0, 1, '-');
  return PadLeft(digits, 12);
}

std::string BoniRow(const BoniFields& f, double net_pay, char decimal_separator) {
  std::string bic = Trim(f.bic);
  if (bic.find_first_not_of('0') == std::string::npos) bic.clear();  // empty or zeros only
  std::string row;
  row.reserve(220);
  row += Mid(f.code, 1, 3) + ";" + Mid(f.code, 4, 3) + ";" + Mid(f.code, 7, 4) + ";";
  row += PadRight(f.surname, 30) + ";" + PadRight(f.name, 30) + ";";
  row += Right("0" + f.cin, 1) + ";" + Right("00000" + f.abi, 5) + ";" + Right("000000" + Trim(f.cab), 6) + ";";
  row += NetPayColumn(net_pay, decimal_separator) + ";";
  row += PadRight(Trim(f.account), 16) + ";";
  // The same IBAN the listing prints beside the employee.
  row += vx::report::IbanText(f.iban_layout, f.iban_country, f.iban_check, f.cin, f.abi, f.cab, f.account) + ";";
  row += PadRight(bic, 11) + ";";
  row += PadRight(f.bank_name, 38);
  return row;
}

}  // namespace vx::app
