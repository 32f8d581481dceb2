#include "frmPercorso.h"

#include "Finestre.h"
#include "Messages.h"
#include "Modal.h"
#include "Module1.h"
#include "resource.h"

namespace velisca {

using forms::ControlDesign;
using forms::Kind;

namespace {

// Without a title bar the caption is drawn nowhere: it is the page's name for
// screen readers, the same as the first page's title.
const forms::FormDesign kForm{L"Programma d' istallazione", 425, 137, WS_POPUP | WS_BORDER, 0, IDI_VELISCA,
                              forms::Placement::CentreScreen, std::nullopt, /*dialog=*/true};

// The two texts in reading order before Annulla; labels take no focus, so
// the tab order stays the buttons'.
const ControlDesign kControls[] = {
    {frmPercorso::cmdInstalla, L"cmdInstalla", Kind::PictureButton, L"", 12, 12, 73, 73,
     L"Fare click per installare il programma", 0, false, true, IDI_INSTALLA, false, std::nullopt, 0, L"Installa"},
    {frmPercorso::lblInformazioni, L"lblInformazioni", Kind::Label,
     L"Il programma d'stallazione copierà tutti i componenti ed il programma nelle cartelle predefinite. "
     L"Successivamente aggiungerà al Desktop un collegamento.",
     100, 12, 313, 44, nullptr, 0, false, true, 0, /*wrap=*/true},
    {frmPercorso::lblInformazioni2, L"lblInformazioni2", Kind::Label,
     L"Per terminare l'instalazione fare click su annulla. Per continuare fare clik sul pulsante a sinistra.", 100,
     62, 313, 30, nullptr, 0, false, true, 0, /*wrap=*/true},
    {frmPercorso::cmdAnnula, L"cmdAnnula", Kind::Button, L"&Annulla", 332, 100, 81, 25,
     L"Fare click per annullare l'istallazione"},
};

}  // namespace

const forms::FormDesign& frmPercorso::Design() const { return kForm; }
std::span<const ControlDesign> frmPercorso::Controls() const { return kControls; }

void frmPercorso::OnCommand(int id, int notifyCode) {
  if (notifyCode != BN_CLICKED) return;
  if (id == cmdInstalla) cmdInstalla_Click();
  else if (id == cmdAnnula) cmdAnnula_Click();
}

void frmPercorso::cmdAnnula_Click() {
  if (forms::ShowMessage(hwnd(), L"Si vuole veramente uscire dall'Velisca?", L"Uscire dall'installazione?",
                         kDomanda) == IDYES)
    forms::EndProgram();
}

void frmPercorso::cmdInstalla_Click() {
  // Gone before the progress window opens: only that one stands in front of
  // the background.
  Unload();
  Module1::MostraPercorso = false;
  Module1::InstallazioneAttiva = true;
  // In front of the background even when another program is active now.
  forms::ShowModal(Stato(), Schermata().hwnd());
}

}  // namespace velisca
