#include "frmStatoIstallazione.h"

#include <commctrl.h>

#include "FileSystemWin32.h"
#include "Messages.h"

namespace velisca {

using forms::ControlDesign;
using forms::Kind;

namespace {

const forms::FormDesign kForm{L"", 409, 133, WS_POPUP | WS_BORDER};

const ControlDesign kControls[] = {
    {frmStatoIstallazione::PrbStato, L"PrbStato", Kind::ProgressBar, L"", 12, 100, 385, 21},
    {frmStatoIstallazione::lblInfo, L"lblInfo", Kind::Label, L"", 12, 32, 385, 17},
    {frmStatoIstallazione::cmdAnnulla, L"cmdAnnulla", Kind::Button, L"&Annulla", 164, 62, 81, 25},
    {frmStatoIstallazione::Label1, L"Label1", Kind::Label, L"Copia di:", 12, 12, 200, 17},
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
    sorgente_ = CartellaEseguibile();
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

void frmStatoIstallazione::MostraAvanzamento(int valore, const std::wstring& testo) {
  SendMessageW(Control(PrbStato), PBM_SETPOS, static_cast<WPARAM>(valore), 0);
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
  return forms::ShowMessage(testo, titolo, stile);
}

void frmStatoIstallazione::Termina() { forms::EndProgram(); }

}  // namespace velisca
