#include "frmAvvio.h"

#include "Finestre.h"
#include "Messages.h"
#include "Module1.h"
#include "resource.h"

namespace velisca {

using forms::ControlDesign;
using forms::Kind;

namespace {

const forms::FormDesign kForm{.caption = L"Programma d' istallazione", .clientWidth = 265, .clientHeight = 121,
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, .iconId = IDI_VELISCA, .dialog = true};

// In the order a reader reads them, top to bottom: labels take no focus, so
// the buttons keep their tab order.
const ControlDesign kControls[] = {
    {.id = frmAvvio::lblInfo, .name = L"lblInfo", .kind = Kind::Label,
     .text = L"Si è scelto d' installare il programma:", .x = 16, .y = 12, .w = 233, .h = 17},
    {.id = frmAvvio::lblNomeProgramma, .name = L"lblNomeProgramma", .kind = Kind::Label, .text = L"NOME PROGRAMMA",
     .x = 16, .y = 34, .w = 233, .h = 17},
    {.id = frmAvvio::lblInfo2, .name = L"lblInfo2", .kind = Kind::Label, .text = L"Continuare?",
     .x = 16, .y = 56, .w = 233, .h = 17},
    {.id = frmAvvio::cmdSI, .name = L"cmdSI", .kind = Kind::Button, .text = L"&Si", .x = 16, .y = 84, .w = 81, .h = 25},
    {.id = frmAvvio::cmdNO, .name = L"cmdNO", .kind = Kind::Button, .text = L"&No",
     .x = 108, .y = 84, .w = 81, .h = 25},
};

}  // namespace

const forms::FormDesign& frmAvvio::Design() const { return kForm; }
std::span<const ControlDesign> frmAvvio::Controls() const { return kControls; }

void frmAvvio::Form_Load() { SetText(lblNomeProgramma, kNomeProgramma); }

void frmAvvio::OnCommand(int id, int notifyCode) {
  if (notifyCode != BN_CLICKED) return;
  if (id == cmdSI) cmdSI_Click();
  else if (id == cmdNO) cmdNO_Click();
}

void frmAvvio::cmdSI_Click() {
  Module1::MostraPercorso = true;
  Schermata().Show();
  Unload();
}

void frmAvvio::cmdNO_Click() { forms::EndProgram(); }

}  // namespace velisca
