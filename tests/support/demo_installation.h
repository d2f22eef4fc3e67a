#pragma once
// Small installations for tests, written with the demo builder into a
// temporary Wine prefix: a test states the companies, employees and
// extraction it needs, then writes them.

#include <filesystem>
#include <string>
#include <string_view>

#include "archive/descriptors.h"
#include "demo/installation_builder.h"
#include "demo/installation_layout.h"
#include "support/temp_folder.h"

namespace vx::testing {

// A company with the fields the company list shows.
inline demo::RecordText& AddListedCompany(demo::InstallationBuilder& builder, int code, std::string_view name,
                                          std::string_view ten_char_code) {
  return builder.AddCompany(code, name).SetText(archive::fields::kCompanyTenCharCode, ten_char_code);
}

// An employee paid by bank transfer on the main bank slot.
inline demo::RecordText& AddPaidEmployee(demo::InstallationBuilder& builder, std::string_view code,
                                         std::string_view surname, std::string_view first_name) {
  return builder.AddEmployee(code)
      .SetText(archive::fields::kEmployeeSurname, surname)
      .SetText(archive::fields::kEmployeeFirstName, first_name)
      .SetNumber(archive::fields::kEmployeePaymentMethod, 2)
      .SetNumber(archive::fields::kEmployeeBankSlot, 0);
}

inline std::filesystem::path ArchivesOf(const std::filesystem::path& prefix) {
  return demo::ArchivesDirectory(prefix);
}

}  // namespace vx::testing
