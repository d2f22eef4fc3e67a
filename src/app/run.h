#pragma once
// The run behind "Conferma": recomputes the run settings from the controls,
// announces the transfer files, runs the one pass the options choose and,
// for PDF, says where the files went.

#include <string>
#include <vector>

#include "app/boni_row.h"
#include "app/form_state.h"
#include "app/listed_employee.h"
#include "app/pass_state.h"
#include "app/passes.h"
#include "app/run_controls.h"
#include "app/run_report.h"
#include "app/run_settings.h"
#include "app/transfer_files.h"
#include "report/listing_state.h"

namespace vx::archive {
class PayrollArchives;
struct SemaphoreNotTaken;
}
namespace vx::output {
class Output;
}
namespace vx::platform {
class MessageBoxes;
}

namespace vx::app {

enum class RunOutcome {
  Completed,  // every company of the list was processed
  Stopped,    // the run stopped on a problem it reported, or the operator cancelled it
  Locked,     // the payroll archives stayed locked by another program longer than the run allows
};

// Said once when a search has waited a while for the semaphore another
// program holds (cp1252).
std::string ArchivesLockedText(const std::string& semaphore_path);
// The same for the register of transfer files another program is writing in.
std::string RegisterLockedText(const std::string& register_path);

class PaymentRun {
 public:
  // The company list, the sorted extraction (slot 0 unused, the first empty
  // slot ends it) and the payroll date record come from start-up.
  PaymentRun(vx::archive::PayrollArchives& archive, vx::output::Output& output,
             vx::platform::MessageBoxes& boxes, const std::vector<std::string>& List1,
             const std::vector<std::string>& ElencoEstrazione, const std::string& DataPaghe);

  // One press of "Conferma" with the controls as they stand.
  // The bank coordinates of every employee listed are checked at the end of
  // each company's listing, into run_report.
  RunOutcome CmdStampa_Click(const RunControls& controls, const PassHooks& hooks = {});

  // Checks the coordinates of the employees a run with these controls would
  // list, into run_report, and writes nothing at all.
  RunOutcome CheckCoordinates(const RunControls& controls, const PassHooks& hooks = {});

  // Kept between runs, as the window keeps them.
  RunSettings settings;
  PassState passes;
  vx::report::ListingState listing;
  vx::report::ReportSettings report_settings;
  // Whether a run checks the coordinates of the employees it lists.
  bool check_coordinates = true;
  // What the last run found that the operator must know; emptied when a run starts.
  RunReport run_report;
  // The employees listed for the company being listed, in listing order;
  // emptied when the next company starts.
  std::vector<ListedEmployee> listed;
  // The bank transfer files the run writes after each company, and the
  // clock that dates them and tells today's date.
  TransferChoice transfer;
  Clock clock = std::chrono::system_clock::now;
  // Whether the last run left a company without its transfer file because
  // its month was already paid with other salaries.
  bool transfer_refused = false;

 private:
  // Adds to the report the PDF files of earlier runs this run replaced.
  void ReportReplacedFiles();

  vx::archive::PayrollArchives& archive_;
  vx::output::Output& output_;
  vx::platform::MessageBoxes& boxes_;
  const std::vector<std::string>& List1_;
  const std::vector<std::string>& ElencoEstrazione_;
  const std::string& DataPaghe_;

  // Says that the archives stayed locked (or that the operator cancelled the
  // wait) and where the listing, or the check, stopped.
  RunOutcome ArchivesStayedLocked(const vx::archive::SemaphoreNotTaken& e, bool listing);
  // Says why the controls' period cannot be listed; false when it can.
  bool RefusePeriod(const RunControls& controls);
  // The hooks of a run: `listed` follows each company, whose coordinates are
  // checked when its listing ends.
  PassHooks CheckingHooks(const PassHooks& hooks);
};

}  // namespace vx::app
