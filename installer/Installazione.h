// The installation sequence, kept free of any Windows header: the folders,
// the four copies, the shortcut, the progress after each step and the
// failure number, over a small file-system interface.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Cartelle.h"

namespace velisca {

// The error code of a failed operation as the file layer reports it (the
// Win32 code on Windows); 0 means success.
using NumeroErrore = std::int32_t;

// A file version resource: major, minor, build, revision.
using VersioneFile = std::array<std::uint16_t, 4>;

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // One folder level, owned by Administrators with the rights of
  // VociProtette() and nothing inherited; fails when it exists or its parent
  // is missing.
  virtual NumeroErrore CreaCartella(const std::wstring& path) = 0;
  // The owner, access entries and kind of an existing folder; 2 or 3 when
  // there is none.
  virtual NumeroErrore LeggiCartella(const std::wstring& path, StatoCartella& stato) = 0;
  // Gives an existing folder the owner and rights CreaCartella gives, in
  // place of all it had; what it holds inherits them.
  virtual NumeroErrore Proteggi(const std::wstring& path) = 0;
  // Clears a file's write protection and keeps its other attributes.
  virtual NumeroErrore TogliSolaLettura(const std::wstring& path) = 0;
  // Creates the destination or replaces an existing file of that name. A
  // copy cut off halfway leaves what it wrote so far at the destination.
  virtual NumeroErrore CopiaFile(const std::wstring& from, const std::wstring& to) = 0;
  // Puts a file in the place of another in one step: afterwards the
  // destination is either the earlier file, untouched, or the whole new one.
  virtual NumeroErrore Sostituisci(const std::wstring& nuovo, const std::wstring& destinazione) = 0;
  // Deletes a file the installer wrote itself, even when it is write-protected.
  virtual NumeroErrore EliminaFile(const std::wstring& path) = 0;
  // Removes the mark of a file that came from the Internet.
  virtual NumeroErrore RimuoviProvenienza(const std::wstring& path) = 0;
  // Only an empty folder can be removed.
  virtual NumeroErrore RimuoviCartella(const std::wstring& path) = 0;
  // The version resource of a file; nothing when the file or its resource is missing.
  virtual std::optional<VersioneFile> Versione(const std::wstring& path) = 0;
  // Whether an existing file could be written right now: not write-protected,
  // not a running program. A refusal on such a file comes from another
  // program that holds it for a moment (an antivirus, the indexer, a backup).
  virtual bool ScrivibileOra(const std::wstring& path) = 0;
  // Waits before the next attempt, without giving way to the user interface.
  virtual void Attendi(int millisecondi) = 0;
};

// The pauses before each further attempt of a file operation that another
// program holds up: growing, 3.55 s in all.
inline constexpr std::array<int, 7> kPause{50, 100, 200, 400, 800, 1000, 1000};
// All the waiting one installation may do: one file held for good still gets
// every pause, and the whole run stays well below the 5 s after which
// Windows calls a window that reads no message "not responding".
inline constexpr int kAttesaMassima = 3550;

// Whether a failure is worth another attempt: a sharing (32) or lock (33)
// violation, or a refusal (5) of a file that could be written right now.
bool DaRipetere(FileSystem& fs, NumeroErrore numero, const std::wstring& file);

// Runs a file operation, and again after each pause while it fails with a
// number worth another attempt on `file`; the last number comes back. The
// pauses come out of `attesa`, the milliseconds left to wait, and end with it.
NumeroErrore ConRipetizioni(FileSystem& fs, const std::wstring& file, int& attesa,
                            const std::function<NumeroErrore()>& operazione);

// The folders found unfit to use, by key (see Chiave).
using Rifiutate = std::vector<std::wstring>;
// A path as the file system compares it: lower case, no trailing separator.
std::wstring Chiave(std::wstring_view percorso);
// Whether a path is a refused folder or lies inside one.
bool DentroRifiutata(const Rifiutate& rifiutate, std::wstring_view percorso);
// The install folders from "C:\programmi" down to `cartella` that exist and
// are refused, read without changing anything.
Rifiutate RifiutateFinoA(FileSystem& fs, const std::wstring& cartella);
// Makes a folder of the install path, or checks the existing one and secures
// or refuses it; a refused folder is added to `rifiutate`. Failures are
// silent: the copies show whether the folder can be used.
void PreparaCartella(FileSystem& fs, const std::wstring& cartella, Rifiutate& rifiutate);

// The desktop shortcut service; the Windows side forwards to Collegamento.
class Scrivania {
 public:
  virtual ~Scrivania() = default;
  // Looks up the folder CartellaSpeciale names and stores it in
  // PercorsoDesktop; a failure it cannot handle comes back as a number.
  virtual NumeroErrore TrovaDesktop() = 0;
  virtual bool CreaCollegamento(const std::wstring& file, const std::wstring& target,
                                const std::wstring& cartellaLavoro, const std::wstring& argomenti,
                                const std::wstring& fileIcona, std::int32_t indiceIcona,
                                std::int32_t mostra) = 0;
};

