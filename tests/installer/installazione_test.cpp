// The installation sequence over an in-memory file system: progress, texts,
// failure numbers, clean-up and the cancel question.
#include <gtest/gtest.h>

#include <utility>

#include "sequenza.h"

namespace velisca::test {
namespace {

TEST_F(Sequenza, FreshSystemInstallsEverythingWithProgressAndShortcut) {
  Tick();

  const std::vector<std::pair<int, std::wstring>> expected{
      {1, L"C:\\programmi\\Mardol\\"},
      {2, L"C:\\programmi\\Mardol\\ZORNAVEX"},
      {3, L"C:\\programmi\\Mardol\\ZORNAVEX\\Help"},
      {4, L"c:\\windows\\system32"},
      {5, kExe},
      {6, kHlp},
      {7, kCnt},
      {8, L"c:\\windows\\system32\\COMDLG32.OCX"},
  };
  EXPECT_EQ(vista.passi, expected);
  EXPECT_EQ(fs.Content(kExe), "exe-1");
  EXPECT_EQ(fs.Content(kHlp), "hlp-1");
  EXPECT_EQ(fs.Content(kCnt), "cnt-1");
  EXPECT_EQ(fs.Content(kOcx), "ocx-1");
  // The missing "C:\programmi" is made first, so that the root folder can be.
  ASSERT_GE(fs.calls.size(), 2u);
  EXPECT_EQ(fs.calls[0], L"md C:\\programmi");
  EXPECT_EQ(fs.calls[1], L"md C:\\programmi\\Mardol\\");

  EXPECT_EQ(scrivania.cartellaChiesta, 0);
  ASSERT_EQ(scrivania.fatti.size(), 1u);
  const Collegamento_& c = scrivania.fatti[0];
  EXPECT_EQ(c.file, kDesktop + L"\\ZORNAVEX.lnk");
  EXPECT_EQ(c.target, kExe);
  EXPECT_EQ(c.lavoro, L"C:\\programmi\\Mardol\\ZORNAVEX");
  EXPECT_EQ(c.argomenti, L"");
  EXPECT_EQ(c.icona, kExe);
  EXPECT_EQ(c.indice, 1);
  EXPECT_EQ(c.mostra, 5);

  ASSERT_EQ(vista.boxes.size(), 1u);
  EXPECT_EQ(vista.boxes[0].testo, L"L'installazione è stata portata a termine");
  EXPECT_EQ(vista.boxes[0].titolo, L"Complimenti!");
  EXPECT_EQ(vista.boxes[0].stile, 64u);
  EXPECT_EQ(vista.fine, 1);
}

TEST_F(Sequenza, TickDoesNothingWhileInstallationIsPaused) {
  Module1::InstallazioneAttiva = false;
  Tick();
  EXPECT_TRUE(fs.calls.empty());
  EXPECT_TRUE(vista.passi.empty());
  EXPECT_TRUE(vista.boxes.empty());
  EXPECT_EQ(vista.fine, 0);
}

// A missing source file at each copy step: the report's number, the progress
// left at the step before, what the clean-up leaves, and no shortcut.
struct CasoMancante {
  const wchar_t* nome;
  int ultimoValore;
  bool programmaResta, guidaResta;
};

class FileMancante : public Sequenza, public ::testing::WithParamInterface<CasoMancante> {};

TEST_P(FileMancante, ReportsNumberTwoAndRemovesOnlyEmptyFolders) {
  const CasoMancante& caso = GetParam();
  fs.RemoveFile(kSetup + caso.nome);
  Tick();

  ASSERT_FALSE(vista.passi.empty());
  EXPECT_EQ(vista.passi.back().first, caso.ultimoValore);
  ASSERT_EQ(vista.boxes.size(), 1u);
  EXPECT_EQ(vista.boxes[0].titolo, L"Errore durante l'installazione");
  EXPECT_EQ(vista.boxes[0].testo,
            L"Il programma non può essere installato.\r\nContattare il fornitore e segnalare l'errore:\r\n\r\nNumero 2");
  EXPECT_EQ(vista.boxes[0].stile, 64u);
  EXPECT_EQ(vista.fine, 1);
  EXPECT_TRUE(scrivania.fatti.empty());
  EXPECT_TRUE(fs.HasFolder(L"C:\\programmi\\Mardol"));
  EXPECT_EQ(fs.HasFolder(L"C:\\programmi\\Mardol\\ZORNAVEX"), caso.programmaResta);
  EXPECT_EQ(fs.HasFolder(L"C:\\programmi\\Mardol\\ZORNAVEX\\Help"), caso.guidaResta);
}

INSTANTIATE_TEST_SUITE_P(OgniCopia, FileMancante,
                         ::testing::Values(CasoMancante{L"\\ZORNAVEX.exe", 4, false, false},
                                           CasoMancante{L"\\ZORNAVEX.hlp", 5, true, false},
                                           CasoMancante{L"\\ZORNAVEX.cnt", 6, true, true},
                                           CasoMancante{L"\\COMDLG32.OCX", 7, true, true}));

TEST_F(Sequenza, DestinationHeldOpenIsNotReplaced) {
  fs.AddFolder(L"C:\\programmi");
  fs.AddFolder(L"C:\\programmi\\Mardol");
  fs.AddFolder(L"C:\\programmi\\Mardol\\ZORNAVEX");
  fs.AddFolder(L"C:\\programmi\\Mardol\\ZORNAVEX\\Help");
  fs.AddFile(kExe, "old");
  fs.AddFile(kCnt, "cnt-0");
  fs.locked.insert(FakeFileSystem::Key(kCnt));
  Tick();
  EXPECT_EQ(vista.passi.back().first, 6);
  ASSERT_EQ(vista.boxes.size(), 1u);
  // The new file is whole beside it; the rename over an open file is refused.
  EXPECT_NE(vista.boxes[0].testo.find(L"\r\n\r\nNumero 5"), std::wstring::npos);
  EXPECT_EQ(fs.Content(kCnt), "cnt-0");
  EXPECT_EQ(fs.Content(kExe), "exe-1");  // the copies made before stay
  EXPECT_TRUE(fs.pauses.empty()) << "a running program is reported at once";
}

// Another program holds a file for so many attempts: the attempts go on
// after growing pauses, 3.55 s in all, and then the report follows with the
// number of the last one.
struct CasoTrattenuto {
  std::wstring file;
  int tentativi;
  NumeroErrore numero;  // 0: the installation succeeds
  std::vector<int> pause;
};

class Trattenuto : public Sequenza, public ::testing::WithParamInterface<CasoTrattenuto> {};

TEST_P(Trattenuto, AttemptsGoOnForABoundedTime) {
  const CasoTrattenuto& caso = GetParam();
  Tick();  // the earlier installation
  vista = FakeVista{};
  fs.AddFile(kSetup + L"\\ZORNAVEX.exe", "exe-2");
  fs.heldFor[FakeFileSystem::Key(caso.file)] = caso.tentativi;
  Tick();

  EXPECT_EQ(fs.pauses, caso.pause);
  EXPECT_EQ(vista.fine, 1);
  if (caso.numero == 0) {
    EXPECT_EQ(vista.boxes.at(0).titolo, L"Complimenti!");
    EXPECT_EQ(fs.Content(kExe), "exe-2");
    EXPECT_FALSE(fs.Content(NomeTemporaneo(kExe)));
  } else {
    EXPECT_EQ(vista.boxes.at(0).testo, TestoErrore(caso.numero));
    EXPECT_EQ(vista.passi.back().first, 4);
    EXPECT_EQ(fs.Content(kExe), "exe-1");
  }
}

const std::vector<int> kTutte{50, 100, 200, 400, 800, 1000, 1000};
INSTANTIATE_TEST_SUITE_P(
    OgniTentativo, Trattenuto,
    ::testing::Values(CasoTrattenuto{kExe, 3, 0, {50, 100, 200}},                        // a scan of the earlier file
                      CasoTrattenuto{kExe, 7, 0, kTutte},                                // released at the last attempt
                      CasoTrattenuto{kExe, 8, 5, kTutte},                                // held for good: the rename's 5
                      CasoTrattenuto{NomeTemporaneo(kExe), 2, 0, {50, 100}},             // the new file scanned
                      CasoTrattenuto{NomeTemporaneo(kExe), 1000, 32, kTutte}));          // and never let go

// A copy that fails leaves no file of its own behind, and an earlier file
// at the destination exactly as it was.
TEST_F(Sequenza, DiskFullOnAFreshSystemLeavesNothingAndRemovesBothFolders) {
  fs.capacity = fs.Used() + 3;  // "exe-1" does not fit
  Tick();
  EXPECT_EQ(vista.passi.back().first, 4);
  EXPECT_EQ(vista.boxes.at(0).testo, TestoErrore(112));
  EXPECT_FALSE(fs.HasFolder(L"C:\\programmi\\Mardol\\ZORNAVEX\\Help"));
  EXPECT_FALSE(fs.HasFolder(L"C:\\programmi\\Mardol\\ZORNAVEX"));
  EXPECT_TRUE(fs.HasFolder(L"C:\\programmi\\Mardol"));
  EXPECT_TRUE(fs.FilesIn(L"C:\\programmi\\Mardol").empty());
  EXPECT_TRUE(scrivania.fatti.empty());
}

enum class Guasto { DiscoPieno, SolaLettura };
struct CasoSostituzione {
  std::wstring destinazione;
  const wchar_t* sorgente;
  Guasto guasto;
  NumeroErrore numero;
  int ultimoValore;
};

class SopraInstallazione : public Sequenza, public ::testing::WithParamInterface<CasoSostituzione> {};

TEST_P(SopraInstallazione, FailedCopyKeepsTheEarlierFile) {
  const CasoSostituzione& caso = GetParam();
  Tick();  // the earlier installation
  vista = FakeVista{};
  scrivania.fatti.clear();
  const std::wstring chiave = FakeFileSystem::Key(caso.destinazione);
  const std::string prima = *fs.Content(caso.destinazione);
  const auto versionePrima = fs.Versione(caso.destinazione);
  fs.AddFile(kSetup + caso.sorgente, "a new and much larger file", VersioneFile{2, 0, 0, 7});
  switch (caso.guasto) {
    case Guasto::DiscoPieno: fs.capacity = fs.Used() + 8; break;
    case Guasto::SolaLettura: fs.readOnly.insert(chiave); break;
  }
  Tick();

  EXPECT_EQ(vista.boxes.at(0).testo, TestoErrore(caso.numero));
  EXPECT_EQ(vista.passi.back().first, caso.ultimoValore);
  EXPECT_EQ(fs.Content(caso.destinazione), prima);
  EXPECT_EQ(fs.Versione(caso.destinazione), versionePrima);
  const std::wstring cartella = FakeFileSystem::Parent(chiave);
  for (const std::wstring& f : fs.FilesIn(cartella))
    EXPECT_EQ(f.find(L"velisca-tmp"), std::wstring::npos) << "left behind: " << f;
  EXPECT_TRUE(fs.HasFolder(L"C:\\programmi\\Mardol\\ZORNAVEX\\Help"));
  EXPECT_TRUE(scrivania.fatti.empty());
  EXPECT_EQ(vista.fine, 1);
  EXPECT_TRUE(fs.pauses.empty()) << "reported at once";
}

INSTANTIATE_TEST_SUITE_P(
    OgniGuasto, SopraInstallazione,
    ::testing::Values(CasoSostituzione{kExe, L"\\ZORNAVEX.exe", Guasto::DiscoPieno, 112, 4},
                      CasoSostituzione{kExe, L"\\ZORNAVEX.exe", Guasto::SolaLettura, 5, 4},
                      CasoSostituzione{kHlp, L"\\ZORNAVEX.hlp", Guasto::DiscoPieno, 112, 5},
                      CasoSostituzione{kOcx, L"\\COMDLG32.OCX", Guasto::SolaLettura, 5, 7}));

TEST_F(Sequenza, DownloadMarkIsRemovedFromEveryInstalledFile) {
  for (const bool senzaFlussi : {false, true}) {
    fs.withoutStreams = senzaFlussi;
    for (const wchar_t* f : {L"\\ZORNAVEX.exe", L"\\ZORNAVEX.hlp", L"\\ZORNAVEX.cnt", L"\\COMDLG32.OCX"})
      fs.marked.insert(FakeFileSystem::Key(kSetup + f));
    FakeVista v;
    Installatore(fs, scrivania, kSetup, v).Timer1_Timer();
    EXPECT_EQ(v.boxes.at(0).titolo, L"Complimenti!") << senzaFlussi;
    EXPECT_EQ(v.passi.size(), 8u);
    for (const std::wstring& f : {kExe, kHlp, kCnt, kOcx})
      EXPECT_EQ(fs.marked.count(FakeFileSystem::Key(f)), senzaFlussi ? 1u : 0u) << f;
    EXPECT_EQ(fs.Content(kOcx), "ocx-1");
  }
}

TEST_F(Sequenza, TemporaryFileOfACutOffRunIsReplaced) {
  Tick();
  const std::wstring resto = NomeTemporaneo(kExe);
  fs.AddFile(resto, "exe-");
  fs.readOnly.insert(FakeFileSystem::Key(resto));
  FakeVista v;
  Installatore(fs, scrivania, kSetup, v).Timer1_Timer();
  EXPECT_EQ(v.boxes.at(0).titolo, L"Complimenti!");
  EXPECT_EQ(fs.Content(kExe), "exe-1");
  EXPECT_FALSE(fs.Content(resto));
}

TEST_F(Sequenza, InstallingOverAnEarlierInstallationReplacesTheFiles) {
  Tick();
  fs.AddFile(kSetup + L"\\ZORNAVEX.exe", "exe-2");
  fs.AddFile(kSetup + L"\\ZORNAVEX.cnt", "cnt-2");
  FakeVista seconda;
  Installatore(fs, scrivania, kSetup, seconda).Timer1_Timer();
  EXPECT_EQ(seconda.passi.size(), 8u);
  ASSERT_EQ(seconda.boxes.size(), 1u);
  EXPECT_EQ(seconda.boxes[0].titolo, L"Complimenti!");
  EXPECT_EQ(fs.Content(kExe), "exe-2");
  EXPECT_EQ(fs.Content(kCnt), "cnt-2");
  EXPECT_EQ(scrivania.fatti.size(), 2u);
}

TEST_F(Sequenza, WithoutWindowsFolderStepEightFailsAfterTheProgramFiles) {
  fs.RemoveFolder(L"c:\\windows\\system32");
  fs.RemoveFolder(L"c:\\windows");
  Tick();
  EXPECT_EQ(vista.passi.back().first, 7);
  EXPECT_NE(vista.boxes.at(0).testo.find(L"Numero 3"), std::wstring::npos);
  EXPECT_EQ(fs.Content(kCnt), "cnt-1");
}

TEST_F(Sequenza, MissingSystemSubfolderIsCreated) {
  fs.RemoveFolder(L"c:\\windows\\system32");
  Tick();
  EXPECT_EQ(vista.boxes.at(0).titolo, L"Complimenti!");
  EXPECT_EQ(fs.Content(kOcx), "ocx-1");
}

TEST_F(Sequenza, WhenProgrammiCannotBeMadeStepFiveFails) {
  // A file named like the folder blocks it, and everything below it.
  fs.AddFile(L"C:\\programmi", "");
  Tick();
  EXPECT_EQ(vista.passi.back().first, 4);
  EXPECT_NE(vista.boxes.at(0).testo.find(L"Numero 3"), std::wstring::npos);
}

// The shared control file in the system folder is never downgraded.
TEST_F(Sequenza, NewerControlInSystemFolderIsKept) {
  fs.AddFile(kOcx, "theirs", VersioneFile{6, 1, 0, 0});
  Tick();
  EXPECT_EQ(fs.Content(kOcx), "theirs");
  EXPECT_EQ(vista.passi.back(), (std::pair<int, std::wstring>{8, L"c:\\windows\\system32\\COMDLG32.OCX"}));
  EXPECT_EQ(vista.boxes.at(0).titolo, L"Complimenti!");
}

TEST_F(Sequenza, OlderEqualOrUnversionedControlIsReplaced) {
  for (std::optional<VersioneFile> v : {std::optional<VersioneFile>(VersioneFile{2, 0, 0, 5}),
                                        std::optional<VersioneFile>(kNostra), std::optional<VersioneFile>()}) {
    fs.AddFile(kOcx, "theirs", v);
    Tick();
    EXPECT_EQ(fs.Content(kOcx), "ocx-1");
  }
}

TEST_F(Sequenza, NewerControlDoesNotHideAMissingSource) {
  fs.AddFile(kOcx, "theirs", VersioneFile{6, 1, 0, 0});
  fs.RemoveFile(kSetup + L"\\COMDLG32.OCX");
  Tick();
  EXPECT_NE(vista.boxes.at(0).testo.find(L"Numero 2"), std::wstring::npos);
}

TEST_F(Sequenza, NoDesktopFolderMeansNoShortcutButSuccess) {
  scrivania.desktop.reset();
  Tick();
  EXPECT_TRUE(scrivania.fatti.empty());
  EXPECT_EQ(vista.boxes.at(0).titolo, L"Complimenti!");
}

TEST_F(Sequenza, DesktopLookupFailureGoesToTheReport) {
  scrivania.guasto = 534;
  Tick();
  EXPECT_NE(vista.boxes.at(0).testo.find(L"Numero 534"), std::wstring::npos);
  EXPECT_EQ(vista.fine, 1);
}

TEST(TestoErrore, WritesTheNumberInDecimalWithItsSign) {
  EXPECT_EQ(TestoErrore(112).substr(TestoErrore(112).size() - 10), L"Numero 112");
  const std::wstring negativo = TestoErrore(-2147024891);
  EXPECT_EQ(negativo.substr(negativo.find(L"Numero")), L"Numero -2147024891");
}

// The cancel button of the progress window.
TEST_F(Sequenza, CancelAnsweredYesBeforeAnyTickLeavesAnEarlierInstallation) {
  Tick();
  vista = FakeVista{};
  fs.calls.clear();
  vista.risposte = {6};
  bool pausedDuringQuestion = false;
  vista.duranteBox = [&] { pausedDuringQuestion = !Module1::InstallazioneAttiva; };
  Installatore(fs, scrivania, kSetup, vista).cmdAnnulla_Click();

  EXPECT_TRUE(pausedDuringQuestion);
  ASSERT_EQ(vista.boxes.size(), 1u);
  EXPECT_EQ(vista.boxes[0].testo, L"L'installazione non è stata completata.\r\nSi vuole uscire dal programma?");
  EXPECT_EQ(vista.boxes[0].titolo, L"Attenzione!");
  EXPECT_EQ(vista.boxes[0].stile, 68u);
  EXPECT_EQ(vista.fine, 1);
  EXPECT_EQ(fs.calls, (std::vector<std::wstring>{L"rd C:\\programmi\\Mardol\\ZORNAVEX\\Help",
                                                 L"rd C:\\programmi\\Mardol\\ZORNAVEX"}));
  EXPECT_EQ(fs.Content(kExe), "exe-1");
  EXPECT_TRUE(fs.HasFolder(L"C:\\programmi\\Mardol\\ZORNAVEX\\Help"));
}

TEST_F(Sequenza, CancelAnsweredYesOnAFreshSystemCreatesNothing) {
  vista.risposte = {6};
  Installatore(fs, scrivania, kSetup, vista).cmdAnnulla_Click();
  EXPECT_FALSE(fs.HasFolder(L"C:\\programmi"));
  EXPECT_EQ(vista.fine, 1);
}

TEST_F(Sequenza, CancelAnsweredNoResumesOnTheNextTick) {
  vista.risposte = {7};
  Installatore installatore(fs, scrivania, kSetup, vista);
  installatore.cmdAnnulla_Click();
  EXPECT_TRUE(Module1::InstallazioneAttiva);
  EXPECT_EQ(vista.fine, 0);
  EXPECT_TRUE(fs.calls.empty());
  installatore.Timer1_Timer();
  EXPECT_EQ(vista.passi.size(), 8u);
  EXPECT_EQ(vista.boxes.back().titolo, L"Complimenti!");
  EXPECT_EQ(vista.fine, 1);
}

TEST(Percorsi, SourcePathJoinsFolderAndName) {
  EXPECT_EQ(PercorsoSorgente(L"D:\\setup", L"\\ZORNAVEX.exe"), L"D:\\setup\\ZORNAVEX.exe");
  EXPECT_EQ(PercorsoSorgente(L"D:\\", L"\\ZORNAVEX.exe"), L"D:\\ZORNAVEX.exe");
  EXPECT_EQ(CartellaDi(L"D:\\setup\\Velisca.exe"), L"D:\\setup");
  EXPECT_EQ(CartellaDi(L"D:\\Velisca.exe"), L"D:\\");
  EXPECT_EQ(CartellaDi(L"\\\\server\\share\\setup\\Velisca.exe"), L"\\\\server\\share\\setup");
}

// The mapped file name of an image started from a network drive, as the
// redirectors of Windows 7 to 11 (and XP's) name it, and the paths that are
// not on a share.
TEST(Percorsi, NetworkPathOfAMappedImage) {
  const std::wstring unc = L"\\\\scuola\\lab\\setup\\Velisca.exe";
  EXPECT_EQ(PercorsoDiRete(L"\\Device\\Mup\\scuola\\lab\\setup\\Velisca.exe"), unc);
  EXPECT_EQ(PercorsoDiRete(L"\\Device\\Mup\\;LanmanRedirector\\;Z:00000000000a1b2c\\scuola\\lab\\setup\\Velisca.exe"), unc);
  EXPECT_EQ(PercorsoDiRete(L"\\device\\MUP\\;Z:00000000000a1b2c\\scuola\\lab\\setup\\Velisca.exe"), unc);
  EXPECT_EQ(PercorsoDiRete(L"\\Device\\LanmanRedirector\\;Z:0000000000003e7\\scuola\\lab\\setup\\Velisca.exe"), unc);
  EXPECT_EQ(CartellaDi(PercorsoDiRete(L"\\Device\\Mup\\scuola\\lab\\Velisca.exe")), L"\\\\scuola\\lab");
  for (const wchar_t* locale : {L"\\Device\\HarddiskVolume3\\setup\\Velisca.exe", L"\\Device\\Mup\\scuola",
                                L"\\Device\\Mup\\scuola\\", L"\\Device\\Mup\\;LanmanRedirector", L"\\Device\\Mup\\\\lab\\x",
                                L"\\Device\\Mupx\\scuola\\lab\\x", L"Z:\\setup\\Velisca.exe", L""})
    EXPECT_EQ(PercorsoDiRete(locale), L"") << locale;
}

}  // namespace
}  // namespace velisca::test
