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
const forms::FormDesign kForm{.caption = L"Programma d' istallazione", .clientWidth = 425, .clientHeight = 137,
    .style = WS_POPUP | WS_BORDER, .iconId = IDI_VELISCA, .dialog = true};

// The two texts in reading order before Annulla; labels take no focus, so
// the tab order stays the buttons'.
const ControlDesign kControls[] = {
    {.id = frmPercorso::cmdInstalla, .name = L"cmdInstalla", .kind = Kind::PictureButton, .text = L"",
     .x = 12, .y = 12, .w = 73, .h = 73, .tip = L"Fare click per installare il programma", .iconId = IDI_INSTALLA,
     .accName = L"Installa"},
    {.id = frmPercorso::lblInformazioni, .name = L"lblInformazioni", .kind = Kind::Label,
     .text = L"Il programma d'stallazione copierà tutti i componenti ed il programma nelle cartelle predefinite. "
             L"Successivamente aggiungerà al Desktop un collegamento.",
     .x = 100, .y = 12, .w = 313, .h = 44, .wrap = true},
    {.id = frmPercorso::lblInformazioni2, .name = L"lblInformazioni2", .kind = Kind::Label,
     .text = L"Per terminare l'instalazione fare click su annulla. Per continuare fare clik sul pulsante a sinistra.",
     .x = 100, .y = 62, .w = 313, .h = 30, .wrap = true},
    {.id = frmPercorso::cmdAnnula, .name = L"cmdAnnula", .kind = Kind::Button, .text = L"&Annulla",
     .x = 332, .y = 100, .w = 81, .h = 25, .tip = L"Fare click per annullare l'istallazione"},
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
