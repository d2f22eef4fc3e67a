// The checks agree with python-stdnum, an implementation of their own, on
// every IBAN and BIC of a full-size demo installation and on corrupted copies,
// and on the rule each Italian tax code drawn at random breaks.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archive/descriptors.h"
#include "bank/bic.h"
#include "bank/iban.h"
#include "bank/sepa.h"
#include "bank/tax_code.h"
#include "demo/demo_population.h"
#include "demo/descriptor_field.h"
#include "report/layout_text.h"
#include "support/temp_folder.h"

namespace vx::bank {
namespace {

namespace f = vx::archive::fields;

std::string Field(const demo::RecordText& record, std::string_view descriptor) {
  const demo::FieldPlace place = demo::ParseDescriptor(descriptor);
  return record.Bytes().substr(static_cast<size_t>(place.offset - 1), static_cast<size_t>(place.length));
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// IBANs and BICs of the 9,999-employee installation the benchmark runs on.
void DemoCoordinates(std::vector<std::string>& ibans, std::vector<std::string>& bics) {
  demo::InstallationBuilder builder;
  demo::PopulateDemo(builder, {.companies = 50, .employees = 9999, .seed = 1, .branches = 500});
  for (const std::string& code : builder.EmployeeCodes()) {
    const demo::RecordText& e = builder.Employee(code);
    ibans.push_back(report::IbanText(std::stod(Field(e, f::kEmployeeIbanLayout)), Field(e, f::kEmployeeIbanCountry),
                                     Field(e, f::kEmployeeIbanCheckDigits), Field(e, f::kEmployeeCin),
                                     Field(e, f::kEmployeeAbi), Field(e, f::kEmployeeCab),
                                     Field(e, f::kEmployeeAccount)));
    const std::string bic = Trim(Field(e, f::kEmployeeBic));
    if (bic.find_first_not_of('0') != std::string::npos) bics.push_back(bic);
  }
}

// A valid IBAN of every SEPA country, its BBAN drawn to the country's layout.
std::vector<std::string> SepaIbans(std::mt19937& random) {
  std::vector<std::string> ibans;
  for (const SepaCountry& country : SepaCountries()) {
    std::string bban;
    size_t count = 0;
    for (const char k : country.bban_format) {
      if (k >= '0' && k <= '9') {
        count = count * 10 + static_cast<size_t>(k - '0');
        continue;
      }
      for (; count > 0; --count) {
        const bool letter = k == 'a' || (k == 'c' && random() % 3 == 0);
        bban += letter ? static_cast<char>('A' + random() % 26) : static_cast<char>('0' + random() % 10);
      }
    }
    ibans.push_back(std::string(country.code) + IbanCheckDigits(country.code, bban) + bban);
  }
  return ibans;
}

// Copies with one fault each: a changed digit, two neighbours swapped, a
// character more or less, lower case, a blank inside.
std::vector<std::string> Corrupted(const std::vector<std::string>& valid, std::mt19937& random, size_t each) {
  std::vector<std::string> out;
  for (size_t i = 0; i < each; ++i) {
    std::string s = valid[random() % valid.size()];
    const size_t at = 4 + random() % (s.size() - 5);
    std::string changed = s;
    changed[at] = changed[at] == '9' ? '0' : (changed[at] >= '0' && changed[at] < '9' ? changed[at] + 1 : 'A');
    out.push_back(changed);
    std::string swapped = s;
    std::swap(swapped[at], swapped[at + 1]);
    out.push_back(swapped);
    out.push_back(s + "0");
    out.push_back(s.substr(0, s.size() - 1));
    std::string lower = s;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    out.push_back(lower);
    out.push_back(s.substr(0, 4) + " " + s.substr(4));
  }
  return out;
}

// Runs a Python script (sys imported) over the lines, given as a file in
// sys.argv[1]; the lines it prints, without their ends.
std::vector<std::string> Python(const std::string& script, const std::vector<std::string>& lines) {
  testing::TempFolder folder;
  const auto input = folder.Path() / "codes.txt";
  std::ofstream(input) << [&] {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
  }();
  const std::string command = "/usr/bin/python3 -c \"import sys\n" + script + "\" " + input.string();
  FILE* pipe = popen(command.c_str(), "r");
  std::vector<std::string> out;
  char buffer[80];
  while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    out.emplace_back(buffer, std::strcspn(buffer, "\n"));
  }
  if (pipe != nullptr) pclose(pipe);
  return out;
}

// python-stdnum over the lines "I text" and "B text"; one line of two digits
// back for each: valid as given, valid once compacted. National check digits
// inside foreign BBANs (Belgium's, Spain's...) are not ours to check; Italy's
// CIN has its own known-answer tests.
std::vector<std::string> StdnumVerdicts(const std::vector<std::string>& lines) {
  return Python(
      "from stdnum import iban, bic\n"
      "for line in open(sys.argv[1]):\n"
      "    kind, text = line[0], line[2:-1]\n"
      "    m = iban if kind == 'I' else bic\n"
      "    ok = iban.is_valid(text, check_country=False) if kind == 'I' else bic.is_valid(text)\n"
      "    print(int(ok and m.compact(text) == text), int(ok), sep='')\n",
      lines);
}

TEST(Stdnum, AgreesOnEveryIbanAndBicOfAFullInstallationAndCorruptedCopies) {
  std::vector<std::string> ibans;
  std::vector<std::string> bics;
  DemoCoordinates(ibans, bics);
  ASSERT_EQ(ibans.size(), 9999u);
  std::mt19937 random(7);
  const std::vector<std::string> sepa = SepaIbans(random);
  for (const auto& bad : Corrupted(ibans, random, 60)) ibans.push_back(bad);
  for (const auto& bad : Corrupted(sepa, random, 40)) ibans.push_back(bad);
  ibans.insert(ibans.end(), sepa.begin(), sepa.end());
  const size_t demo_bics = bics.size();
  for (size_t i = 0; i < 50; ++i) {
    const std::string b = bics[i];
    bics.insert(bics.end(), {b + "X", b.substr(0, 7), b.substr(0, 4) + "1T" + b.substr(6), "bc" + b.substr(2),
                             b.substr(0, 4) + " " + b.substr(4)});
  }

  std::vector<std::string> lines;
  for (const auto& i : ibans) lines.push_back("I " + i);
  for (const auto& b : bics) lines.push_back("B " + b);
  const std::vector<std::string> verdicts = StdnumVerdicts(lines);
  ASSERT_EQ(verdicts.size(), lines.size()) << "python3-stdnum did not answer";

  size_t valid = 0;
  for (size_t i = 0; i < ibans.size(); ++i) {
    const std::string ours{IbanIsValid(ibans[i]) ? '1' : '0', IbanIsValid(CompactIban(ibans[i])) ? '1' : '0'};
    EXPECT_EQ(ours, verdicts[i]) << ibans[i];
    valid += ours[0] == '1';
    // The last ones, drawn from our own table of layouts, must be sound.
    if (i >= ibans.size() - sepa.size()) {
      EXPECT_EQ(verdicts[i], "11") << ibans[i];
    }
  }
  for (size_t i = 0; i < bics.size(); ++i) {
    const std::string ours{BicIsValid(bics[i]) ? '1' : '0', BicIsValid(CompactBic(bics[i])) ? '1' : '0'};
    EXPECT_EQ(ours, verdicts[ibans.size() + i]) << bics[i];
    if (i < demo_bics) {
      EXPECT_EQ(ours, "11") << bics[i];
    }
  }
  // Every demo IBAN is sound, and corruption did catch something.
  EXPECT_GE(valid, 9999u + sepa.size());
  EXPECT_LT(valid, ibans.size() - 500);
}

// Tax codes drawn at random, each body with every possible last character,
// so that the right one is among them whatever the body holds: personal codes
// with namesakes' letters, impossible days and now and then a letter or digit
// out of place, and partite IVA with offices that exist and some that do not.
std::vector<std::string> TaxCodes(std::mt19937& random) {
  auto pick = [&random](std::string_view from) { return from[random() % from.size()]; };
  const std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ", digits = "0123456789";
  auto digit = [&](int value) { return random() % 8 == 0 ? "LMNPQRSTUV"[value] : static_cast<char>('0' + value); };
  std::vector<std::string> codes;
  for (int i = 0; i < 300; ++i) {
    std::string body;
    for (int k = 0; k < 6; ++k) body += pick(letters);
    const int day = static_cast<int>(random() % 80);
    body += {digit(random() % 10), digit(random() % 10), random() % 5 == 0 ? pick(letters) : pick("ABCDEHLMPRST"),
             digit(day / 10),       digit(day % 10),       pick(random() % 10 == 0 ? digits : letters),
             digit(random() % 10), digit(random() % 10), digit(random() % 10)};
    for (const char last : letters) codes.push_back(body + last);
    codes.push_back(body);
  }
  for (int i = 0; i < 300; ++i) {
    std::string body;
    for (int k = 0; k < 7; ++k) body += i % 30 == 0 ? '0' : pick(digits);
    const int office = static_cast<int>(i % 3 == 0 ? random() % 1000 : 1 + random() % 100);
    body += std::to_string(1000 + office).substr(1);
    for (const char last : digits) codes.push_back(body + last);
    codes.push_back(body);
    codes.push_back(body.substr(0, 9) + pick(letters) + pick(digits));
  }
  return codes;
}

TEST(Stdnum, NamesTheSameBrokenRuleOfEveryItalianTaxCode) {
  std::mt19937 random(11);
  const std::vector<std::string> codes = TaxCodes(random);
  const std::vector<std::string> verdicts = Python(
      "from stdnum.it import iva, codicefiscale\n"
      "def verdict(module, code):\n"
      "    try:\n"
      "        return module.validate(code) and 'None'\n"
      "    except Exception as e:\n"
      "        return type(e).__name__\n"
      "for line in open(sys.argv[1]):\n"
      "    print(verdict(codicefiscale, line[:-1]), verdict(iva, line[:-1]))\n",
      codes);
  ASSERT_EQ(verdicts.size(), codes.size()) << "python3-stdnum did not answer";

  // The names of the failures, as python-stdnum names its exceptions.
  constexpr const char* kNames[] = {"None",          "Empty",            "InvalidCharacters", "InvalidLength",
                                    "InvalidFormat", "InvalidComponent", "InvalidChecksum"};
  auto name = [&kNames](const Verdict& v) { return std::string(kNames[static_cast<int>(v.failure)]); };
  size_t personal = 0, vat = 0;
  for (size_t i = 0; i < codes.size(); ++i) {
    const Verdict fiscal = ValidateCodiceFiscale(codes[i]);
    EXPECT_EQ(name(fiscal) + " " + name(ValidatePartitaIva(codes[i])), verdicts[i]) << codes[i];
    personal += fiscal.Valid() && codes[i].size() == 16;
    vat += fiscal.Valid() && codes[i].size() == 11;
  }
  // Most bodies have one right last character: the draw is not all faults.
  EXPECT_GT(personal, 100u);
  EXPECT_GT(vat, 100u);
}

}  // namespace
}  // namespace vx::bank
