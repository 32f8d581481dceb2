#include "frmCertificato.h"

#include "Messages.h"
#include "resource.h"

namespace zornavex {

using forms::ControlDesign;
using forms::Kind;

namespace {

const forms::FormDesign kSpec{L"Certificato di Autenticità", 309, 244,
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER, 0, IDI_CERTIFICATO,
                            forms::Placement::CentreOwner, std::nullopt, /*dialog=*/true};

// The frame's origin: the labels' places are given within it.
constexpr int FX = 4, FY = 4;

// Button first, then the labels: the earlier a control is created, the
// higher it lies, so the button stays visible over the labels. The frame,
// made before all of them, is only its edge. Only the button takes the focus.
// The lower label stops short of the frame's right edge so it does not hide it.
const ControlDesign kControls[] = {
    {frmCertificato::cmdOK, L"cmdOK", Kind::Button, L"&OK", 114, 200, 81, 33},
    {frmCertificato::lblDichiarazione1, L"lblDichiarazione1", Kind::Label,
     L"Questa finestra serve soltanto a dimostrare che il programma appartiene al suo autore, Enrico "
     L"Vassallo. Vi si accede con una sequenza di tasti che conosce solo il programmatore.",
     FX + 4, FY + 136, 295, 65, nullptr, 0, false, true, 0, /*wrap=*/true,
     forms::FontSpec{nullptr, 8.25, /*bold=*/true}, WS_CLIPSIBLINGS},
    {frmCertificato::lblDichiarazione, L"lblDichiarazione", Kind::Label,
     L"Io sottoscritto Enrico Vassallo dichiaro di aver scritto questo programma dal 3 marzo 2003 e di "
     L"averlo compilato il 28 settembre 2003.\n"
     L"È vietato modificarlo, venderlo o cederlo senza il permesso del programmatore: ogni abuso o "
     L"modifica sarà perseguito a norma di legge.",
     FX + 5, FY + 12, 293, 117, nullptr, 0, false, true, 0, /*wrap=*/true, forms::FontSpec{nullptr, 9.75},
     WS_CLIPSIBLINGS},
    {frmCertificato::fm1, L"fm1", Kind::GroupBox, L"", FX, FY, 301, 237, nullptr, 0, false, true, 0, false,
     std::nullopt, WS_CLIPSIBLINGS},
};

}  // namespace

frmCertificato::frmCertificato() { defaultButton_ = cmdOK; }

const forms::FormDesign& frmCertificato::Design() const { return kSpec; }
std::span<const ControlDesign> frmCertificato::Controls() const { return kControls; }

void frmCertificato::ApplyDesign() {
  for (int label : {lblDichiarazione1, lblDichiarazione}) {
    SetForeColour(label, forms::SystemColour(COLOR_WINDOWTEXT));
    SetBackColour(label, forms::SystemColour(COLOR_WINDOW));
  }
}

void frmCertificato::OnCommand(int id, int notifyCode) {
  if (id == cmdOK && notifyCode == BN_CLICKED) cmdOK_Click();
}

void frmCertificato::cmdOK_Click() { forms::EndProgram(); }

}  // namespace zornavex
