#include "frmAvvio.h"

#include "Finestre.h"
#include "Messages.h"
#include "Module1.h"
#include "resource.h"

namespace velisca {

using forms::ControlDesign;
using forms::Kind;

namespace {

const forms::FormDesign kForm{L"Programma d' istallazione", 265, 121, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0,
                            IDI_VELISCA, forms::Placement::CentreScreen, std::nullopt, /*dialog=*/true};

// In the order a reader reads them, top to bottom: labels take no focus, so
// the buttons keep their tab order.
const ControlDesign kControls[] = {
    {frmAvvio::lblInfo, L"lblInfo", Kind::Label, L"Si è scelto d' installare il programma:", 16, 12, 233, 17},
    {frmAvvio::lblNomeProgramma, L"lblNomeProgramma", Kind::Label, L"NOME PROGRAMMA", 16, 34, 233, 17},
    {frmAvvio::lblInfo2, L"lblInfo2", Kind::Label, L"Continuare?", 16, 56, 233, 17},
    {frmAvvio::cmdSI, L"cmdSI", Kind::Button, L"&Si", 16, 84, 81, 25},
    {frmAvvio::cmdNO, L"cmdNO", Kind::Button, L"&No", 108, 84, 81, 25},
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
