#include "app/paid_month.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace vx::app {

namespace {

using Key = std::tuple<std::string, std::string, int64_t>;  // employee, IBAN, cents

std::vector<Key> Keys(const std::vector<vx::reg::NewTransaction>& salaries) {
  std::vector<Key> keys;
  for (const auto& s : salaries) keys.emplace_back(s.employee, s.iban, s.cents);
  std::sort(keys.begin(), keys.end());
  return keys;
}

std::vector<Key> Keys(const std::vector<vx::reg::RegisteredTransaction>& registered) {
  return Keys(std::vector<vx::reg::NewTransaction>(registered.begin(), registered.end()));
}

}  // namespace

RepeatVerdict CompareWithMonth(const std::vector<vx::reg::RegisteredFile>& month, vx::transfer::TransferKind kind,
                               const std::string& execution_date,
                               const std::vector<vx::reg::NewTransaction>& salaries) {
  if (month.empty()) return {};
  const std::vector<Key> wanted = Keys(salaries);
  // The latest identical one, should a month have been written twice.
  for (auto it = month.rbegin(); it != month.rend(); ++it) {
    if (it->kind == kind && it->execution_date == execution_date && Keys(it->transactions) == wanted)
      return {Repeat::Identical, &*it};
  }
  return {Repeat::Paid, &month.back()};
}

std::vector<SalaryDifference> Differences(const vx::reg::RegisteredFile& file,
                                          const std::vector<vx::reg::NewTransaction>& salaries) {
  std::map<std::string, SalaryDifference> by_employee;
  for (const auto& t : file.transactions) {
    auto& d = by_employee[t.employee];
    d.employee = t.employee;
    d.name = t.name;
    d.paid = t;
  }
  for (const auto& s : salaries) {
    auto& d = by_employee[s.employee];
    d.employee = s.employee;
    d.name = s.name;
    d.would_pay = s;
  }
  std::vector<SalaryDifference> differences;
  for (auto& [code, d] : by_employee) {
    if (d.paid && d.would_pay && d.paid->iban == d.would_pay->iban && d.paid->cents == d.would_pay->cents) continue;
    differences.push_back(std::move(d));
  }
  return differences;
}

std::string SalaryText(const vx::reg::NewTransaction& salary) {
  return vx::transfer::Amount(salary.cents) + " su " + salary.iban;
}

std::string FileAndDate(const vx::reg::RegisteredFile& file) {
  std::string when = file.written_at;
  std::replace(when.begin(), when.end(), 'T', ' ');
  return file.file_name + " del " + when;
}

bool RejectedForTheAccount(const std::vector<std::string>& reasons) {
  static constexpr const char* kAccount[] = {"AC01", "AC03", "AC04", "AC06", "AC07", "AGNT",
                                             "BE01", "CNOR", "MD07", "RC01", "RR03"};
  for (const auto& reason : reasons) {
    if (std::find(std::begin(kAccount), std::end(kAccount), reason) != std::end(kAccount)) return true;
  }
  return false;
}

std::string FurtherFileName(const std::string& main_name, const std::string& tag,
                            const std::vector<vx::reg::RegisteredFile>& month, int first) {
  const std::string stem = main_name.substr(0, main_name.rfind('.'));
  for (int n = first;; ++n) {
    const std::string name = stem + "_" + tag + std::to_string(n) + ".xml";
    if (std::none_of(month.begin(), month.end(), [&](const auto& f) {
          return f.file_name == name && f.state != vx::reg::FileState::NotWritten;
        }))
      return name;
  }
}

}  // namespace vx::app
