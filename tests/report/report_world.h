#pragma once
// One company and its employees, the listing state and the run's choices,
// and the report drawing them on a recording printer or into a PDF file.

#include <functional>
#include <memory>
#include <string>

#include "archive/descriptors.h"
#include "output/listing_world.h"
#include "report/listing_state.h"
#include "report/report.h"

namespace vx::testing {

namespace fields = vx::archive::fields;

class ReportWorld : public ListingWorld {
 public:
  ReportWorld() {
    builder.AddCompany(1, "ALFA SRL                      ")
        .SetText(fields::kCompanyAddress, "VIA ROMA 1")
        .SetText(fields::kCompanyPostalCode, "20100")
        .SetText(fields::kCompanyTown, "MILANO")
        .SetText(fields::kCompanyProvince, "MI")
        .SetText(fields::kCompanyAccount1, "000012345678")
        .SetText(fields::kCompanyBank1, "BANCA DI PROVA")
        .SetText(fields::kCompanyAccount2, "CC2")
        .SetText(fields::kCompanyBank2, "SECONDA BANCA");
    builder.AddEmployee("0010000001")
        .SetText(fields::kEmployeeSurname, "ROSSI")
        .SetText(fields::kEmployeeFirstName, "MARIO")
        .SetText(fields::kEmployeeIbanCountry, "IT")
        .SetText(fields::kEmployeeIbanCheckDigits, "60")
        .SetText(fields::kEmployeeCin, "X")
        .SetNumber(fields::kEmployeeAbi, 3599)
        .SetNumber(fields::kEmployeeCab, 1600)
        .SetText(fields::kEmployeeAccount, "123")
        .SetText(fields::kEmployeeBankName, "BANCA POPOLARE DI PROVA")
        .SetText(fields::kEmployeeBic, "BPPIITRRXXX")
        .SetNumber(fields::kEmployeeIbanLayout, 1)
        .SetNumber(fields::kEmployeeNetPay, 123456);
    settings.PeriodoStampa = "NOVEMBRE 2023";
    settings.DescrizioneStampa = "STIPENDI";
  }

  // Opens the world with company 1 and employee 0010000001 loaded.
  void Open(bool pdf = false) {
    ListingWorld::Open();
    output().state.StampaPDF = pdf;
    LoadCompany(1);
    LoadEmployee("0010000001");
    report = std::make_unique<report::Report>(archives(), output(), listing, settings,
                                              [this] { ++rows_written; });
  }

  report::ListingState listing;
  report::ReportSettings settings;
  std::unique_ptr<report::Report> report;
  int rows_written = 0;
};

// Printer twips of a vertical and a horizontal position in cm.
inline double TwipsY(double y) { return static_cast<double>(static_cast<long>((y - 0.6) * 567)); }
inline double TwipsX(double x) { return static_cast<double>(static_cast<long>((x - 0.3) * 567)); }

}  // namespace vx::testing
