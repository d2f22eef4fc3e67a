#include "demo_population.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "bank/cin.h"
#include "bank/iban.h"
#include "employee_bank.h"
#include "descriptor_field.h"
#include "faulty_coordinates.h"
#include "employee_bank.h"
#include "archive/descriptors.h"

namespace vx::demo {

namespace {

// SplitMix64: tiny, and identical on every platform and standard library.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in [low, high].
  int64_t Between(int64_t low, int64_t high) {
    return low + static_cast<int64_t>(Next() % static_cast<uint64_t>(high - low + 1));
  }
  bool Percent(int percent) { return Between(1, 100) <= percent; }
  template <typename T, size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<size_t>(Between(0, static_cast<int64_t>(N) - 1))];
  }

 private:
  uint64_t state_;
};

struct Bank {
  const char* abi;
  const char* name;
  const char* bic;
};

struct Town {
  const char* name;
  const char* postcode;
  const char* province;
};

// Names are cp1252: "\xD2" is O with grave accent, "\xCC" I with grave.
constexpr std::array<const char*, 60> kSurnames = {
    "ROSSI",    "RUSSO",     "FERRARI",   "ESPOSITO", "BIANCHI",   "ROMANO",   "COLOMBO",  "RICCI",
    "MARINO",   "GRECO",     "BRUNO",     "GALLO",    "CONTI",     "DE LUCA",  "MANCINI",  "COSTA",
    "GIORDANO", "RIZZO",     "LOMBARDI",  "MORETTI",  "BARBIERI",  "FONTANA",  "SANTORO",  "MARIANI",
    "RINALDI",  "CARUSO",    "FERRARA",   "GALLI",    "MARTINI",   "LEONE",    "LONGO",    "GENTILE",
    "MARTINELLI", "VITALE",  "SERRA",     "COPPOLA",  "DE SANTIS", "D'ANGELO", "MARCHETTI", "PARISI",
    "VILLA",    "CONTE",     "FABBRI",    "BIANCO",   "MARINI",    "GRASSO",   "VALENTINI", "MESSINA",
    "SALA",     "DE ANGELIS", "GATTI",    "PELLEGRINI", "PALUMBO", "SANNA",    "FARINA",   "D'AMICO",
    "MONTI",    "CATTANEO",  "MORELLI",   "AMATO"};
constexpr std::array<const char*, 48> kFirstNames = {
    "MARCO",    "GIUSEPPE", "ANDREA",   "LUCA",      "FRANCESCO", "ALESSANDRO", "MATTEO",  "LORENZO",
    "DAVIDE",   "SIMONE",   "RICCARDO", "STEFANO",   "ROBERTO",   "PAOLO",      "GIOVANNI", "ANTONIO",
    "NICOL\xD2", "FEDERICO", "MASSIMO", "SALVATORE", "GIORGIO",   "EMANUELE",   "DANIELE", "PIETRO",
    "MARIA",    "ANNA",     "GIULIA",   "FRANCESCA", "SARA",      "LAURA",      "CHIARA",  "VALENTINA",
    "ELENA",    "ALESSIA",  "SILVIA",   "ELISA",     "MARTINA",   "FEDERICA",   "PAOLA",   "ROBERTA",
    "CRISTINA", "MONICA",   "BARBARA",  "ILARIA",    "SERENA",    "ROSSELLA",   "GIADA",   "BEATRICE"};
constexpr std::array<Town, 16> kTowns = {{{"MILANO", "20121", "MI"},   {"TORINO", "10121", "TO"},
                                          {"BOLOGNA", "40121", "BO"},  {"FIRENZE", "50122", "FI"},
                                          {"ROMA", "00184", "RM"},     {"NAPOLI", "80133", "NA"},
                                          {"BARI", "70121", "BA"},     {"VERONA", "37121", "VR"},
                                          {"PADOVA", "35121", "PD"},   {"BRESCIA", "25121", "BS"},
                                          {"ANCONA", "60121", "AN"},   {"PERUGIA", "06121", "PG"},
                                          {"PESCARA", "65121", "PE"},  {"FORL\xCC", "47121", "FC"},
                                          {"BERGAMO", "24121", "BG"},  {"PARMA", "43121", "PR"}}};
constexpr std::array<const char*, 16> kStreets = {
    "VIA ROMA",           "VIA GARIBALDI",     "CORSO ITALIA",     "VIA MAZZINI",
    "VIA CAVOUR",         "VIALE DELLA REPUBBLICA", "VIA DANTE ALIGHIERI", "PIAZZA DELLA LIBERT\xC0",
    "VIA VERDI",          "VIA MARCONI",       "VIA DEL LAVORO",   "VIA DELL'INDUSTRIA",
    "VIA XX SETTEMBRE",   "CORSO VITTORIO EMANUELE", "VIA MATTEOTTI", "VIA GRAMSCI"};
