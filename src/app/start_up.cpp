#include "app/start_up.h"

namespace vx::app {

void LeggiInstallazione(archive::PayrollArchives& archives) {
  archive::ArchiveState& s = archives.state;
  s.NomeProgramma = kNomeProgramma;
  s.NomeProgetto = kNomeProgramma;
  s.PERCORSOPROGRAMMI = archives.LEGGIREGISTRO("SOFTWARE\\TARVENIC\\VELMORA", "PERCORSOPROGRAMMI");
  archives.bControlloInstallazione_REGISTRO();
  if (s.PERCORSOARCHIVI.empty()) archives.CARICAINST();
}

bool CaricaFinestra(archive::PayrollArchives& archives, CompanyList& list, FormState& form) {
  LeggiInstallazione(archives);
  form.EstrazioneMancante = 0;
  list.APRIARCHIVI();
  form.EstrazioneMancante = 0;
  list.VERIFICAESTRAZIONE();
  return form.EstrazioneMancante != 1;
}

void ImpostazioniIniziali(CompanyList& list, const std::function<void()>& leggi_stampante_std) {
  if (leggi_stampante_std) leggi_stampante_std();
  list.LISTA_AZIENDE();
  list.CARICAESTRAZIONE();
}

}  // namespace vx::app
