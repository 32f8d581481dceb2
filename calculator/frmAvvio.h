// The calculator's main window: four panels, one active at a time.
#pragma once

#include <array>

#include "Form.h"
#include "calculations.h"

namespace zornavex {

// Control and menu identifiers. A control's panel is its id / 100.
enum Id : int {
  Frame1 = 100, lblMhz, cmbFrequenza, lblIstruzioniNormali, txtIstruzioniNormali, lblIstruzioniSalto,
  txtIstruzioniSalto, lblRisultato1, txtTempoDiProgramma, lblns1, cmdCalcola1,
  Frame2 = 200, lblFrequenza2, cmbFrequenza2, lblTMR0, txtValoreTMR0, lblPrescaler, txtValorePrescaler,
  lblTempoSecondi, txtTempoTMR0, lblNanosecondi, cmdCalcola2,
  Frame3 = 300, lblFrequenza3, cmbFrequenza3, lblTemporizzazionems, txtTemporizzazione, lblValorePrescaler2,
  txtValorePrescaler2, lblValoreTMR0, txtValoreDaInserireTMR0, lblPER, txtMoltiplicatore, cmdCalcola3,
  Frame4 = 400, Label1, cmbFrequenza4, lblNumeroIstruzioni, txtNumeroIstruzioni, lblRipetizioni, txtRipetizioni,
  lblTempoTotale, lblTempoCiclo, txtTempoTotale, lblns2, txtTempodiciclo, cmdCalcola4,
  mnu_Chiudi = 900, mnu_1, mnu_2, mnu_3, mnu_4, mnu_guida, mnu_Informazioni,
};

// The controls one calculation reads and writes.
struct PanelBinding {
  int frame;
  int frequency, first, second;  // inputs in tab order
  std::array<int, 2> results;    // result boxes in the order they are written
  PanelOutcome (*calculate)(const PanelInputs&, wchar_t decimalSeparator);
};

class frmAvvio : public forms::Form {
 public:
  frmAvvio();

  // Menu and button events.
  void mnu_1_Click() { SelezionaPannello(1); }
  void mnu_2_Click() { SelezionaPannello(2); }
  void mnu_3_Click() { SelezionaPannello(3); }
  void mnu_4_Click() { SelezionaPannello(4); }
  void mnu_Chiudi_Click();
  void mnu_guida_Click();
  void mnu_Informazioni_Click();
  void cmdCalcola1_Click();
  void cmdCalcola2_Click();
  void cmdCalcola3_Click();
  void cmdCalcola4_Click();
  void Form_DblClick();

  // Key filters of the four count boxes.
  void txtIstruzioniNormali_KeyPress(short& keyAscii);
  void txtIstruzioniSalto_KeyPress(short& keyAscii);
  void txtValoreTMR0_KeyPress(short& keyAscii);
  void txtValorePrescaler_KeyPress(short& keyAscii);

  // The active panel, 1 to 4.
  int PannelloAttivo() const { return attivo_; }
  bool IsChecked(int menuId) const;

 protected:
  const forms::FormDesign& Design() const override;
  std::span<const forms::ControlDesign> Controls() const override;
  std::span<const forms::Accelerator> Accelerators() const override;
  HMENU CreateMenuBar() override;
  void ApplyDesign() override;
  void Form_Load() override;
  void Form_DblClick(POINT where) override;
  void OnCommand(int id, int notifyCode) override;
  void OnClose() override { mnu_Chiudi_Click(); }

 private:
  void SelezionaPannello(int k);
  void AbilitaPannello(int frame, bool enabled);
  void Calcola(const PanelBinding& panel);
  int attivo_ = 1;
};

}  // namespace zornavex
