// Velisca's pages as a screen reader and a dark, high-contrast scheme show
// them, in process under Wine (run by a11y.sh, which sets the scheme).
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>

#include "Accessibility.h"
#include "Finestre.h"
#include "a11y_support.h"
#include "ui_driver.h"

using namespace velisca;

namespace {

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

// A page is read by its caption and a button by its own text without the
// access-key mark; the progress bar has a name of its own.
TEST_F(VeliscaA11y, EveryPageIsANamedDialogWithNamedControls) {
  int buttons = 0;
  for (forms::Form* page : std::initializer_list<forms::Form*>{&Avvio(), &Percorso(), &Stato(), &Schermata()}) {
    page->Show();
    zxtest::Settle();
    const std::wstring caption = zxtest::ReadText(page->hwnd());
    SCOPED_TRACE(testing::Message() << "page " << testing::PrintToString(caption));
    EXPECT_FALSE(caption.empty());
    EXPECT_EQ(a11y::Name(page->hwnd()), caption);
    for (HWND c = GetWindow(page->hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (!(GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP)) continue;
      std::wstring text = zxtest::ReadText(c);
      std::erase(text, L'&');
      EXPECT_EQ(a11y::Name(c), text) << "control " << GetDlgCtrlID(c);
      ++buttons;
    }
    if (page == &Stato()) {
      EXPECT_EQ(a11y::Name(page->Control(frmStatoIstallazione::PrbStato)), L"Avanzamento dell'installazione");
    }
    // The dialog role is given by annotation, a stub in Wine 8.
    const HRESULT hr = page->AnnotationResult();
    if (page == &Schermata()) {
      EXPECT_EQ(hr, S_FALSE) << "nothing to annotate on the background";
    } else {
      EXPECT_TRUE(hr == S_OK || hr == E_NOTIMPL) << std::hex << hr;
    }
    page->Unload();
  }
  EXPECT_EQ(buttons, 5);  // Si, No, Installa, Annulla, Annulla
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
  // The window colour of this scheme is black: the heading sinks into the blue.
  EXPECT_EQ(a11y::InvisibleTexts(screen.hwnd()).size(), 2u);
  a11y::HighContrast(screen.hwnd(), true);
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
