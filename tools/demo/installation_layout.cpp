#include "installation_layout.h"

#include <stdexcept>

namespace vx::demo {

const std::vector<ArchiveFile>& DemoArchives() {
  // The employee record ends with its highest field (the IBAN layout flag at
  // 15791); an index block holds 128 entries of key + 7 characters.
  static const std::vector<ArchiveFile> archives = {
      {kCompaniesBase, "SLDITTE.DAT", 5000, "ANAGRAFICA DITTE"},
      {kEmployeesBase, "SLDIPEN.DAT", 15792, "ANAGRAFICA DIPENDENTI"},
      {kExtractionBase, "SLESTRAZ.DAT", 200, "ESTRAZIONE ANNO CORRENTE"},
      {kPayrollDateBase, "SLDATAPA.DAT", 128, "DATA PAGHE"},
      {kEmployeeIndexBase, "SLDIPEN.IDX", (kEmployeeKeyLength + 7) * 128, "INDICE DIPENDENTI"},
      {kFiscalBase, "SLFISCAL.DAT", 1024, "DATI FISCALI"},
      {29, "SLCONTRA.DAT", 2048, "CONTRATTI"},
      {30, "SLQUALIF.DAT", 512, "QUALIFICHE"},
      {37, "SLCAUSAL.DAT", 256, "CAUSALI"},
      {97, "SLPARAM.DAT", 1024, "PARAMETRI"},
      {98, "SLTABELL.DAT", 1024, "TABELLE"},
      {kPrinterSettingsBase, "SLSTAMPA.TXT", 80, "IMPOSTAZIONI STAMPANTI"},
      {kInstallationHolderBase, "SLINSTAL.DAT", 256, "INTESTATARIO INSTALLAZIONE"},
      {401, "SLBANCHE.DAT", 512, "BANCHE"},
      {403, "SLSPORTE.DAT", 512, "SPORTELLI BANCARI"},
  };
  return archives;
}

const ArchiveFile& DemoArchive(int number_base) {
  for (const ArchiveFile& a : DemoArchives()) {
    if (a.number_base == number_base) return a;
  }
  throw std::out_of_range("no archive with number base " + std::to_string(number_base));
}

std::filesystem::path DriveC(const std::filesystem::path& prefix) { return prefix / "drive_c"; }

std::filesystem::path ArchivesDirectory(const std::filesystem::path& prefix) {
  return DriveC(prefix) / "PVXPAGHE" / "ARCHIVI";
}

}  // namespace vx::demo
