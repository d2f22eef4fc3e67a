#include "app/boni_row.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/text_rules.h"

namespace vx::app {

const char* const kBoniHeader =
    "cod.ditta;sottoditta;cod.dip.;COGNOME;NOME;CIN;ABI;CAB;NETTO IN BUSTA;"
    "CONTO CORRENTE;IBAN;BIC;BANCA";

std::string BoniFileName(const std::string& company_code, int slot) {
  return "BONI" + company_code + "B" + std::to_string(slot) + ".TXT";
}

namespace {
// The last `width` characters of `width` zeros followed by the text.
std::string Zeros(std::string_view text, std::size_t width) {
  return Right(std::string(width, '0') + std::string(text), width);
}
}  // namespace

std::string IbanText(const BoniFields& f) {
  const std::string abi = Trim(f.abi), cab = Trim(f.cab), account = Trim(f.account);
  std::string iban = f.iban_country + f.iban_check + f.cin;
  if (f.iban_layout == 1) return iban + Zeros(abi, 4) + Zeros(cab, 4) + Zeros(account, 14);
  iban += Zeros(abi, 5) + Zeros(cab, 5);
  return iban + (account.size() == 13 ? Zeros(account, 13) : Zeros(account, 12));
}

std::string NetPayColumn(double net_pay, char decimal_separator) {
  // Amounts are whole cents; rounding half away from zero keeps a binary
  // fraction such as x.xx4999... on the cent it stands for.
  const double cents = std::round(net_pay * 100.0);
  const long long whole = static_cast<long long>(std::fabs(cents));
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s%lld%c%02lld", cents < 0 ? "-" : "", whole / 100, decimal_separator,
                whole % 100);
  return PadLeft(buf, 12);
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
  row += IbanText(f) + ";";
  row += PadRight(bic, 11) + ";";
  row += PadRight(f.bank_name, 38);
  return row;
}

}  // namespace vx::app