constexpr std::array<const char*, 24> kTrades = {
    "EDILIZIA",      "TRASPORTI",   "METALMECCANICA", "ALIMENTARI",   "TESSILE",     "AUTORICAMBI",
    "COSTRUZIONI",   "IMPIANTI",    "LOGISTICA",      "SERRAMENTI",   "CERAMICHE",   "INFORMATICA",
    "PULIZIE",       "RISTORAZIONE", "ARREDAMENTI",   "CALZATURIFICIO", "TIPOGRAFIA", "MARMI",
    "ELETTROFORNITURE", "PANIFICIO", "CARPENTERIA",   "VERNICIATURA", "AGRICOLA",    "OTTICA"};
constexpr std::array<const char*, 6> kLegalForms = {"S.R.L.", "S.P.A.", "S.N.C.", "S.A.S.", "S.R.L.S.", "SOC. COOP."};
constexpr std::array<Bank, 12> kBanks = {{{"03069", "INTESA SANPAOLO", "BCITITMM"},
                                          {"02008", "UNICREDIT", "UNCRITMM"},
                                          {"05034", "BANCO BPM", "BAPPIT21"},
                                          {"01030", "MONTE DEI PASCHI DI SIENA", "PASCITMM"},
                                          {"05387", "BPER BANCA", "BPMOIT22"},
                                          {"06230", "CREDIT AGRICOLE ITALIA", "CRPPIT2P"},
                                          {"01005", "BANCA NAZIONALE DEL LAVORO", "BNLIITRR"},
                                          {"05696", "BANCA POPOLARE DI SONDRIO", "POSOIT22"},
                                          {"03104", "DEUTSCHE BANK", "DEUTITMM"},
                                          {"03015", "FINECOBANK", "FEBIITM1XXX"},
                                          {"08327", "BCC DI ROMA", "ROMAITRRXXX"},
                                          {"03062", "BANCA MEDIOLANUM", "MEDBITMM"}}};

std::string Digits(Random& random, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += static_cast<char>('0' + random.Between(0, 9));
  return out;
}

std::string ThreeDigits(int value) {
  std::string out = std::to_string(value);
  return std::string(3 - out.size(), '0') + out;
}

