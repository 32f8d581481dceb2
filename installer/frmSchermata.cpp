#include "frmSchermata.h"

#include "Finestre.h"
#include "Modal.h"
#include "Module1.h"

namespace velisca {

using forms::ControlDesign;
using forms::FontSpec;
using forms::Kind;

namespace {

constexpr forms::ColourValue kBlu = 0x00C00000;  // RGB(0, 0, 192)

// Without a title bar its caption shows only on its task bar button, and is
// its name for screen readers. In high contrast the blue gives way to the
// window colour.
const forms::FormDesign kForm{.caption = L"Installazione di ZORNAVEX", .clientWidth = 640, .clientHeight = 480,
    .style = WS_POPUP | WS_BORDER, .placement = forms::Placement::Maximised, .backColour = kBlu};

const ControlDesign kControls[] = {
    {.id = frmSchermata::lblIntestazione, .name = L"lblIntestazione", .kind = Kind::Label,
     .text = L"Installazione di:", .x = 24, .y = 16, .w = 420, .h = 64,
     .font = FontSpec{.face = L"Arial", .points = 36, .bold = true, .italic = true}},
    {.id = frmSchermata::lblNomeProgramma, .name = L"lblNomeProgramma", .kind = Kind::Label, .text = L"",
     .x = 470, .y = 44, .w = 400, .h = 40,
     .font = FontSpec{.face = L"Arial", .points = 21.75, .bold = true, .italic = true}},
};

}  // namespace

const forms::FormDesign& frmSchermata::Design() const { return kForm; }
std::span<const ControlDesign> frmSchermata::Controls() const { return kControls; }

void frmSchermata::ApplyDesign() {
  // Large white text on the blue screen, in whatever the scheme calls white;
  // in high contrast, the window text on the window colour.
  for (int label : {lblIntestazione, lblNomeProgramma})
    SetForeColour(label, forms::SystemColour(COLOR_WINDOW), forms::SystemColour(COLOR_WINDOWTEXT));
}

void frmSchermata::Form_Load() {
  SetText(lblNomeProgramma, kNomeProgramma);
  timer1_.Start();
}

void frmSchermata::Timer1_Timer() {
  if (!Module1::MostraPercorso) return;
  // Returns when the page has gone; the timer does not tick into it meanwhile.
  // Owned by the background even when another program is active as it ticks.
  forms::ShowModal(Percorso(), hwnd());
}

}  // namespace velisca
