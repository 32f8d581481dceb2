#include "Installazione.h"

#include <algorithm>

#include "Collegamento_percorsi.h"
#include "Module1.h"

namespace velisca {

std::wstring CartellaProgramma() { return std::wstring(kCartellaRadice) + L"ZORNAVEX"; }
std::wstring CartellaGuida() { return std::wstring(kCartellaRadice) + L"ZORNAVEX\\Help"; }
std::wstring ProgrammaInstallato() { return std::wstring(kCartellaRadice) + L"ZORNAVEX\\ZORNAVEX.exe"; }

const std::array<Passo, kNumeroPassi>& Passi() {
  static const std::array<Passo, kNumeroPassi> passi = [] {
    const std::wstring radice(kCartellaRadice);
    const std::wstring sistema(kCartellaSistema);
    auto cartella = [](const std::wstring& d, int v) { return Passo{Operazione::CreaCartella, L"", d, d, v}; };
    auto copia = [](const wchar_t* s, const std::wstring& d, int v) {
      return Passo{Operazione::CopiaFile, s, d, d, v};
    };
    Passo controllo = copia(L"\\COMDLG32.OCX", std::wstring(kControlloInstallato), 8);
    controllo.testo = sistema + L"\\COMDLG32.OCX";
    return std::array<Passo, kNumeroPassi>{
        cartella(radice, 1),
        cartella(radice + L"ZORNAVEX", 2),
        cartella(radice + L"ZORNAVEX\\Help", 3),
        cartella(sistema, 4),
        copia(L"\\ZORNAVEX.exe", radice + L"ZORNAVEX\\ZORNAVEX.exe", 5),
        copia(L"\\ZORNAVEX.hlp", radice + L"ZORNAVEX\\Help\\ZORNAVEX.hlp", 6),
        copia(L"\\ZORNAVEX.cnt", radice + L"ZORNAVEX\\Help\\ZORNAVEX.cnt", 7),
        controllo,
    };
  }();
  return passi;
}

std::wstring PercorsoSorgente(std::wstring_view cartella, std::wstring_view nome) {
  std::wstring out(cartella);
  if (!out.empty() && out.back() == L'\\' && !nome.empty() && nome.front() == L'\\') out.pop_back();
  out += nome;
  return out;
}

std::wstring CartellaDi(std::wstring_view eseguibile) {
  const auto sep = eseguibile.find_last_of(L"\\/");
  if (sep == std::wstring_view::npos) return {};
  // "C:\Velisca.exe" lives in "C:\", not in "C:".
  if (sep == 2 && eseguibile[1] == L':') return std::wstring(eseguibile.substr(0, 3));
  return std::wstring(eseguibile.substr(0, sep));
}

namespace {
constexpr NumeroErrore kNonTrovato = 2, kPercorsoNonTrovato = 3, kAccessoNegato = 5, kNonCartella = 267;
}  // namespace

bool DaRipetere(FileSystem& fs, NumeroErrore numero, const std::wstring& file) {
  constexpr NumeroErrore kCondivisione = 32, kBlocco = 33;
  if (numero == kCondivisione || numero == kBlocco) return true;
  // A write-protected file or a running program is refused at once and for
  // good: waiting would only delay the same report.
  return numero == kAccessoNegato && fs.ScrivibileOra(file);
}

NumeroErrore ConRipetizioni(FileSystem& fs, const std::wstring& file, int& attesa,
                            const std::function<NumeroErrore()>& operazione) {
  NumeroErrore e = operazione();
  for (const int pausa : kPause) {
    if (e == 0 || attesa <= 0 || !DaRipetere(fs, e, file)) break;
    const int questa = std::min(pausa, attesa);
    attesa -= questa;
    fs.Attendi(questa);
    e = operazione();
  }
  return e;
}

std::wstring Chiave(std::wstring_view percorso) {
  std::wstring k(percorso);
  while (k.size() > 1 && k.back() == L'\\') k.pop_back();
  for (wchar_t& c : k)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return k;
}

bool DentroRifiutata(const Rifiutate& rifiutate, std::wstring_view percorso) {
  const std::wstring k = Chiave(percorso);
  return std::any_of(rifiutate.begin(), rifiutate.end(), [&](const std::wstring& r) {
    return k == r || (k.size() > r.size() && k.compare(0, r.size(), r) == 0 && k[r.size()] == L'\\');
  });
}

namespace {

// Whether a folder cannot be used: refused by the rules, or there but unreadable.
bool DaRifiutare(FileSystem& fs, const std::wstring& cartella, Giudizio* giudizio) {
  StatoCartella stato;
  const NumeroErrore e = fs.LeggiCartella(cartella, stato);
  // Nothing there, or a file in its place: the copies find that out.
  if (e == kNonTrovato || e == kPercorsoNonTrovato || e == kNonCartella) return false;
  if (e != 0) return true;
  const Giudizio g = Giudica(stato);
  if (giudizio) *giudizio = g;
  return g == Giudizio::Rifiutata;
}

// The folders of the install path from the top down.
std::array<std::wstring, 4> PercorsoInstallazione() {
  return {std::wstring(kCartellaProgrammi), std::wstring(kCartellaRadice), CartellaProgramma(), CartellaGuida()};
}

}  // namespace

Rifiutate RifiutateFinoA(FileSystem& fs, const std::wstring& cartella) {
  const std::wstring fino = Chiave(cartella);
  for (const std::wstring& c : PercorsoInstallazione()) {
    if (!DentroRifiutata({Chiave(c)}, fino)) continue;
    if (DaRifiutare(fs, c, nullptr)) return {Chiave(c)};
  }
  return {};
}

void PreparaCartella(FileSystem& fs, const std::wstring& cartella, Rifiutate& rifiutate) {
  // Nothing is made inside a refused folder: its owner could steer it.
  if (DentroRifiutata(rifiutate, cartella)) return;
  if (fs.CreaCartella(cartella) == 0) return;  // made with the protected rights
  Giudizio giudizio = Giudizio::Sicura;
  bool rifiuta = DaRifiutare(fs, cartella, &giudizio);
  // A folder an earlier Velisca made, with the rights inherited from "C:\".
  if (!rifiuta && giudizio == Giudizio::DaProteggere) rifiuta = fs.Proteggi(cartella) != 0;
  if (rifiuta) rifiutate.push_back(Chiave(cartella));
}

namespace {

bool InizioSenzaMaiuscole(std::wstring_view testo, std::wstring_view inizio) {
  if (testo.size() < inizio.size()) return false;
  for (std::size_t i = 0; i < inizio.size(); ++i) {
    wchar_t c = testo[i];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    if (c != inizio[i]) return false;
  }
  return true;
}

}  // namespace

std::wstring PercorsoDiRete(std::wstring_view p) {
  bool trovato = false;
  for (const std::wstring_view rete : {std::wstring_view(L"\\device\\mup\\"),
                                       std::wstring_view(L"\\device\\lanmanredirector\\")}) {
    if (InizioSenzaMaiuscole(p, rete)) {
      p.remove_prefix(rete.size());
      trovato = true;
      break;
    }
  }
  if (!trovato) return {};
  // The redirector's own components (";LanmanRedirector", ";Z:000000000001a2b3")
  // come before the server's name.
  while (!p.empty() && p.front() == L';') {
    const auto sep = p.find(L'\\');
    if (sep == std::wstring_view::npos) return {};
    p.remove_prefix(sep + 1);
  }
  const auto dopoServer = p.find(L'\\');
  if (dopoServer == 0 || dopoServer == std::wstring_view::npos || dopoServer + 1 >= p.size() ||
      p[dopoServer + 1] == L'\\')
    return {};
  return L"\\\\" + std::wstring(p);
}

namespace {

// A shared control file the system already holds in a newer version is
// kept: replacing it would break the programs that need the newer one.
bool TieniControlloEsistente(FileSystem& fs, const std::wstring& sorgente, const std::wstring& destinazione) {
  const auto esistente = fs.Versione(destinazione);
  const auto nostro = fs.Versione(sorgente);
  return esistente && nostro && *esistente > *nostro;
}

// The whole new file is written beside the destination, then takes its
// place in one step: a full disk or a cut-off run never leaves a damaged
// file, and an earlier installation stays as it was when the copy fails.
// The number is that of the operation that failed.
NumeroErrore CopiaIntera(FileSystem& fs, const std::wstring& da, const std::wstring& a, int& attesa) {
  const std::wstring temporaneo = NomeTemporaneo(a);
  // Another program may hold a file for a moment, the new one above all: an
  // antivirus reads a fresh program file as soon as it is written.
  const auto elimina = [&] {
    return ConRipetizioni(fs, temporaneo, attesa, [&] { return fs.EliminaFile(temporaneo); });
  };
  (void)elimina();  // left behind by a run that was cut off
  NumeroErrore e = ConRipetizioni(fs, temporaneo, attesa, [&] { return fs.CopiaFile(da, temporaneo); });
  // A copy from a CD or a read-only share is write-protected like its
  // source; installed so, it would stop the next installation over it.
  if (e == 0) e = ConRipetizioni(fs, temporaneo, attesa, [&] { return fs.TogliSolaLettura(temporaneo); });
  if (e == 0) e = ConRipetizioni(fs, a, attesa, [&] { return fs.Sostituisci(temporaneo, a); });
  if (e != 0) {
    (void)elimina();
    return e;
  }
  // The copy carries the download's mark along, and with it a security
  // warning at every start. Where there is no mark, or the file system keeps
  // none, there is nothing to do.
  (void)fs.RimuoviProvenienza(a);
  return 0;
}

}  // namespace

std::wstring NomeTemporaneo(const std::wstring& destinazione) { return destinazione + L".velisca-tmp"; }

Esito EseguiInstallazione(FileSystem& fs, Scrivania& scrivania, const std::wstring& sorgente,
                          const Avanzamento& avanzamento) {
  // Systems of today have no "C:\programmi": without it no folder below it
  // could be made. Its failure is as silent as the other folders'.
  Rifiutate rifiutate;
  PreparaCartella(fs, std::wstring(kCartellaProgrammi), rifiutate);
  int attesa = kAttesaMassima;
  for (const Passo& passo : Passi()) {
    if (passo.operazione == Operazione::CreaCartella) {
      // The system folder is the system's own, guarded by Windows.
      if (passo.destinazione == kCartellaSistema)
        (void)fs.CreaCartella(passo.destinazione);
      else
        PreparaCartella(fs, passo.destinazione, rifiutate);
    } else {
      const std::wstring da = PercorsoSorgente(sorgente, passo.sorgente);
      // The copies into a refused folder fail as a refused copy does.
      const std::wstring_view cartella(passo.destinazione.data(), passo.destinazione.find_last_of(L'\\'));
      if (DentroRifiutata(rifiutate, cartella)) return {false, kAccessoNegato, rifiutate};
      const bool tieni = passo.destinazione == kControlloInstallato && TieniControlloEsistente(fs, da, passo.destinazione);
      if (!tieni) {
        const NumeroErrore e = CopiaIntera(fs, da, passo.destinazione, attesa);
        if (e != 0) return {false, e, rifiutate};
      }
    }
    avanzamento(passo.valore, passo.testo);
  }

  Collegamento::CartellaSpeciale = 0;
  if (const NumeroErrore e = scrivania.TrovaDesktop(); e != 0) return {false, e, rifiutate};
  // Without a desktop folder there is nowhere the shortcut belongs.
  if (!Collegamento::PercorsoDesktop.empty()) {
    const std::wstring programma = ProgrammaInstallato();
    (void)scrivania.CreaCollegamento(Collegamento::UnisciPercorso(Collegamento::PercorsoDesktop, kNomeCollegamento),
                                     programma, CartellaProgramma(), L"", programma, kIconaCollegamento,
                                     kMostraCollegamento);
  }
  return {true, 0, {}};
}

std::wstring TestoErrore(NumeroErrore numero) {
  return L"Il programma non può essere installato.\r\nContattare il fornitore e segnalare l'errore:\r\n\r\nNumero " +
         std::to_wstring(numero);
}

void Installatore::Timer1_Timer() {
  if (!Module1::InstallazioneAttiva) return;
  const Esito esito = EseguiInstallazione(fs_, scrivania_, sorgente_, [this](int valore, const std::wstring& testo) {
    vista_.MostraAvanzamento(valore, testo);
  });
  if (esito.riuscita) {
    vista_.Messaggio(kTestoRiuscita, kTitoloRiuscita, kInformazione);
  } else {
    vista_.Messaggio(TestoErrore(esito.numero), kTitoloErrore, kInformazione);
    Module1::RimuoviCartelle(fs_, esito.rifiutate);
  }
  vista_.Termina();
}

void Installatore::cmdAnnulla_Click() {
  Module1::InstallazioneAttiva = false;
  if (vista_.Messaggio(kTestoAnnulla, kTitoloAnnulla, kDomanda) == kRispostaSi) {
    Module1::RimuoviCartelle(fs_);
    vista_.Termina();
    return;
  }
  Module1::InstallazioneAttiva = true;
}

}  // namespace velisca
