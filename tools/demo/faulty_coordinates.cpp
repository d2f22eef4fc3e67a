#include "faulty_coordinates.h"

#include <algorithm>
#include <random>
#include <stdexcept>

#include "archive/descriptors.h"
#include "bank/iban.h"
#include "descriptor_field.h"

namespace vx::demo {

namespace {

namespace f = vx::archive::fields;

std::string Get(const RecordText& record, std::string_view descriptor) {
  const FieldPlace place = ParseDescriptor(descriptor);
  return record.Bytes().substr(static_cast<size_t>(place.offset - 1), static_cast<size_t>(place.length));
}

// The demo's IBANs: country, check digits, CIN, 5-digit ABI and CAB, and
// the account padded to 12.
std::string IbanOf(const RecordText& e) {
  std::string account = Get(e, f::kEmployeeAccount);
  account = account.substr(0, account.find_last_not_of(' ') + 1);
  const std::string cab = Get(e, f::kEmployeeCab);
  return Get(e, f::kEmployeeIbanCountry) + Get(e, f::kEmployeeIbanCheckDigits) + Get(e, f::kEmployeeCin) +
         Get(e, f::kEmployeeAbi) + cab.substr(cab.size() - 5) + std::string(12 - account.size(), '0') + account;
}

std::string TwoDigits(int n) { return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)}; }

void Spoil(RecordText& e, int kind) {
  switch (kind) {
    case 0: {  // one check digit changed
      const int check = std::stoi(Get(e, f::kEmployeeIbanCheckDigits));
      for (int step = 1; vx::bank::ValidateIban(IbanOf(e)).Valid(); ++step) {
        e.SetText(f::kEmployeeIbanCheckDigits, TwoDigits((check + step) % 100));
      }
      break;
    }
    case 1: {  // the CIN of another account; the IBAN's mod 97 still passes
      const char cin = static_cast<char>('A' + (Get(e, f::kEmployeeCin)[0] - 'A' + 1) % 26);
      e.SetText(f::kEmployeeCin, std::string(1, cin));
      const std::string iban = IbanOf(e);
      e.SetText(f::kEmployeeIbanCheckDigits, vx::bank::IbanCheckDigits("IT", iban.substr(4)));
      break;
    }
    case 2:  // a BIC with a digit where its country goes
      e.SetText(f::kEmployeeBic, "BCIT1TMM");
      break;
    case 3:
      e.SetText(f::kEmployeeAccount, "");
      break;
    default: {  // the account's last digit mistyped
      std::string account = Get(e, f::kEmployeeAccount);
      const size_t last = account.find_last_not_of(' ');
      account[last] = account[last] == '9' ? '0' : static_cast<char>(account[last] + 1);
      e.SetText(f::kEmployeeAccount, account);
      break;
    }
  }
}

}  // namespace

std::vector<std::string> SpoilCoordinates(InstallationBuilder& builder, std::vector<std::string> candidates,
                                          int count, uint64_t seed) {
  if (count < 0 || static_cast<size_t>(count) > candidates.size()) {
    throw std::invalid_argument("only " + std::to_string(candidates.size()) +
                                " employees are listed by the default run; fewer can be made faulty");
  }
  // Its own generator, so that the rest of the installation stays the same.
  std::mt19937_64 random(seed ^ 0x5EEDFA17ULL);
  for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
    std::swap(candidates[i], candidates[i + random() % (candidates.size() - i)]);
  }
  candidates.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) Spoil(builder.Employee(candidates[static_cast<size_t>(i)]), i % 5);
  std::sort(candidates.begin(), candidates.end());
  return candidates;
}

}  // namespace vx::demo
