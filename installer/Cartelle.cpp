#include "Cartelle.h"

namespace velisca {
namespace {

bool Fidato(Principale p) {
  return p == Principale::Sistema || p == Principale::Amministratori || p == Principale::TrustedInstaller;
}

// Nobody else may change the folder. An entry for CREATOR OWNER becomes one
// for whoever makes a file inside, that is Velisca itself; an entry only
// inherited still counts, since the files Velisca makes would carry it.
bool SoloFidatiCambiano(const Sicurezza& s) {
  if (!s.voci) return false;
  for (const Voce& v : *s.voci) {
    if (!v.consente || Fidato(v.chi) || v.chi == Principale::CreatoreProprietario) continue;
    if (v.maschera & diritti::kCheCambiano) return false;
  }
  return true;
}

}  // namespace

Giudizio Giudica(const StatoCartella& c) {
  switch (c.reparse) {
    case Reparse::Nessuno:
      break;
    case Reparse::Giunzione:
      // The system's own junctions ("C:\Programmi" on Italian Windows) are
      // used as they are; nothing else may steer where the files go.
      return Fidato(c.propria.proprietario) && SoloFidatiCambiano(c.propria) && Fidato(c.destinazione.proprietario) &&
                     SoloFidatiCambiano(c.destinazione)
                 ? Giudizio::Sicura
                 : Giudizio::Rifiutata;
    default:
      return Giudizio::Rifiutata;
  }
  // Anyone else who owns the folder may have planted what is inside or may
  // still hold it open: refused. The installing account's own folder is
  // taken over, so that none of its unelevated programs keeps the owner's
  // right to change its access list.
  if (c.propria.proprietario == Principale::Installatore) return Giudizio::DaProteggere;
  if (!Fidato(c.propria.proprietario)) return Giudizio::Rifiutata;
  return SoloFidatiCambiano(c.propria) ? Giudizio::Sicura : Giudizio::DaProteggere;
}

const std::vector<Voce>& VociProtette() {
  static const std::vector<Voce> voci{
      {Principale::Sistema, true, diritti::kControlloTotale, false, true},
      {Principale::Amministratori, true, diritti::kControlloTotale, false, true},
      {Principale::Utenti, true, diritti::kLetturaEsecuzione, false, true},
  };
  return voci;
}

}  // namespace velisca
