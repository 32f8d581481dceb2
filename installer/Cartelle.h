// Which install folders may be used, and the rights Velisca gives the ones it
// makes: owners and access entries as plain data, with no Windows header, so
// that the rules are tested natively. The Win32 layer reads a folder into this
// form and writes VociProtette() back as a protected access list.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace velisca {

// The principals the rules tell apart. Installatore is the account that runs
// this Velisca, elevated.
enum class Principale { Sistema, Amministratori, TrustedInstaller, CreatoreProprietario, Installatore, Utenti, Altro };

// Access bits with the values Windows gives them.
namespace diritti {
inline constexpr std::uint32_t kScriviDati = 0x2;          // FILE_WRITE_DATA, FILE_ADD_FILE
inline constexpr std::uint32_t kAggiungi = 0x4;            // FILE_APPEND_DATA, FILE_ADD_SUBDIRECTORY
inline constexpr std::uint32_t kScriviAttributiEstesi = 0x10;
inline constexpr std::uint32_t kEliminaFigli = 0x40;       // FILE_DELETE_CHILD
inline constexpr std::uint32_t kScriviAttributi = 0x100;
inline constexpr std::uint32_t kElimina = 0x10000;         // DELETE
inline constexpr std::uint32_t kCambiaDiritti = 0x40000;   // WRITE_DAC
inline constexpr std::uint32_t kCambiaProprietario = 0x80000;
inline constexpr std::uint32_t kTuttiGenerici = 0x10000000;
inline constexpr std::uint32_t kScritturaGenerica = 0x40000000;
inline constexpr std::uint32_t kControlloTotale = 0x1F01FF;  // FILE_ALL_ACCESS
inline constexpr std::uint32_t kLetturaEsecuzione = 0x1200A9;
// What lets someone change a folder, its contents or who may change them.
inline constexpr std::uint32_t kCheCambiano = kScriviDati | kAggiungi | kScriviAttributiEstesi | kEliminaFigli |
                                              kScriviAttributi | kElimina | kCambiaDiritti | kCambiaProprietario |
                                              kTuttiGenerici | kScritturaGenerica;
}  // namespace diritti

struct Voce {
  Principale chi;
  bool consente;       // an allow entry; false: a deny entry
  std::uint32_t maschera;
  bool soloEreditata;  // applies only to what is made inside (INHERIT_ONLY_ACE)
  bool aiFigli;        // handed down to subfolders and files (OICI)
};

struct Sicurezza {
  Principale proprietario = Principale::Altro;
  std::optional<std::vector<Voce>> voci;  // nothing: no access list, which lets everyone in
};

enum class Reparse { Nessuno, Giunzione, Collegamento, Altro };

struct StatoCartella {
  Sicurezza propria;
  Reparse reparse = Reparse::Nessuno;
  Sicurezza destinazione;  // a junction's target, read through it
};

enum class Giudizio {
  Sicura,        // use as it is
  DaProteggere,  // ours or the system's, but others may change it: give it VociProtette()
  Rifiutata,     // never written into nor cleaned up
};

Giudizio Giudica(const StatoCartella& cartella);

// Owner Administrators; SYSTEM and Administrators full control, Users read
// and execute; all handed down to subfolders and files; nothing inherited.
inline constexpr Principale kProprietarioProtetto = Principale::Amministratori;
const std::vector<Voce>& VociProtette();

}  // namespace velisca
