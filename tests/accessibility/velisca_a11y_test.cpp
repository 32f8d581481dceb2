// Velisca's pages as a screen reader and a dark, high-contrast scheme show
// them, in process under Wine (run by a11y.sh, which sets the scheme).
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "Accessibility.h"
#include "Finestre.h"
#include "a11y_support.h"
#include "ui_driver.h"

using namespace velisca;

namespace {

void HighContrast(HWND window, bool on) {
  forms::SetHighContrastForTests(on);
  SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  zxtest::Pump(100);
}

class VeliscaA11y : public ::testing::Test {
 protected:
  void SetUp() override { forms::Initialise(); }
  void TearDown() override {
    forms::SetHighContrastForTests(std::nullopt);
    for (forms::Form* f : std::initializer_list<forms::Form*>{&Stato(), &Percorso(), &Schermata(), &Avvio()})
      f->Unload();
  }
  zxtest::Seams seams;
};

TEST_F(VeliscaA11y, EveryPageIsANamedDialogWithNamedControls) {
  struct Row {
    forms::Form* page;
    const wchar_t* window;
    std::vector<std::pair<int, const wchar_t*>> controls;
  };
  const Row rows[] = {
      {&Avvio(), L"Programma d' istallazione", {{frmAvvio::cmdSI, L"Si"}, {frmAvvio::cmdNO, L"No"}}},
      {&Percorso(), L"Programma d' istallazione",
       {{frmPercorso::cmdInstalla, L"Installa"}, {frmPercorso::cmdAnnula, L"Annulla"}}},
      {&Stato(), L"Programma d' istallazione",
       {{frmStatoIstallazione::cmdAnnulla, L"Annulla"},
        {frmStatoIstallazione::PrbStato, L"Avanzamento dell'installazione"}}},
      {&Schermata(), L"Installazione di ZORNAVEX", {}},
  };
  for (const Row& r : rows) {
    r.page->Show();
    zxtest::Pump(50);
    EXPECT_EQ(a11y::Name(r.page->hwnd()), r.window);
    for (const auto& [id, name] : r.controls) EXPECT_EQ(a11y::Name(r.page->Control(id)), name) << id;
    // The dialog role is given by annotation, a stub in Wine 8.
    const HRESULT hr = r.page->AnnotationResult();
    if (r.page == &Schermata()) {
      EXPECT_EQ(hr, S_FALSE) << "nothing to annotate on the background";
    } else {
      EXPECT_TRUE(hr == S_OK || hr == E_NOTIMPL) << std::hex << hr;
    }
    r.page->Unload();
  }
}

TEST_F(VeliscaA11y, DarkSchemeShowsEveryTextAndHighContrastReplacesTheBlue) {
  // Without high contrast only the blue screen keeps its colours.
  for (forms::Form* page : std::initializer_list<forms::Form*>{&Avvio(), &Percorso()}) {
    page->Show();
    zxtest::Activate(page->hwnd());
    EXPECT_EQ(a11y::InvisibleTexts(page->hwnd()), std::vector<std::wstring>{});
    page->Unload();
  }
  frmSchermata& screen = Schermata();
  screen.Show();
  zxtest::Activate(screen.hwnd());
  zxtest::Pump(300);
  // The window colour of this scheme is black: the heading sinks into the blue.
  EXPECT_EQ(a11y::InvisibleTexts(screen.hwnd()).size(), 2u);
  HighContrast(screen.hwnd(), true);
  EXPECT_EQ(a11y::InvisibleTexts(screen.hwnd()), std::vector<std::wstring>{});
  Avvio().Show();
  a11y::Shot(Avvio().hwnd(), L"velisca-avvio-hc");
  Avvio().Unload();
  Percorso().Show();
  zxtest::Activate(Percorso().hwnd());
  a11y::Shot(GetDesktopWindow(), L"velisca-percorso-hc");
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
