// The main window's doors to the information windows: the help, the About
// window and the certificate behind the double click. The windows
// themselves live in info/, which knows nothing of this window.
#include "Modal.h"
#include "certificate_rules.h"
#include "frmAvvio.h"
#include "frmAvvio_info.h"
#include "help_sequence.h"

namespace zornavex {

// Whatever the help viewer makes of the request, the calculator goes on.
void frmAvvio::mnu_guida_Click() {
  CommonDialog& dialog = CommonDialog1();
  dialog.SetCancelError(true);
  dialog.SetHelpCommand(help::kHelpTab);
  dialog.SetHelpFile(kHelpFile);
  dialog.ShowHelp(hwnd());
}

void frmAvvio::mnu_Informazioni_Click() { forms::ShowModal(AboutWindow()); }

// Only the window's own surface counts. The enabled panel takes its clicks
// (a frame passes them to the window, so its area is left out here); a
// disabled panel and the disabled controls in it take no mouse input, so
// their whole area is the window's surface.
void frmAvvio::Form_DblClick(POINT where) {
  for (int frame : {Frame1, Frame2, Frame3, Frame4}) {
    RECT r{};
    HWND h = Control(frame);
    if (!h || !IsWindowEnabled(h) || !GetWindowRect(h, &r)) continue;
    MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    if (PtInRect(&r, where)) return;
  }
  Form_DblClick();
}

void frmAvvio::Form_DblClick() {
  const auto outcome = certificate::Evaluate(
      {Text(cmbFrequenza), Text(cmbFrequenza2), Text(cmbFrequenza3), Text(cmbFrequenza4)},
      {Text(txtTempoDiProgramma), Text(txtTempoTMR0), Text(txtValoreDaInserireTMR0)});
  if (outcome.unlockBoxes) {
    for (int box : {txtTempoDiProgramma, txtTempoTMR0, txtValoreDaInserireTMR0}) SetReadOnly(box, false);
  }
  if (outcome.openCertificate) {
    frmCertificato& certificate = CertificateWindow();
    certificate.SetCentreOver(hwnd());
    forms::ShowModal(certificate);
  }
}

}  // namespace zornavex