// Fixed places.
inline constexpr std::wstring_view kCartellaProgrammi = L"C:\\programmi";
inline constexpr std::wstring_view kCartellaRadice = L"C:\\programmi\\Mardol\\";
inline constexpr std::wstring_view kCartellaSistema = L"c:\\windows\\system32";
std::wstring CartellaProgramma();     // C:\programmi\Mardol\ZORNAVEX
std::wstring CartellaGuida();         // C:\programmi\Mardol\ZORNAVEX\Help
std::wstring ProgrammaInstallato();   // C:\programmi\Mardol\ZORNAVEX\ZORNAVEX.exe
inline constexpr std::wstring_view kControlloInstallato = L"c:\\windows\\system32\\COMDLG32.ocx";
inline constexpr std::wstring_view kNomeCollegamento = L"ZORNAVEX.lnk";
inline constexpr int kNumeroPassi = 8;
// The shortcut shows the program's second icon (index 1, its shortcut icon)
// and opens the program's window as SW_SHOW (5) does.
inline constexpr std::int32_t kIconaCollegamento = 1;
inline constexpr std::int32_t kMostraCollegamento = 5;
// The product name both pages show.
inline constexpr std::wstring_view kNomeProgramma = L"ZORNAVEX";

enum class Operazione { CreaCartella, CopiaFile };

struct Passo {
  Operazione operazione;
  std::wstring sorgente;      // name in the source folder, with its leading backslash
  std::wstring destinazione;
  std::wstring testo;         // lblInfo after the step
  int valore;                 // PrbStato after the step
};

// The name a file is written under, in its destination folder, before it
// takes the destination's place.
std::wstring NomeTemporaneo(const std::wstring& destinazione);

// Steps 1 to 8 in their fixed order.
const std::array<Passo, kNumeroPassi>& Passi();

// The source folder joined to a name that begins with a backslash; a folder
// that already ends in one (a drive root) does not get a second.
std::wstring PercorsoSorgente(std::wstring_view cartella, std::wstring_view nome);
// The network path (\\server\share\...) of a file whose device path names
// the network redirector, as Windows reports the mapped file name of an image
// started from a network drive ("\Device\Mup\;LanmanRedirector\;Z:0000...
// \server\share\..."); empty for any other path.
std::wstring PercorsoDiRete(std::wstring_view percorsoDispositivo);
// The folder part of an executable's full path, without a trailing separator
// (except for a drive root, which keeps it).
std::wstring CartellaDi(std::wstring_view eseguibile);

struct Esito {
  bool riuscita = false;
  NumeroErrore numero = 0;
  Rifiutate rifiutate;  // the folders the run found unfit
};

using Avanzamento = std::function<void(int valore, const std::wstring& testo)>;

// Runs the steps of Passi() from start to end, then makes the desktop
// shortcut; stops at the first failed copy.
Esito EseguiInstallazione(FileSystem& fs, Scrivania& scrivania, const std::wstring& sorgente,
                          const Avanzamento& avanzamento);

// The failure report's text for a number.
std::wstring TestoErrore(NumeroErrore numero);

// Message-box texts and flags.
inline constexpr std::wstring_view kTestoRiuscita = L"L'installazione è stata portata a termine";
inline constexpr std::wstring_view kTitoloRiuscita = L"Complimenti!";
inline constexpr std::wstring_view kTitoloErrore = L"Errore durante l'installazione";
inline constexpr std::wstring_view kTestoAnnulla =
    L"L'installazione non è stata completata.\r\nSi vuole uscire dal programma?";
inline constexpr std::wstring_view kTitoloAnnulla = L"Attenzione!";
// A second Velisca that cannot bring the first one's window forward.
inline constexpr std::wstring_view kTestoGiaInCorso = L"Un'installazione è già in corso.";
// The platform's values, checked against its headers where the windows are.
inline constexpr unsigned kInformazione = 64;    // MB_OK | MB_ICONINFORMATION
inline constexpr unsigned kDomanda = 68;         // MB_YESNO | MB_ICONINFORMATION
inline constexpr int kRispostaSi = 6;            // IDYES

// What the progress window does with the sequence's outcome.
class VistaInstallazione {
 public:
  virtual ~VistaInstallazione() = default;
  virtual void MostraAvanzamento(int valore, const std::wstring& testo) = 0;
  virtual int Messaggio(std::wstring_view testo, std::wstring_view titolo, unsigned stile) = 0;
  virtual void Termina() = 0;
};

// The progress window's two events, apart from the window itself.
class Installatore {
 public:
  Installatore(FileSystem& fs, Scrivania& scrivania, std::wstring sorgente, VistaInstallazione& vista)
      : fs_(fs), scrivania_(scrivania), sorgente_(std::move(sorgente)), vista_(vista) {}

  // A tick of the window's timer: the whole installation while
  // InstallazioneAttiva is True, nothing otherwise.
  void Timer1_Timer();
  // The cancel button: pauses the installation and asks whether to quit.
  void cmdAnnulla_Click();

 private:
  FileSystem& fs_;
  Scrivania& scrivania_;
  std::wstring sorgente_;
  VistaInstallazione& vista_;
};

}  // namespace velisca