// The check digit of an Italian VAT number's ten digits.
char VatCheckDigit(const std::string& digits) {
  int sum = 0;
  for (size_t i = 0; i < 10; ++i) {
    int d = digits[i] - '0';
    if (i % 2 == 1) {
      d *= 2;
      if (d > 9) d -= 9;
    }
    sum += d;
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// Italian VAT number: ten digits and a check digit.
std::string VatNumber(Random& random) {
  std::string digits = Digits(random, 7) + ThreeDigits(static_cast<int>(random.Between(1, 100)));
  return digits + VatCheckDigit(digits);
}

// The section of the debtor settings for a company's account on a slot,
// with coordinates made from the company code and the bank (the random
// draws of the demo stay as they were).
std::string DebtorSection(int code, int slot, const Bank& bank) {
  const std::string abi = bank.abi, cab = "01" + ThreeDigits(code);
  const std::string account = "00000" + ThreeDigits(code) + "000" + std::to_string(slot);
  const std::string bban = std::string(1, *vx::bank::ItalianCin(abi, cab, account)) + abi + cab + account;
  // Digits 8 to 10 name a VAT office, 001 to 100 for the provinces.
  const std::string vat = "0123456" + ThreeDigits((code - 1) % 100 + 1);
  return "[DITTA " + ThreeDigits(code) + " CONTO " + std::to_string(slot) + "]\r\n" +
         "IBAN = IT" + vx::bank::IbanCheckDigits("IT", bban) + bban + "\r\n" + "BIC = " + std::string(bank.bic) + "\r\n" +
         "CUC = 1" + ThreeDigits(code) + "001A\r\n" + "CODICEFISCALE = " + vat + VatCheckDigit(vat) + "\r\n\r\n";
}

constexpr const char* kDebtorSettingsHeader =
    "; Conti di addebito dei bonifici degli stipendi (vxorel --transfer cbi|sepa).\r\n"
    "; Una sezione per ditta e conto di pagamento (0, 1 o 2, come nella stampa):\r\n"
    ";   IBAN           conto della ditta da addebitare (obbligatorio)\r\n"
    ";   BIC            banca della ditta (facoltativo)\r\n"
    ";   CUC            codice CBI della ditta (obbligatorio per i file CBI)\r\n"
    ";   CODICEFISCALE  codice fiscale o partita IVA della ditta (obbligatorio per i file CBI)\r\n"
    "; Le righe che iniziano con ';' sono commenti.\r\n\r\n";

struct DemoCompany {
  int code;
  std::vector<std::string> sub_companies;
};

// Adds the company; returns its sections of the debtor settings.
std::string AddCompany(InstallationBuilder& builder, Random& random, int code) {
  const Town& town = random.Pick(kTowns);
  // Names are drawn again until they fit the 30-character field whole.
  std::string name;
  do {
    name = std::string(random.Pick(kSurnames)) + " " + random.Pick(kTrades) + " " + random.Pick(kLegalForms);
  } while (name.size() > 30);
  RecordText& record = builder.AddCompany(code, name);
  const Bank& bank1 = random.Pick(kBanks);
  record.SetText(vx::archive::fields::kCompanyTenCharCode, Digits(random, 10))
      .SetText(vx::archive::fields::kCompanyAddress,
               std::string(random.Pick(kStreets)) + ", " + std::to_string(random.Between(1, 180)))
      .SetText(vx::archive::fields::kCompanyPostalCode, town.postcode)
      .SetText(vx::archive::fields::kCompanyTown, town.name)
      .SetText(vx::archive::fields::kCompanyProvince, town.province)
      .SetText(vx::archive::fields::kCompanyAccount1, Digits(random, 12))
      .SetText(vx::archive::fields::kCompanyBank1, bank1.name);
  std::string sections = DebtorSection(code, 0, bank1);
  if (random.Percent(50)) {
    const Bank& bank2 = random.Pick(kBanks);
    record.SetText(vx::archive::fields::kCompanyAccount2, Digits(random, 12)).SetText(vx::archive::fields::kCompanyBank2, bank2.name);
    sections += DebtorSection(code, 1, bank2);
  }
  if (random.Percent(20)) {
    const Bank& bank3 = random.Pick(kBanks);
    record.SetText(vx::archive::fields::kCompanyAccount3, Digits(random, 12)).SetText(vx::archive::fields::kCompanyBank3, bank3.name);
    sections += DebtorSection(code, 2, bank3);
  }
  return sections;
}

// A branch several employees bank at: one CIN, ABI and CAB for all of them.
struct SharedBranch {
  const Bank* bank;
  const Town* town;
  std::string cab;
  char cin;
};

void AddEmployee(InstallationBuilder& builder, Random& random, const std::string& code, const std::string& month,
                 const std::string& year, const SharedBranch* shared = nullptr) {
  RecordText& record = builder.AddEmployee(code);
  const Bank& bank = shared ? *shared->bank : random.Pick(kBanks);
  const Town& branch = shared ? *shared->town : random.Pick(kTowns);
  // Most accounts are stored as 12 characters; some banks give shorter
  // numbers, which the IBAN pads with zeros.
  std::string account = random.Percent(80) ? Digits(random, 12)
                                           : std::to_string(random.Between(1000000, 99999999));
  const std::string cab = shared ? shared->cab : Digits(random, 5);
  // At a shared branch the CIN is the branch's: accounts are drawn until
  // theirs is that one, as real account numbers of one branch would be.
  while (shared && vx::bank::ItalianCin(bank.abi, cab, ZeroPadRight(account, 12)) != shared->cin) {
    account = Digits(random, 12);
  }
  const BankAccount coordinates{bank.abi, cab, account, 0};

  // Payment method 2 is bank transfer; bank slot 0 is the company's main bank.
  const int method = random.Percent(82) ? 2 : (random.Percent(70) ? 1 : 3);
  const int slot = random.Percent(80) ? 0 : (random.Percent(70) ? 1 : 2);
  std::string pay_month = month;
  if (random.Percent(8)) {  // paid with the previous month's payroll
    const int m = std::stoi(month) == 1 ? 12 : std::stoi(month) - 1;
    pay_month = (m < 10 ? "0" : "") + std::to_string(m);
  }
  const int64_t net_cents = random.Percent(12) ? random.Between(35000, 95000) : random.Between(110000, 385000);
  std::string bic = bank.bic;
  if (random.Percent(10)) bic = random.Percent(50) ? "" : "00000000000";

  record.SetText(vx::archive::fields::kEmployeeSurname, random.Pick(kSurnames))
      .SetText(vx::archive::fields::kEmployeeFirstName, random.Pick(kFirstNames))
      .SetNumber(vx::archive::fields::kEmployeeCodeP054, random.Percent(4) ? 2 : random.Between(0, 1))
      .SetNumber(vx::archive::fields::kEmployeePaymentMethod, method)
      .SetNumber(vx::archive::fields::kEmployeeBankSlot, slot)
      .SetText(vx::archive::fields::kEmployeePaymentDate, "27" + pay_month + year)
      .SetNumber(vx::archive::fields::kEmployeeNetPay, net_cents)
      .SetText(vx::archive::fields::kEmployeeBic, bic)
      .SetText(vx::archive::fields::kEmployeeBankName, std::string(bank.name) + " - FIL. " + branch.name);
  SetBankAccount(record, coordinates);
}

}  // namespace

std::vector<std::string> PopulateDemo(InstallationBuilder& builder, const DemoOptions& options) {
  if (options.companies < 1 || options.companies > 999) {
    throw std::invalid_argument("the number of companies must be 1..999");
  }
  if (options.employees < 0 || options.employees > 9999) {
    throw std::invalid_argument("the number of employees must be 0..9999");
  }
  Random random(options.seed);
  const std::string day_month_year = "27112025";
  const std::string month = day_month_year.substr(2, 2);
  const std::string year = day_month_year.substr(4, 4);
  builder.SetPayrollDate(day_month_year);
  builder.SetFiscalOwnerPassword("AMMINPAGHE");
  builder.SetInstallationHolder("STUDIO PAGHE BERTOLINI S.A.S.", VatNumber(random));

  // Company codes climb with small gaps, as companies come and go.
  std::vector<DemoCompany> companies;
  int slack = 999 - options.companies;
  int code = 0;
  std::string debtors = kDebtorSettingsHeader;
  for (int i = 0; i < options.companies; ++i) {
    const int gap = slack > 0 ? static_cast<int>(random.Between(0, std::min(2, slack))) : 0;
    slack -= gap;
    code += 1 + gap;
    debtors += AddCompany(builder, random, code);
    DemoCompany company{code, {"001"}};
    if (random.Percent(25)) company.sub_companies.push_back("002");
    companies.push_back(company);
  }
  builder.SetDebtorSettings(debtors);
  if (options.companies >= 3) {
    builder.Company(companies[1].code).SetAt(1, "99");
    builder.Company(companies[2].code).SetText(vx::archive::fields::kCompanyPdfPassword, "PAGHE" + ThreeDigits(companies[2].code));
  }

  // Employee numbers are record numbers shared by all companies: hires of
  // different companies interleave, and a few numbers are left unused.
  const int space = std::min(9999, options.employees + options.employees / 10);
  std::vector<int> numbers(static_cast<size_t>(space));
  for (int i = 0; i < space; ++i) numbers[static_cast<size_t>(i)] = i + 1;
  for (size_t i = numbers.size(); i > 1; --i) {
    std::swap(numbers[i - 1], numbers[static_cast<size_t>(random.Between(0, static_cast<int64_t>(i) - 1))]);
  }
  numbers.resize(static_cast<size_t>(options.employees));
  std::sort(numbers.begin(), numbers.end());

  std::vector<SharedBranch> shared;
  for (int i = 0; i < options.branches; ++i) {
    const Bank& bank = random.Pick(kBanks);
    const Town& town = random.Pick(kTowns);
    // Distinct CABs make distinct branches.
    std::string cab = std::to_string(10000 + i * 7 + random.Between(0, 6));
    shared.push_back({&bank, &town, cab, static_cast<char>('A' + random.Between(0, 25))});
  }

  std::vector<std::string> codes;
  for (int number : numbers) {
    const DemoCompany& company = companies[static_cast<size_t>(random.Between(0, options.companies - 1))];
    const std::string& sub = company.sub_companies[static_cast<size_t>(
        random.Between(0, static_cast<int64_t>(company.sub_companies.size()) - 1))];
    std::string n = std::to_string(number);
    const std::string code10 = ThreeDigits(company.code) + sub + std::string(4 - n.size(), '0') + n;
    AddEmployee(builder, random, code10, month, year,
                shared.empty() ? nullptr : &shared[static_cast<size_t>(random.Between(0, options.branches - 1))]);
    // A few employees left last year and are not in this year's extraction.
    if (!random.Percent(4)) codes.push_back(code10);
  }
  // The payroll extracts company by company, each in code order.
  std::sort(codes.begin(), codes.end());
  builder.SetExtraction(codes);
  if (options.faulty == 0) return {};

  // The employees the default run lists: extracted, of a company not
  // deleted, paid by transfer on the main bank this month.
  namespace f = vx::archive::fields;
  std::vector<std::string> listed;
  for (const std::string& code : codes) {
    const std::string& record = builder.Employee(code).Bytes();
    auto field = [&](std::string_view descriptor) {
      const FieldPlace place = ParseDescriptor(descriptor);
      return record.substr(static_cast<size_t>(place.offset - 1), static_cast<size_t>(place.length));
    };
    const bool deleted = options.companies >= 3 && std::stoi(code.substr(0, 3)) == companies[1].code;
    if (!deleted && field(f::kEmployeePaymentMethod) == "2" && field(f::kEmployeeBankSlot) == "0" &&
        field(f::kEmployeeCodeP054) != "2" && field(f::kEmployeePaymentDate).substr(2, 2) == month) {
      listed.push_back(code);
    }
  }
  return SpoilCoordinates(builder, listed, options.faulty, options.seed);
}

}  // namespace vx::demo
