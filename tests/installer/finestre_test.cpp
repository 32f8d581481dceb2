// The installer's windows in process, under Wine: texts, styles, the hand-over
// through the two flags and the timers, and the progress window over an
// in-memory file system.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <vector>


#include "Collegamento_percorsi.h"
#include "Finestre.h"
#include "Modal.h"
#include "Module1.h"
#include "fake_file_system.h"
#include "ui_driver.h"

namespace velisca {
namespace {

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)); }

bool Centred(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromWindow(h, MONITOR_DEFAULTTOPRIMARY), &mi);
  const int dx = (r.left - mi.rcMonitor.left) - (mi.rcMonitor.right - r.right);
  const int dy = (r.top - mi.rcMonitor.top) - (mi.rcMonitor.bottom - r.bottom);
  return std::abs(dx) <= 1 && std::abs(dy) <= 1;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
  return lf;
}

// Another top-level window made active, as when the user is in another
// program: the installer's windows must not take it as their owner.
struct AltraFinestra {
  AltraFinestra()
      : hwnd(CreateWindowExW(0, L"STATIC", L"altra", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                             nullptr, nullptr, nullptr)) {
    SetActiveWindow(hwnd);
  }
  ~AltraFinestra() { DestroyWindow(hwnd); }
  HWND hwnd;
};

class Finestre : public ::testing::Test {
 protected:
  void SetUp() override {
    Module1::MostraPercorso = false;
    Module1::InstallazioneAttiva = false;
  }
  void TearDown() override {
    forms::SetModalHandler(nullptr);
    for (forms::Form* f : std::initializer_list<forms::Form*>{&Stato(), &Percorso(), &Schermata(), &Avvio()})
      f->Unload();
    zxtest::Settle();
  }
  zxtest::Seams seams;
};

