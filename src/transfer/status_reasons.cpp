#include "transfer/status_reasons.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vx::transfer {

namespace {

using Words = std::pair<std::string_view, std::string_view>;

// Sorted by code. Texts are cp1252.
constexpr std::array kReasons = {
    Words{"AC01", "numero di conto errato"},
    Words{"AC02", "conto di addebito non valido"},
    Words{"AC03", "conto del beneficiario non valido"},
    Words{"AC04", "conto chiuso"},
    Words{"AC05", "conto di addebito chiuso"},
    Words{"AC06", "conto bloccato"},
    Words{"AC07", "conto del beneficiario chiuso"},
    Words{"AC09", "divisa del conto non valida"},
    Words{"AC13", "tipo di conto di addebito non valido"},
    Words{"AG01", "operazione non consentita su questo conto"},
    Words{"AG02", "codice dell'operazione non valido"},
    Words{"AG03", "operazione non prevista dalla banca"},
    Words{"AGNT", "banca del beneficiario errata"},
    Words{"AM01", "importo zero"},
    Words{"AM02", "importo non consentito"},
    Words{"AM03", "divisa non consentita"},
    Words{"AM04", "fondi insufficienti"},
    Words{"AM05", "operazione duplicata"},
    Words{"AM06", "importo troppo basso"},
    Words{"AM07", "importo bloccato"},
    Words{"AM09", "importo errato"},
    Words{"AM10", "totale di controllo errato"},
    Words{"AM21", "limite di importo superato"},
    Words{"AM23", "importo oltre il limite di regolamento"},
    Words{"BE01", "beneficiario diverso dal titolare del conto"},
    Words{"BE04", "indirizzo del beneficiario mancante"},
    Words{"BE05", "ordinante non riconosciuto"},
    Words{"BE06", "cliente sconosciuto alla banca"},
    Words{"BE07", "indirizzo dell'ordinante mancante"},
    Words{"CH03", "data di esecuzione troppo lontana"},
    Words{"CH04", "data di esecuzione gi\xE0 passata"},
    Words{"CNOR", "banca del beneficiario non raggiungibile"},
    Words{"CURR", "divisa errata"},
    Words{"CUST", "annullato su richiesta del cliente"},
    Words{"DNOR", "banca dell'ordinante non raggiungibile"},
    Words{"DS02", "ordine annullato"},
    Words{"DT01", "data non valida"},
    Words{"DU01", "identificativo del messaggio duplicato"},
    Words{"DUPL", "pagamento duplicato"},
    Words{"ED05", "regolamento non riuscito"},
    Words{"FF01", "formato del file non valido"},
    Words{"FOCR", "annullato dopo una richiesta di revoca"},
    Words{"FR01", "sospetta frode"},
    Words{"MD07", "titolare del conto deceduto"},
    Words{"MS02", "motivo non precisato dal cliente"},
    Words{"MS03", "motivo non precisato dalla banca"},
    Words{"NARR", "motivo descritto dalla banca nel testo"},
    Words{"RC01", "codice BIC errato"},
    Words{"RF01", "riferimento dell'operazione non univoco"},
    Words{"RR01", "conto o identificativo dell'ordinante mancante"},
    Words{"RR02", "nome o indirizzo dell'ordinante mancante"},
    Words{"RR03", "nome o indirizzo del beneficiario mancante"},
    Words{"RR04", "motivi regolamentari"},
    Words{"TM01", "ricevuto oltre l'orario limite"},
};

constexpr std::array kStatuses = {
    Words{"ACCC", "accettato, accreditato al beneficiario"},
    Words{"ACCP", "accettato"},
    Words{"ACFC", "accettato, fondi verificati"},
    Words{"ACIS", "accettato, regolamento avviato"},
    Words{"ACSC", "accettato, addebitato"},
    Words{"ACSP", "accettato, in esecuzione"},
    Words{"ACTC", "controllato, in attesa di esecuzione"},
    Words{"ACWC", "accettato con modifiche"},
    Words{"ACWP", "accettato, non ancora contabilizzato"},
    Words{"CANC", "annullato"},
    Words{"PART", "in parte accettato"},
    Words{"PATC", "in parte controllato"},
    Words{"PDNG", "in attesa"},
    Words{"RCVD", "ricevuto"},
    Words{"RJCT", "respinto"},
};

static_assert(std::is_sorted(kReasons.begin(), kReasons.end()) && std::is_sorted(kStatuses.begin(), kStatuses.end()),
              "the tables are searched by halves");

template <std::size_t N>
std::string Lookup(const std::array<Words, N>& table, std::string_view code) {
  const auto it = std::lower_bound(table.begin(), table.end(), code,
                                   [](const Words& w, std::string_view c) { return w.first < c; });
  if (it == table.end() || it->first != code) return std::string(code);
  return std::string(it->second) + " (" + std::string(code) + ")";
}

}  // namespace

std::string ReasonText(std::string_view code) { return Lookup(kReasons, code); }

std::string StatusText(std::string_view status) { return Lookup(kStatuses, status); }

}  // namespace vx::transfer
