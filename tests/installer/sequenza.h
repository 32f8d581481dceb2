// The progress window's sequence over the in-memory file system: a desktop
// service and a view that record what they are asked, and the fixture that
// lays out a setup folder.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "Collegamento_percorsi.h"
#include "Module1.h"
#include "fake_file_system.h"

namespace velisca::test {

inline const std::wstring kSetup = L"D:\\setup";
inline const std::wstring kDesktop = L"C:\\users\\tester\\Desktop";
inline const std::wstring kExe = L"C:\\programmi\\Mardol\\ZORNAVEX\\ZORNAVEX.exe";
inline const std::wstring kHlp = L"C:\\programmi\\Mardol\\ZORNAVEX\\Help\\ZORNAVEX.hlp";
inline const std::wstring kCnt = L"C:\\programmi\\Mardol\\ZORNAVEX\\Help\\ZORNAVEX.cnt";
inline const std::wstring kOcx = L"c:\\windows\\system32\\COMDLG32.ocx";
inline constexpr VersioneFile kNostra{2, 0, 0, 6};

struct Collegamento_ {
  std::wstring file, target, lavoro, argomenti, icona;
  std::int32_t indice, mostra;
};

class FakeScrivania : public Scrivania {
 public:
  std::optional<std::wstring> desktop = kDesktop;  // nothing: the shell finds no folder
  NumeroErrore guasto = 0;
  std::vector<Collegamento_> fatti;
  std::int32_t cartellaChiesta = -1;

  NumeroErrore TrovaDesktop() override {
    cartellaChiesta = Collegamento::CartellaSpeciale;
    if (guasto) return guasto;
    if (desktop) {
      std::wstring p = *desktop;
      Collegamento::ImpostaPercorsoDesktop(p);
    }
    return 0;
  }
  bool CreaCollegamento(const std::wstring& file, const std::wstring& target, const std::wstring& lavoro,
                        const std::wstring& argomenti, const std::wstring& icona, std::int32_t indice,
                        std::int32_t mostra) override {
    fatti.push_back({file, target, lavoro, argomenti, icona, indice, mostra});
    return true;
  }
};

struct Box {
  std::wstring testo, titolo;
  unsigned stile;
};

class FakeVista : public VistaInstallazione {
 public:
  std::vector<std::pair<int, std::wstring>> passi;
  std::vector<Box> boxes;
  std::vector<int> risposte;
  int fine = 0;
  std::function<void()> duranteBox;

  void MostraAvanzamento(int valore, const std::wstring& testo) override { passi.emplace_back(valore, testo); }
  int Messaggio(std::wstring_view testo, std::wstring_view titolo, unsigned stile) override {
    boxes.push_back({std::wstring(testo), std::wstring(titolo), stile});
    if (duranteBox) duranteBox();
    if (risposte.empty()) return 1;
    const int r = risposte.front();
    risposte.erase(risposte.begin());
    return r;
  }
  void Termina() override { ++fine; }
};

class Sequenza : public ::testing::Test {
 protected:
  void SetUp() override {
    Collegamento::PercorsoDesktop.clear();
    Collegamento::CartellaSpeciale = 7;
    Module1::MostraPercorso = false;
    Module1::InstallazioneAttiva = true;
    fs.AddFolder(kSetup);
    fs.AddFile(kSetup + L"\\ZORNAVEX.exe", "exe-1");
    fs.AddFile(kSetup + L"\\ZORNAVEX.hlp", "hlp-1");
    fs.AddFile(kSetup + L"\\ZORNAVEX.cnt", "cnt-1");
    fs.AddFile(kSetup + L"\\COMDLG32.OCX", "ocx-1", kNostra);
  }
  void Tick() { Installatore(fs, scrivania, kSetup, vista).Timer1_Timer(); }

  FakeFileSystem fs;
  FakeScrivania scrivania;
  FakeVista vista;
};

}  // namespace velisca::test
