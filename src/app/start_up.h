#pragma once
// The program's start-up, in the order the main window runs it before it is
// shown: installation paths, terminal and holder, the run's archives, the
// payroll date, the extraction check, then the company list.

#include <functional>

#include "app/company_list.h"
#include "app/form_state.h"
#include "archive/payroll_archives.h"

namespace vx::app {

inline constexpr const char* kNomeProgramma = "VXOREL";

// The installation's paths, terminal and holder, as the start-up reads them
// first: PERCORSOARCHIVI names the archives folder afterwards.
void LeggiInstallazione(archive::PayrollArchives& archives);

// Up to the extraction check. Returns false when there is no extraction
// (the message has been shown; the program must then end without a window).
bool CaricaFinestra(archive::PayrollArchives& archives, CompanyList& list, FormState& form);

// The rest of the start-up once the extraction exists: the standard printer
// (when a printer back end is given), then List1 from the extraction as it
// was loaded, then the extraction sorted for the runs.
void ImpostazioniIniziali(CompanyList& list, const std::function<void()>& leggi_stampante_std = {});

}  // namespace vx::app