TEST_F(Finestre, ConfirmationPageShowsTheProductAndFocusesSi) {
  frmAvvio& avvio = Avvio();
  avvio.Show();
  zxtest::Activate(avvio.hwnd());
  HWND h = avvio.hwnd();
  EXPECT_EQ(zxtest::ReadText(h), L"Programma d' istallazione");
  EXPECT_EQ(avvio.Text(frmAvvio::lblInfo), L"Si è scelto d' installare il programma:");
  EXPECT_EQ(avvio.Text(frmAvvio::lblNomeProgramma), L"ZORNAVEX");
  EXPECT_EQ(avvio.Text(frmAvvio::lblInfo2), L"Continuare?");
  EXPECT_EQ(avvio.Text(frmAvvio::cmdSI), L"&Si");
  EXPECT_EQ(avvio.Text(frmAvvio::cmdNO), L"&No");
  const DWORD style = Style(h);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_NE(SendMessageW(h, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_TRUE(Centred(h));
  EXPECT_EQ(GetFocus(), avvio.Control(frmAvvio::cmdSI));
  // Cmd order is the tab order: Si before No.
  EXPECT_EQ(GetNextDlgTabItem(h, avvio.Control(frmAvvio::cmdSI), FALSE), avvio.Control(frmAvvio::cmdNO));
}

TEST_F(Finestre, NoAndTheCloseBoxEndTheProgramWithNothingElse) {
  Avvio().Show();
  Avvio().cmdNO_Click();
  EXPECT_EQ(seams.Ends(), 1);
  SendMessageW(Avvio().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(seams.Ends(), 2);
  EXPECT_TRUE(seams.Shown().empty());
  EXPECT_FALSE(Module1::MostraPercorso);
}

TEST_F(Finestre, SiShowsTheBlueBackgroundAndUnloadsThePage) {
  int opened = 0;
  forms::SetModalHandler([&](forms::Form&) { ++opened; });
  Avvio().Show();
  Avvio().cmdSI_Click();
  EXPECT_TRUE(Module1::MostraPercorso);
  EXPECT_FALSE(Avvio().IsLoaded());
  frmSchermata& s = Schermata();
  ASSERT_TRUE(s.IsLoaded());
  HWND h = s.hwnd();
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_TRUE(IsZoomed(h));
  EXPECT_NE(Style(h) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(Style(h) & WS_BORDER);
  EXPECT_EQ(SendMessageW(h, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(s.Text(frmSchermata::lblIntestazione), L"Installazione di:");
  EXPECT_EQ(s.Text(frmSchermata::lblNomeProgramma), L"ZORNAVEX");
  for (auto [id, points] : {std::pair{frmSchermata::lblIntestazione, 36.0}, {frmSchermata::lblNomeProgramma, 21.75}}) {
    SCOPED_TRACE(id == frmSchermata::lblIntestazione ? "lblIntestazione" : "lblNomeProgramma");
    const LOGFONTW lf = FontOf(s.Control(id));
    EXPECT_STREQ(lf.lfFaceName, L"Arial");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(-lf.lfHeight, static_cast<LONG>(points * s.Dpi() / 72.0 + 0.5));
    EXPECT_EQ(s.ForeColour(id), forms::SystemColour(COLOR_WINDOW));
  }
  // The screen is blue where no label is.
  UpdateWindow(h);
  RECT client{};
  GetClientRect(h, &client);
  HDC dc = GetDC(h);
  EXPECT_EQ(GetPixel(dc, 5, client.bottom - 5), RGB(0, 0, 192));
  ReleaseDC(h, dc);
  // The name stands to the right of the heading and a little lower.
  RECT heading{}, name{};
  GetWindowRect(s.Control(frmSchermata::lblIntestazione), &heading);
  GetWindowRect(s.Control(frmSchermata::lblNomeProgramma), &name);
  EXPECT_GE(name.left, heading.right);
  EXPECT_GT(name.top, heading.top);
}

TEST_F(Finestre, BackgroundTimerOpensTheInformationPageOnceWhileTheFlagIsSet) {
  int opened = 0;
  forms::Form* shown = nullptr;
  ULONGLONG flagSet = 0, pageOpened = 0;
  forms::SetModalHandler([&](forms::Form& f) {
    if (++opened == 1) pageOpened = GetTickCount64();
    shown = &f;
    frmPercorso& p = Percorso();
    EXPECT_TRUE(IsWindowVisible(p.hwnd()));
    EXPECT_NE(Style(p.hwnd()) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_TRUE(Centred(p.hwnd()));
    // Owned by the background: no task-bar button of its own.
    EXPECT_EQ(GetWindow(p.hwnd(), GW_OWNER), Schermata().hwnd());
    EXPECT_EQ(GetFocus(), p.Control(frmPercorso::cmdInstalla));
    EXPECT_EQ(p.Text(frmPercorso::lblInformazioni),
              L"Il programma d'stallazione copierà tutti i componenti ed il programma nelle cartelle predefinite. "
              L"Successivamente aggiungerà al Desktop un collegamento.");
    EXPECT_EQ(p.Text(frmPercorso::lblInformazioni2),
              L"Per terminare l'instalazione fare click su annulla. Per continuare fare clik sul pulsante a sinistra.");
    EXPECT_EQ(p.Text(frmPercorso::cmdAnnula), L"&Annulla");
    EXPECT_NE(SendMessageW(p.Control(frmPercorso::cmdInstalla), BM_GETIMAGE, IMAGE_ICON, 0), 0);
    // Ticks falling due while the page is up do not open it again: nothing to wait for.
    zxtest::Pump(300);
  });
  Schermata().Show();
  zxtest::Pump(250);  // a few ticks that must open nothing
  EXPECT_EQ(opened, 0) << "the flag is still False";
  AltraFinestra altra;
  ASSERT_EQ(GetActiveWindow(), altra.hwnd);
  Module1::MostraPercorso = true;
  flagSet = GetTickCount64();
  forms::PumpUntil([&] { return opened > 0; }, 2000);
  ASSERT_EQ(opened, 1);
  // One interval of 80 ms, with room for a slow emulated system.
  EXPECT_LT(pageOpened - flagSet, 500u);
  EXPECT_EQ(shown, &Percorso());
  Module1::MostraPercorso = false;
  zxtest::Pump(250);  // a few ticks that must open nothing
  EXPECT_EQ(opened, 1);
}

TEST_F(Finestre, AnnullaOnTheInformationPageAsksAndEndsOnlyOnYes) {
  Percorso().Show();
  seams.Answer(IDNO);
  Percorso().cmdAnnula_Click();
  ASSERT_EQ(seams.Shown().size(), 1u);
  EXPECT_EQ(seams.Shown()[0].text, L"Si vuole veramente uscire dall'Velisca?");
  EXPECT_EQ(seams.Shown()[0].title, L"Uscire dall'installazione?");
  EXPECT_EQ(seams.Shown()[0].style, 68u);
  EXPECT_EQ(seams.Shown()[0].owner, Percorso().hwnd());
  EXPECT_EQ(seams.Ends(), 0);
  EXPECT_TRUE(IsWindowVisible(Percorso().hwnd()));
  seams.Answer(IDYES);
  Percorso().cmdAnnula_Click();
  EXPECT_EQ(seams.Ends(), 1);
}

// The whole hand-over with the real windows, ending in the progress window
// over an in-memory file system.
class Installazione : public Finestre {
 protected:
  void SetUp() override {
    Finestre::SetUp();
    Collegamento::PercorsoDesktop.clear();
    for (const wchar_t* n : {L"\\ZORNAVEX.exe", L"\\ZORNAVEX.hlp", L"\\ZORNAVEX.cnt", L"\\COMDLG32.OCX"})
      fs.AddFile(std::wstring(L"E:\\setup") + n, "x");
    Stato().UsaPiattaforma(fs, scrivania, L"E:\\setup");
  }
  test::FakeFileSystem fs;
  struct : Scrivania {
    NumeroErrore TrovaDesktop() override {
      std::wstring p = L"C:\\Desktop";
      Collegamento::ImpostaPercorsoDesktop(p);
      return 0;
    }
    bool CreaCollegamento(const std::wstring& f, const std::wstring&, const std::wstring&, const std::wstring&,
                          const std::wstring&, std::int32_t, std::int32_t) override {
      file = f;
      return true;
    }
    std::wstring file;
  } scrivania;
};

TEST_F(Installazione, InstallaUnloadsThePageThenTheFirstTickInstalls) {
  bool checked = false;
  forms::SetModalHandler([&](forms::Form& f) {
    if (&f == &Percorso()) {
      AltraFinestra altra;
      Percorso().cmdInstalla_Click();
      return;
    }
    ASSERT_EQ(&f, &Stato());
    checked = true;
    frmStatoIstallazione& st = Stato();
    EXPECT_FALSE(Percorso().IsLoaded());
    EXPECT_FALSE(Module1::MostraPercorso);
    EXPECT_TRUE(Module1::InstallazioneAttiva);
    EXPECT_NE(Style(st.hwnd()) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_EQ(SendMessageW(st.hwnd(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_TRUE(Centred(st.hwnd()));
    EXPECT_EQ(GetWindow(st.hwnd(), GW_OWNER), Schermata().hwnd());
    EXPECT_EQ(GetFocus(), st.Control(frmStatoIstallazione::cmdAnnulla));
    EXPECT_EQ(st.Text(frmStatoIstallazione::Label1), L"Copia di:");
    EXPECT_EQ(st.Text(frmStatoIstallazione::cmdAnnulla), L"&Annulla");
    EXPECT_EQ(st.Massimo(), 8);
    std::vector<std::pair<int, std::wstring>> during;
    seams.onShow = [&](const forms::ShownMessage&) {
      during.emplace_back(st.Valore(), st.Text(frmStatoIstallazione::lblInfo));
    };
    forms::PumpUntil([&] { return !seams.Shown().empty(); }, 2000);
    ASSERT_EQ(seams.Shown().size(), 1u);
    EXPECT_EQ(seams.Shown()[0].title, L"Complimenti!");
    EXPECT_EQ(seams.Shown()[0].text, L"L'installazione è stata portata a termine");
    EXPECT_EQ(seams.Shown()[0].style, 64u);
    EXPECT_EQ(seams.Shown()[0].owner, st.hwnd());
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0], (std::pair<int, std::wstring>{8, L"c:\\windows\\system32\\COMDLG32.OCX"}));
    EXPECT_EQ(seams.Ends(), 1);
  });
  Module1::MostraPercorso = true;
  Schermata().Show();
  forms::PumpUntil([&] { return checked; }, 3000);
  EXPECT_TRUE(checked);
  EXPECT_EQ(scrivania.file, L"C:\\Desktop\\ZORNAVEX.lnk");
  EXPECT_EQ(fs.Content(L"C:\\programmi\\Mardol\\ZORNAVEX\\ZORNAVEX.exe"), "x");
}

TEST_F(Installazione, CancelBeforeTheFirstTickPausesAndNoResumes) {
  Module1::InstallazioneAttiva = true;
  Stato().Load();  // its timer runs, but no tick has been dispatched yet
  seams.Answer(IDNO);
  bool paused = false;
  seams.onShow = [&](const forms::ShownMessage&) {
    paused = !Module1::InstallazioneAttiva;
    zxtest::Pump(200);  // ticks while the question is up do nothing: nothing to wait for
  };
  Stato().cmdAnnulla_Click();
  EXPECT_TRUE(paused);
  ASSERT_EQ(seams.Shown().size(), 1u);
  EXPECT_EQ(seams.Shown()[0].title, L"Attenzione!");
  EXPECT_TRUE(fs.calls.empty());
  seams.onShow = nullptr;
  forms::PumpUntil([&] { return seams.Shown().size() == 2; }, 2000);
  ASSERT_EQ(seams.Shown().size(), 2u);
  EXPECT_EQ(seams.Shown()[1].title, L"Complimenti!");
}

LRESULT CALLBACK RecordPositions(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR log) {
  if (msg == PBM_SETPOS) reinterpret_cast<std::vector<WPARAM>*>(log)->push_back(wp);
  return DefSubclassProc(h, msg, wp, lp);
}

// Each value reaches the bar from one above it: a themed bar draws a value
// that moves back at once, where it would glide towards a higher one on a
// timer the installation's single tick never lets run.
TEST_F(Installazione, EachStepReachesTheBarFromAbove) {
  frmStatoIstallazione& st = Stato();
  st.Show();
  zxtest::Activate(st.hwnd());
  ASSERT_EQ(st.Massimo(), 8);
  std::vector<WPARAM> positions;
  HWND bar = st.Control(frmStatoIstallazione::PrbStato);
  ASSERT_TRUE(SetWindowSubclass(bar, &RecordPositions, 7, reinterpret_cast<DWORD_PTR>(&positions)));
  for (int step = 1; step <= 8; ++step) {
    positions.clear();
    st.MostraAvanzamento(step, L"passo");
    EXPECT_EQ(st.Valore(), step);
    EXPECT_EQ(st.Massimo(), 8);
    ASSERT_GE(positions.size(), 2u) << step;
    EXPECT_EQ(positions.back(), static_cast<WPARAM>(step));
    EXPECT_EQ(positions[positions.size() - 2], static_cast<WPARAM>(step + 1));
  }
  RemoveWindowSubclass(bar, &RecordPositions, 7);
}

}  // namespace
}  // namespace velisca
