#include "app/boni.h"

#include <filesystem>

#include "app/boni_row.h"
#include "archive/descriptors.h"
#include "archive/number_value.h"
#include "archive/payroll_archives.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/finished_file.h"

namespace vx::app {

namespace f = vx::archive::fields;

namespace {

// "BONI" + company code + "B" + slot + ".TXT", as this program names them.
bool IsBoniFileName(std::string_view name) {
  auto digit = [&](std::size_t at) { return name[at] >= '0' && name[at] <= '9'; };
  return name.size() == 13 && name.substr(0, 4) == "BONI" && digit(4) && digit(5) && digit(6) && name[7] == 'B' &&
         digit(8) && name.substr(9) == ".TXT";
}

}  // namespace

BoniFile::BoniFile(vx::archive::PayrollArchives& archive, vx::platform::Files& files, char decimal_separator)
    : archive_(archive), files_(files), decimal_separator_(decimal_separator) {}

BoniFile::~BoniFile() {
  // A file still open here belongs to a listing that never finished.
  try {
    if (Aperto()) Scarta();
  } catch (...) {
  }
}

void BoniFile::Apri(const std::string& company_code, int slot) {
  if (Aperto()) Chiudi();
  NomeFileBoni = BoniFileName(company_code, slot);
  percorso_ = archive_.state.PERCORSOARCHIVI + "\\" + NomeFileBoni;
  righe_ = 0;
  try {
    // The temporary name ends in ".tmp" after a random part: no file of
    // the payroll product is named like that.
    const std::filesystem::path own = files_.Prefix().MapOwnName(percorso_);
    // What a run killed while writing left in the archives folder goes
    // before this run adds its own.
    if (!avanzi_rimossi_) {
      avanzi_rimossi_ = true;
      vx::platform::RemoveLeftovers(own.parent_path(), IsBoniFileName);
    }
    vx::platform::CheckReplaceable(files_.Prefix().Map(percorso_));
    const std::string temporary = vx::platform::TemporaryBeside(own).filename().string();
    temporaneo_ = percorso_ + temporary.substr(own.filename().string().size());
    const int channel = files_.FreeFile();
    files_.OpenOutput(channel, temporaneo_, true);
    CanaleBoni = channel;
    files_.PrintLine(CanaleBoni, kBoniHeader);
  } catch (const vx::platform::RuntimeError& e) {
    if (CanaleBoni != 0) Scarta();
    throw BoniFileError{percorso_, "Errore " + std::to_string(e.number) + " - " + e.description};
  }
}

BoniFields EmployeeFields(vx::archive::PayrollArchives& archive) {
  BoniFields r;
  auto text = [&](std::string_view d) { return archive.RepoR(d, 0); };
  r.code = text(f::kEmployeeCode);
  r.surname = text(f::kEmployeeSurname);
  r.name = text(f::kEmployeeFirstName);
  r.cin = text(f::kEmployeeCin);
  r.abi = text(f::kEmployeeAbi);
  r.cab = text(f::kEmployeeCab);
  r.account = text(f::kEmployeeAccount);
  r.iban_country = text(f::kEmployeeIbanCountry);
  r.iban_check = text(f::kEmployeeIbanCheckDigits);
  r.iban_layout = archive.RepoN(f::kEmployeeIbanLayout, 0);
  r.bic = text(f::kEmployeeBic);
  r.bank_name = text(f::kEmployeeBankName);
  return r;
}

void BoniFile::SCRIVIFILETESTO(double NettoDipendente) { Scrivi(EmployeeFields(archive_), NettoDipendente); }

void BoniFile::Scrivi(const BoniFields& employee, double NettoDipendente) {
  try {
    files_.PrintLine(CanaleBoni, BoniRow(employee, NettoDipendente, decimal_separator_));
  } catch (vx::platform::RuntimeError& e) {
    throw Named(e);
  }
  ++righe_;
}

vx::platform::RuntimeError& BoniFile::Named(vx::platform::RuntimeError& error) const {
  // The operator knows the file by its own name, not by the one it is
  // written under.
  error.path = percorso_;
  if (error.action.empty()) error.action = "scrittura del file " + NomeFileBoni;
  return error;
}

void BoniFile::Chiudi() {
  if (!Aperto()) return;
  const int channel = CanaleBoni;
  CanaleBoni = 0;
  try {
    files_.Close(channel);
    vx::platform::PutInPlace(files_.Prefix().Map(temporaneo_), files_.Prefix().MapOwnName(percorso_));
    temporaneo_.clear();
  } catch (vx::platform::RuntimeError& e) {
    // The rows still buffered did not reach the disk (a full disk, most
    // often): the file would look complete with payments missing.
    try {
      Scarta();
    } catch (const vx::platform::RuntimeError&) {
    }
    throw Named(e);
  }
}

void BoniFile::Scarta() {
  if (Aperto()) {
    const int channel = CanaleBoni;
    CanaleBoni = 0;
    try {
      files_.Close(channel);
    } catch (const vx::platform::RuntimeError&) {
      // The file goes anyway.
    }
  }
  if (!temporaneo_.empty() && vx::platform::FileExists(files_.Prefix(), temporaneo_))
    vx::platform::Kill(files_.Prefix(), temporaneo_);
  temporaneo_.clear();
}

}  // namespace vx::app
