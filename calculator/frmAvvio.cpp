#include "frmAvvio.h"

#include "Messages.h"
#include "Module1.h"

namespace zornavex {

namespace {

constexpr forms::ColourValue kRosso = 255;
constexpr forms::ColourValue kCaptionInattivo = forms::SystemColour(COLOR_BTNFACE);   // 0x8000000F
constexpr forms::ColourValue kCaptionPredefinito = forms::SystemColour(COLOR_BTNTEXT); // 0x80000012
constexpr int kFrames[] = {Frame1, Frame2, Frame3, Frame4};
constexpr int kMenuPannelli[] = {mnu_1, mnu_2, mnu_3, mnu_4};

const PanelBinding kPannello1{Frame1, cmbFrequenza, txtIstruzioniNormali, txtIstruzioniSalto,
                              {txtTempoDiProgramma, 0}, &CalcolaTempoProgramma};
const PanelBinding kPannello2{Frame2, cmbFrequenza2, txtValoreTMR0, txtValorePrescaler,
                              {txtTempoTMR0, 0}, &CalcolaTempoTMR0};
const PanelBinding kPannello3{Frame3, cmbFrequenza3, txtTemporizzazione, txtValorePrescaler2,
                              {txtValoreDaInserireTMR0, txtMoltiplicatore}, &CalcolaValoreTMR0};
const PanelBinding kPannello4{Frame4, cmbFrequenza4, txtNumeroIstruzioni, txtRipetizioni,
                              {txtTempoTotale, txtTempodiciclo}, &CalcolaTempoWDT};

}  // namespace

frmAvvio::frmAvvio() = default;

void frmAvvio::ApplyDesign() {
  for (int list : {cmbFrequenza, cmbFrequenza2, cmbFrequenza3, cmbFrequenza4}) {
    for (const wchar_t* item : {L"4", L"5", L"6", L"7", L"8", L"9", L"10"})
      SendMessageW(Control(list), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  // Panels 2 to 4 are disabled by the design table itself.
  SetForeColour(Frame1, kRosso);
  for (int frame : {Frame2, Frame3, Frame4}) SetForeColour(frame, kCaptionPredefinito);
  OnKeyPress(txtIstruzioniNormali, [this](short& k) { txtIstruzioniNormali_KeyPress(k); });
  OnKeyPress(txtIstruzioniSalto, [this](short& k) { txtIstruzioniSalto_KeyPress(k); });
  OnKeyPress(txtValoreTMR0, [this](short& k) { txtValoreTMR0_KeyPress(k); });
  OnKeyPress(txtValorePrescaler, [this](short& k) { txtValorePrescaler_KeyPress(k); });
}

void frmAvvio::Form_Load() { Module1::ColoreFrameAttivo = kRosso; }

void frmAvvio::SelezionaPannello(int k) {
  for (int j = 1; j <= 4; ++j) {
    AbilitaPannello(kFrames[j - 1], j == k);
    SetForeColour(kFrames[j - 1], j == k ? Module1::ColoreFrameAttivo : kCaptionInattivo);
  }
  for (int j = 1; j <= 4; ++j)
    CheckMenuItem(Menu(), kMenuPannelli[j - 1], MF_BYCOMMAND | (j == k ? MF_CHECKED : MF_UNCHECKED));
  attivo_ = k;
  if (k == 1) {
    Focus(cmbFrequenza);
  } else if (!GetFocus() && GetActiveWindow() == hwnd()) {
    // The focused control was in a panel just disabled: no control keeps it.
    ParkFocus();
  }
}

// A disabled panel disables everything drawn inside it.
void frmAvvio::AbilitaPannello(int frame, bool enabled) {
  for (const forms::ControlDesign& c : Controls())
    if (c.id / 100 == frame / 100) SetEnabled(c.id, enabled);
}

bool frmAvvio::IsChecked(int menuId) const {
  return (GetMenuState(Menu(), menuId, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void frmAvvio::mnu_Chiudi_Click() { forms::EndProgram(); }

void frmAvvio::Calcola(const PanelBinding& panel) {
  const PanelInputs inputs{Text(panel.frequency), Text(panel.first), Text(panel.second)};
  const PanelOutcome outcome = panel.calculate(inputs, Module1::SeparatoreDecimale());
  if (outcome.warning != Warning::None) {
    Module1::MostraAvviso(outcome.warning);
    const int slots[] = {panel.frequency, panel.first, panel.second};
    if (outcome.focus != InputSlot::None) {
      const int target = slots[static_cast<int>(outcome.focus)];
      if (outcome.clearFocused) SetText(target, L"");
      Focus(target);
    }
    return;
  }
  if (outcome.fault != Fault::None) {
    Module1::SegnalaErrore(outcome.fault);
    return;
  }
  for (size_t i = 0; i < outcome.results.size() && i < panel.results.size(); ++i)
    SetText(panel.results[i], outcome.results[i]);
}

void frmAvvio::cmdCalcola1_Click() { Calcola(kPannello1); }
void frmAvvio::cmdCalcola2_Click() { Calcola(kPannello2); }
void frmAvvio::cmdCalcola3_Click() { Calcola(kPannello3); }
void frmAvvio::cmdCalcola4_Click() { Calcola(kPannello4); }

void frmAvvio::txtIstruzioniNormali_KeyPress(short& keyAscii) { FiltraCifre(keyAscii); }
void frmAvvio::txtIstruzioniSalto_KeyPress(short& keyAscii) { FiltraCifre(keyAscii); }
void frmAvvio::txtValoreTMR0_KeyPress(short& keyAscii) { FiltraCifre(keyAscii); }
void frmAvvio::txtValorePrescaler_KeyPress(short& keyAscii) { FiltraCifre(keyAscii); }

void frmAvvio::OnCommand(int id, int notifyCode) {
  if (notifyCode != BN_CLICKED && notifyCode != kFromMenu && notifyCode != kFromAccelerator) return;
  switch (id) {
    case mnu_Chiudi: mnu_Chiudi_Click(); break;
    case mnu_1: mnu_1_Click(); break;
    case mnu_2: mnu_2_Click(); break;
    case mnu_3: mnu_3_Click(); break;
    case mnu_4: mnu_4_Click(); break;
    case mnu_guida: mnu_guida_Click(); break;
    case mnu_Informazioni: mnu_Informazioni_Click(); break;
    case cmdCalcola1: cmdCalcola1_Click(); break;
    case cmdCalcola2: cmdCalcola2_Click(); break;
    case cmdCalcola3: cmdCalcola3_Click(); break;
    case cmdCalcola4: cmdCalcola4_Click(); break;
    default: break;
  }
}

}  // namespace zornavex
