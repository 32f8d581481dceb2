#include "frmStatoIstallazione.h"

#include <commctrl.h>

#include "FileSystemWin32.h"
#include "Messages.h"

namespace velisca {

using forms::ControlDesign;
using forms::Kind;

namespace {

// What the portable sequence writes as numbers, as the platform defines them.
static_assert(kInformazione == (MB_OK | MB_ICONINFORMATION));
static_assert(kDomanda == (MB_YESNO | MB_ICONINFORMATION));
static_assert(kRispostaSi == IDYES);
static_assert(kMostraCollegamento == SW_SHOW);

// Without a title bar the caption is drawn nowhere: it is the window's name
// for screen readers.
const forms::FormDesign kForm{.caption = L"Programma d' istallazione", .clientWidth = 409, .clientHeight = 133,
    .style = WS_POPUP | WS_BORDER, .dialog = true};

// Top to bottom, as a reader reads them; only the button takes the focus.
const ControlDesign kControls[] = {
    {.id = frmStatoIstallazione::Label1, .name = L"Label1", .kind = Kind::Label, .text = L"Copia di:",
     .x = 12, .y = 12, .w = 200, .h = 17},
    {.id = frmStatoIstallazione::lblInfo, .name = L"lblInfo", .kind = Kind::Label, .text = L"",
     .x = 12, .y = 32, .w = 385, .h = 17},
    {.id = frmStatoIstallazione::cmdAnnulla, .name = L"cmdAnnulla", .kind = Kind::Button, .text = L"&Annulla",
     .x = 164, .y = 62, .w = 81, .h = 25},
    {.id = frmStatoIstallazione::PrbStato, .name = L"PrbStato", .kind = Kind::ProgressBar, .text = L"",
     .x = 12, .y = 100, .w = 385, .h = 21, .accName = L"Avanzamento dell'installazione"},
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

void frmStatoIstallazione::Form_Activate() { SendMessageW(Control(PrbStato), PBM_SETRANGE32, 0, kNumeroPassi); }

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
