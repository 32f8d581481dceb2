#include "frmCertificato.h"

#include "Messages.h"
#include "resource.h"

namespace zornavex {

using forms::ControlDesign;
using forms::Kind;

namespace {

const forms::FormDesign kSpec{.caption = L"Certificato di Autenticità", .clientWidth = 309, .clientHeight = 244,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER, .iconId = IDI_CERTIFICATO,
    .placement = forms::Placement::CentreOwner, .dialog = true};

// The frame's origin: the labels' places are given within it.
constexpr int FX = 4, FY = 4;

// Button first, then the labels: the earlier a control is created, the
// higher it lies, so the button stays visible over the labels. The frame,
// made before all of them, is only its edge. Only the button takes the focus.
// The lower label stops short of the frame's right edge so it does not hide it.
const ControlDesign kControls[] = {
    {.id = frmCertificato::cmdOK, .name = L"cmdOK", .kind = Kind::Button, .text = L"&OK",
     .x = 114, .y = 200, .w = 81, .h = 33},
    {.id = frmCertificato::lblDichiarazione1, .name = L"lblDichiarazione1", .kind = Kind::Label,
     .text = L"Questa finestra serve soltanto a dimostrare che il programma appartiene al suo autore, Enrico "
             L"Vassallo. Vi si accede con una sequenza di tasti che conosce solo il programmatore.",
     .x = FX + 4, .y = FY + 136, .w = 295, .h = 65, .wrap = true,
     .font = forms::FontSpec{.points = 8.25, .bold = true},
     .extraStyle = WS_CLIPSIBLINGS},
    {.id = frmCertificato::lblDichiarazione, .name = L"lblDichiarazione", .kind = Kind::Label,
     .text = L"Io sottoscritto Enrico Vassallo dichiaro di aver scritto questo programma dal 3 marzo 2003 e di "
             L"averlo compilato il 28 settembre 2003.\n"
             L"È vietato modificarlo, venderlo o cederlo senza il permesso del programmatore: ogni abuso o "
             L"modifica sarà perseguito a norma di legge.",
     .x = FX + 5, .y = FY + 12, .w = 293, .h = 117, .wrap = true,
     .font = forms::FontSpec{.points = 9.75},
     .extraStyle = WS_CLIPSIBLINGS},
    {.id = frmCertificato::fm1, .name = L"fm1", .kind = Kind::GroupBox, .text = L"",
     .x = FX, .y = FY, .w = 301, .h = 237, .extraStyle = WS_CLIPSIBLINGS},
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
