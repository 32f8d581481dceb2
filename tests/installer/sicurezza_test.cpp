// The install folders' rules as data, what the sequence does with a folder
// it may not use, the waiting of a whole installation, and write-protected
// sources.
#include <gtest/gtest.h>

#include <algorithm>

#include "Cartelle.h"
#include "sequenza.h"

namespace velisca::test {
namespace {

using P = Principale;
namespace d = diritti;
constexpr std::uint32_t kModifica = 0x1301BF, kLetturaGenerica = 0x80000000, kEsecuzioneGenerica = 0x20000000;

Voce Consente(P chi, std::uint32_t m, bool soloEreditata = false) { return {chi, true, m, soloEreditata, true}; }
Sicurezza Di(P proprietario, std::vector<Voce> voci) { return {proprietario, std::move(voci)}; }

// Program Files as Windows 7 to 11 ship it (icacls): the service that owns it
// and SYSTEM and Administrators may change it; Users and app packages read.
Sicurezza ProgramFiles() {
  return Di(P::TrustedInstaller,
            {Consente(P::TrustedInstaller, d::kControlloTotale), Consente(P::TrustedInstaller, d::kTuttiGenerici, true),
             Consente(P::Sistema, kModifica), Consente(P::Sistema, d::kTuttiGenerici, true),
             Consente(P::Amministratori, kModifica), Consente(P::Amministratori, d::kTuttiGenerici, true),
             Consente(P::Utenti, d::kLetturaEsecuzione),
             Consente(P::Utenti, kLetturaGenerica | kEsecuzioneGenerica, true),
             Consente(P::CreatoreProprietario, d::kTuttiGenerici, true), Consente(P::Altro, d::kLetturaEsecuzione),
             Consente(P::Altro, kLetturaGenerica | kEsecuzioneGenerica, true)});
}
// What a folder made with no rights of its own gets from "C:\": Authenticated
// Users may change everything in it.
Sicurezza DaC(P proprietario) {
  return Di(proprietario, {Consente(P::Sistema, d::kControlloTotale), Consente(P::Amministratori, d::kControlloTotale),
                           Consente(P::Utenti, d::kLetturaEsecuzione), Consente(P::Altro, kModifica, true),
                           Consente(P::Altro, d::kAggiungi)});
}
StatoCartella Normale(Sicurezza s) { return {std::move(s), Reparse::Nessuno, {}}; }
StatoCartella Giunzione(Sicurezza propria, Sicurezza destinazione) {
  return {std::move(propria), Reparse::Giunzione, std::move(destinazione)};
}
// "C:\Programmi" of Italian Windows: SYSTEM's junction to Program Files.
StatoCartella DelSistema() {
  return Giunzione(Di(P::Sistema, {{P::Altro, false, 0x1, false, false}, Consente(P::Altro, d::kLetturaEsecuzione),
                                   Consente(P::Sistema, d::kControlloTotale),
                                   Consente(P::Amministratori, d::kControlloTotale)}),
                   ProgramFiles());
}

struct CasoRegola {
  const char* nome;
  StatoCartella cartella;
  Giudizio atteso;
};

TEST(Regole, EachFolderShape) {
  Sicurezza system32 = ProgramFiles();  // the same entries, the same owner
  Sicurezza utenteScrive = Di(P::Amministratori, VociProtette());
  utenteScrive.voci->push_back(Consente(P::Utenti, d::kScriviDati));
  Sicurezza soloEreditata = Di(P::Amministratori, VociProtette());
  soloEreditata.voci->push_back(Consente(P::Utenti, d::kScritturaGenerica, true));
  Sicurezza negata = Di(P::Amministratori, VociProtette());
  negata.voci->insert(negata.voci->begin(), {P::Utenti, false, d::kCheCambiano, false, true});
  Sicurezza cambiaDiritti = Di(P::Sistema, VociProtette());
  cambiaDiritti.voci->push_back(Consente(P::Altro, d::kCambiaDiritti));
  const CasoRegola casi[] = {
      {"sound: as Velisca makes it", Normale(Di(kProprietarioProtetto, VociProtette())), Giudizio::Sicura},
      {"Program Files", Normale(ProgramFiles()), Giudizio::Sicura},
      {"system32", Normale(system32), Giudizio::Sicura},
      {"owned by a standard user", Normale(Di(P::Altro, VociProtette())), Giudizio::Rifiutata},
      {"owned by a standard user, rights from C:", Normale(DaC(P::Altro)), Giudizio::Rifiutata},
      {"an earlier Velisca's, rights from C:", Normale(DaC(P::Amministratori)), Giudizio::DaProteggere},
      {"Users may write", Normale(utenteScrive), Giudizio::DaProteggere},
      {"Users write only what is made inside", Normale(soloEreditata), Giudizio::DaProteggere},
      {"someone may change the rights", Normale(cambiaDiritti), Giudizio::DaProteggere},
      {"a deny entry takes nothing away", Normale(negata), Giudizio::Sicura},
      {"no access list at all", Normale(Sicurezza{P::Amministratori, std::nullopt}), Giudizio::DaProteggere},
      {"the installing account's own", Normale(Di(P::Installatore, VociProtette())), Giudizio::DaProteggere},
      {"the system's junction", DelSistema(), Giudizio::Sicura},
      {"a foreign junction", Giunzione(Di(P::Altro, VociProtette()), ProgramFiles()), Giudizio::Rifiutata},
      {"SYSTEM's junction to a user's folder", Giunzione(DelSistema().propria, DaC(P::Altro)), Giudizio::Rifiutata},
      {"junction to a folder others may change", Giunzione(DelSistema().propria, DaC(P::Sistema)), Giudizio::Rifiutata},
      {"junction with an unreadable target", Giunzione(DelSistema().propria, Sicurezza{}), Giudizio::Rifiutata},
      {"the installing account's junction", Giunzione(Di(P::Installatore, VociProtette()), ProgramFiles()),
       Giudizio::Rifiutata},
      {"a symbolic link", {Di(P::Amministratori, VociProtette()), Reparse::Collegamento, ProgramFiles()},
       Giudizio::Rifiutata},
      {"another reparse point", {Di(P::Amministratori, VociProtette()), Reparse::Altro, {}}, Giudizio::Rifiutata},
  };
  for (const CasoRegola& c : casi) EXPECT_EQ(Giudica(c.cartella), c.atteso) << c.nome;
}

TEST(Regole, ProtectedRightsLetUsersOnlyReadAndRun) {
  const std::vector<Voce>& voci = VociProtette();
  ASSERT_EQ(voci.size(), 3u);
  for (const Voce& v : voci) {
    EXPECT_TRUE(v.consente && v.aiFigli && !v.soloEreditata);
    if (v.chi == P::Utenti)
      EXPECT_EQ(v.maschera, d::kLetturaEsecuzione);
    else
      EXPECT_EQ(v.maschera, d::kControlloTotale);
  }
  EXPECT_EQ(d::kLetturaEsecuzione & d::kCheCambiano, 0u);
  EXPECT_EQ(kProprietarioProtetto, P::Amministratori);
}

// A folder of the install path found unfit, or one to make safe: what the
// sequence secures, the report, and that nothing is done inside a refused
// folder, not even the clean-up.
struct CasoCartella {
  const char* nome;
  std::wstring cartella;
  StatoCartella stato;
  enum { Normale_, Illeggibile, NonProteggibile } guasto;
  NumeroErrore numero;  // 0: success
  int ultimoValore;
  std::vector<std::wstring> protette;
};

class CartellaEsistente : public Sequenza, public ::testing::WithParamInterface<CasoCartella> {};

TEST_P(CartellaEsistente, IsUsedSecuredOrRefused) {
  const CasoCartella& c = GetParam();
  const std::wstring radice = L"C:\\programmi\\Mardol";
  for (const std::wstring& f : {std::wstring(L"C:\\programmi"), radice, radice + L"\\ZORNAVEX"}) {
    fs.AddFolder(f);
    if (f == c.cartella) break;
  }
  const std::wstring k = FakeFileSystem::Key(c.cartella);
  fs.states[k] = c.stato;
  if (c.guasto == CasoCartella::Illeggibile) fs.unreadable.insert(k);
  if (c.guasto == CasoCartella::NonProteggibile) fs.unsecurable.insert(k);
  Tick();

  EXPECT_EQ(vista.boxes.at(0).testo, c.numero ? TestoErrore(c.numero) : std::wstring(kTestoRiuscita)) << c.nome;
  EXPECT_EQ(vista.passi.back().first, c.ultimoValore) << c.nome;
  std::vector<std::wstring> protette;
  for (const std::wstring& call : fs.calls) {
    if (call.rfind(L"secure ", 0) == 0) protette.push_back(call.substr(7));
    if (c.numero && call.rfind(L"md ", 0) != 0 && call.rfind(L"secure ", 0) != 0) {
      EXPECT_EQ(call.find(c.cartella + L"\\"), std::wstring::npos) << c.nome << ": " << call;
    }
  }
  EXPECT_EQ(protette, c.protette) << c.nome;
}

INSTANTIATE_TEST_SUITE_P(
    OgniCartella, CartellaEsistente,
    ::testing::Values(
        CasoCartella{"programmi a user made", L"C:\\programmi", Normale(DaC(P::Altro)), {}, 5, 4, {}},
        CasoCartella{"Mardol a foreign junction", L"C:\\programmi\\Mardol",
                     Giunzione(Di(P::Altro, VociProtette()), DaC(P::Altro)), {}, 5, 4, {}},
        CasoCartella{"an earlier Velisca's program folder", L"C:\\programmi\\Mardol\\ZORNAVEX",
                     Normale(DaC(P::Amministratori)), {}, 0, 8, {L"C:\\programmi\\Mardol\\ZORNAVEX"}},
        CasoCartella{"the system's C:\\Programmi", L"C:\\programmi", DelSistema(), {}, 0, 8, {}},
        CasoCartella{"programmi the installing account made", L"C:\\programmi", Normale(DaC(P::Installatore)), {}, 0,
                     8, {L"C:\\programmi"}},
        CasoCartella{"an earlier Mardol that cannot be secured", L"C:\\programmi\\Mardol",
                     Normale(DaC(P::Amministratori)), CasoCartella::NonProteggibile, 5, 4,
                     {L"C:\\programmi\\Mardol\\"}},
        CasoCartella{"a program folder whose rights cannot be read", L"C:\\programmi\\Mardol\\ZORNAVEX",
                     Normale(Di(P::Amministratori, VociProtette())), CasoCartella::Illeggibile, 5, 4, {}}));

TEST_F(Sequenza, CancelLeavesWhatLiesBehindAForeignJunction) {
  fs.AddFolder(L"C:\\programmi");
  fs.AddFolder(L"C:\\programmi\\Mardol");
  fs.AddFolder(L"C:\\programmi\\Mardol\\ZORNAVEX");
  fs.states[FakeFileSystem::Key(L"C:\\programmi\\Mardol")] = Giunzione(Di(P::Altro, VociProtette()), DaC(P::Altro));
  vista.risposte = {kRispostaSi};
  Installatore(fs, scrivania, kSetup, vista).cmdAnnulla_Click();
  EXPECT_TRUE(fs.calls.empty());
  EXPECT_TRUE(fs.HasFolder(L"C:\\programmi\\Mardol\\ZORNAVEX"));
  EXPECT_EQ(vista.fine, 1);
}

// All the waiting of one installation together stays within 3.55 s: what
// one held file used is gone for the next.
TEST_F(Sequenza, WaitingIsBoundedForTheWholeInstallation) {
  Tick();  // the earlier installation
  for (const auto& [primo, secondo] : {std::pair{7, 1}, std::pair{4, 1000}}) {
    FakeVista v;
    fs.pauses.clear();
    fs.heldFor[FakeFileSystem::Key(kExe)] = primo;
    fs.heldFor[FakeFileSystem::Key(kHlp)] = secondo;
    Installatore(fs, scrivania, kSetup, v).Timer1_Timer();
    int tutte = 0;
    for (const int p : fs.pauses) tutte += p;
    EXPECT_EQ(tutte, kAttesaMassima) << primo;
    EXPECT_EQ(v.boxes.at(0).testo, TestoErrore(5)) << "the rename over a held file";
    EXPECT_EQ(v.passi.back().first, 5);
    fs.heldFor.clear();
  }
  EXPECT_EQ(fs.pauses, (std::vector<int>{50, 100, 200, 400, 50, 100, 200, 400, 800, 1000, 250}));
}

// A copy from a CD keeps its source's write protection until it takes the
// destination's place; then the next installation over it succeeds.
TEST_F(Sequenza, WriteProtectedSourcesInstallWritable) {
  for (const wchar_t* f : {L"\\ZORNAVEX.exe", L"\\ZORNAVEX.hlp", L"\\ZORNAVEX.cnt", L"\\COMDLG32.OCX"})
    fs.readOnly.insert(FakeFileSystem::Key(kSetup + f));
  for (int volta = 0; volta < 2; ++volta) {
    FakeVista v;
    Installatore(fs, scrivania, kSetup, v).Timer1_Timer();
    EXPECT_EQ(v.boxes.at(0).titolo, L"Complimenti!") << volta;
    for (const std::wstring& f : {kExe, kHlp, kCnt, kOcx}) EXPECT_FALSE(fs.readOnly.count(FakeFileSystem::Key(f))) << f;
  }
  EXPECT_TRUE(fs.readOnly.count(FakeFileSystem::Key(kSetup + L"\\ZORNAVEX.exe")));
}

}  // namespace
}  // namespace velisca::test
