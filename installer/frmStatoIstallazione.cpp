#include "frmStatoIstallazione.h"

#include <commctrl.h>

#include "FileSystemWin32.h"
#include "Messages.h"

namespace velisca {

using forms::ControlDesign;
using forms::Kind;

namespace {

// Without a title bar the caption is drawn nowhere: it is the window's name
// for screen readers.
const forms::FormDesign kForm{L"Programma d' istallazione", 409, 133, WS_POPUP | WS_BORDER, 0, 0,
                              forms::Placement::CentreScreen, std::nullopt, /*dialog=*/true};

// Top to bottom, as a reader reads them; only the button takes the focus.
const ControlDesign kControls[] = {
    {frmStatoIstallazione::Label1, L"Label1", Kind::Label, L"Copia di:", 12, 12, 200, 17},
    {frmStatoIstallazione::lblInfo, L"lblInfo", Kind::Label, L"", 12, 32, 385, 17},
    {frmStatoIstallazione::cmdAnnulla, L"cmdAnnulla", Kind::Button, L"&Annulla", 164, 62, 81, 25},
    {frmStatoIstallazione::PrbStato, L"PrbStato", Kind::ProgressBar, L"", 12, 100, 385, 21, nullptr, 0, false, true,
     0, false, std::nullopt, 0, L"Avanzamento dell'installazione"},
};

}  // namespace

frmStatoIstallazione::frmStatoIstallazione() = default;
frmStatoIstallazione::~frmStatoIstallazione() = default;

const forms::FormDesign& frmStatoIstallazione::Design() const { return kForm; }
std::span<const ControlDesign> frmStatoIstallazione::Controls() const { return kControls; }

void frmStatoIstallazione::UsaPiattaforma(FileSystem& fs, Scrivania& scrivania, std::wstring sorgente) {
  fs_ = &fs;
  scrivania_ = &scrivania;
  sorgente_ = std::move(sorgente);
}

Installatore frmStatoIstallazione::CreaInstallatore() {
  if (!fs_) {
    fsReale_ = std::make_unique<FileSystemWin32>();
    scrivaniaReale_ = std::make_unique<ScrivaniaWin32>();
    fs_ = fsReale_.get();
    scrivania_ = scrivaniaReale_.get();
    sorgente_ = CartellaSorgente();
  }
  return Installatore(*fs_, *scrivania_, sorgente_, *this);
}

void frmStatoIstallazione::ApplyDesign() {
  SendMessageW(Control(PrbStato), PBM_SETRANGE32, 0, 100);
  SendMessageW(Control(PrbStato), PBM_SETPOS, 0, 0);
}

void frmStatoIstallazione::Form_Load() { timer1_.Start(); }

void frmStatoIstallazione::Form_Activate() { SendMessageW(Control(PrbStato), PBM_SETRANGE32, 0, 8); }

void frmStatoIstallazione::OnCommand(int id, int notifyCode) {
  if (id == cmdAnnulla && notifyCode == BN_CLICKED) cmdAnnulla_Click();
}

void frmStatoIstallazione::Timer1_Timer() { CreaInstallatore().Timer1_Timer(); }

void frmStatoIstallazione::cmdAnnulla_Click() { CreaInstallatore().cmdAnnulla_Click(); }

// A themed bar glides towards a higher value on a timer of its own, which
// the installation's one tick never lets run; a lower value is drawn at once.
// So each value is reached from one step above, through a range widened by
// one when the value is the top.
void frmStatoIstallazione::MostraValoreSubito(int valore) {
  HWND bar = Control(PrbStato);
  const int massimo = Massimo();
  if (valore >= massimo) {
    SendMessageW(bar, PBM_SETRANGE32, 0, valore + 1);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(valore + 1), 0);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(valore), 0);
    SendMessageW(bar, PBM_SETRANGE32, 0, massimo);
  } else {
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(valore + 1), 0);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(valore), 0);
  }
}

void frmStatoIstallazione::MostraAvanzamento(int valore, const std::wstring& testo) {
  MostraValoreSubito(valore);
  SetText(lblInfo, testo);
  // The sequence does not yield to the message loop: paint each step now.
  UpdateWindow(Control(PrbStato));
  UpdateWindow(Control(lblInfo));
}

int frmStatoIstallazione::Valore() const {
  return static_cast<int>(SendMessageW(Control(PrbStato), PBM_GETPOS, 0, 0));
}
int frmStatoIstallazione::Massimo() const {
  return static_cast<int>(SendMessageW(Control(PrbStato), PBM_GETRANGE, FALSE, 0));
}

int frmStatoIstallazione::Messaggio(std::wstring_view testo, std::wstring_view titolo, unsigned stile) {
  // Over this window, which the background owns, whatever is active.
  return forms::ShowMessage(hwnd(), testo, titolo, stile);
}

void frmStatoIstallazione::Termina() { forms::EndProgram(); }

}  // namespace velisca
