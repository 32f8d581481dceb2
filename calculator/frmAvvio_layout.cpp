// The design of the main window: sizes, texts and tab order.
#include <windows.h>

#include "frmAvvio.h"
#include "resource.h"

namespace zornavex {

using forms::ControlDesign;
using forms::Kind;

namespace {

// Panel origins in the window's client area.
constexpr int P1X = 4, P1Y = 12, P2X = 280, P2Y = 12, P3X = 4, P3Y = 200, P4X = 280, P4Y = 200;
constexpr int kFrameW = 257, kFrameH = 173;
constexpr wchar_t kFreqTip[] = L"Frequenza in Mhz";

// Only the first panel is active when the window opens: the others' controls
// are created disabled rather than disabled one by one afterwards.
ControlDesign InPanel(ControlDesign c) {
  if (c.id / 100 != Frame1 / 100) c.extraStyle |= WS_DISABLED;
  return c;
}

ControlDesign Frame(int id, const wchar_t* name, const wchar_t* caption, int x, int y) {
  return InPanel({.id = id, .name = name, .kind = Kind::GroupBox, .text = caption,
                 .x = x, .y = y, .w = kFrameW, .h = kFrameH});
}
ControlDesign Lbl(int id, const wchar_t* name, const wchar_t* text, int px, int py, int x, int y, int w, int h) {
  return InPanel({.id = id, .name = name, .kind = Kind::Label, .text = text, .x = px + x, .y = py + y, .w = w, .h = h});
}
ControlDesign List(int id, const wchar_t* name, int px, int py) {
  return InPanel({.id = id, .name = name, .kind = Kind::DropDownList, .text = L"",
                 .x = px + 168, .y = py + 28, .w = 57, .h = 21, .tip = kFreqTip});
}
ControlDesign Input(int id, const wchar_t* name, const wchar_t* tip, int maxLen, int px, int py, int x, int y) {
  return InPanel({.id = id, .name = name, .kind = Kind::TextBox, .text = L"",
                 .x = px + x, .y = py + y, .w = 81, .h = 21, .tip = tip, .maxLength = maxLen});
}
// A result's accessible name adds what only its place says: the unit beside it.
ControlDesign Result(int id, const wchar_t* name, const wchar_t* tip, int px, int py, int x, int y, int w,
                     const wchar_t* accName = nullptr) {
  ControlDesign c{.id = id, .name = name, .kind = Kind::TextBox, .text = L"",
                 .x = px + x, .y = py + y, .w = w, .h = 21, .tip = tip, .readOnly = true};
  c.accName = accName;
  return InPanel(c);
}
ControlDesign Calcola(int id, const wchar_t* name, int px, int py, int x) {
  return InPanel({.id = id, .name = name, .kind = Kind::Button, .text = L"Calcola",
                 .x = px + x, .y = py + 136, .w = 61, .h = 25, .tip = L"Calcola"});
}

// Frames first (the form makes them before everything else, whatever their
// place here), then each panel's controls in tab order, then the result
// boxes in tab order. Each label is made just before the box or list it
// names: a screen reader names a box after the label before it in z-order,
// so a result's label cannot come before the panels' buttons. Labels take
// no focus, so the tab order stays that of the focusable controls.
const ControlDesign kControls[] = {
    Frame(Frame1, L"Frame1", L"Calcolo del tempo di esecuzione di un programma", P1X, P1Y),
    Frame(Frame2, L"Frame2", L"Calcolo del tempo del TMR0", P2X, P2Y),
    Frame(Frame3, L"Frame3", L"Calcolo del valore da caricare nel TMR0", P3X, P3Y),
    Frame(Frame4, L"Frame4", L"Calcolo del WDT", P4X, P4Y),

    Lbl(lblMhz, L"lblMhz", kFreqTip, P1X, P1Y, 12, 32, 97, 21),
    List(cmbFrequenza, L"cmbFrequenza", P1X, P1Y),
    Lbl(lblIstruzioniNormali, L"lblIstruzioniNormali", L"Numero istruzioni normali", P1X, P1Y, 12, 60, 125, 21),
    Input(txtIstruzioniNormali, L"txtIstruzioniNormali", L"Numero istruzioni normali", 12, P1X, P1Y, 144, 56),
    Lbl(lblIstruzioniSalto, L"lblIstruzioniSalto", L"Numero istruzioni di salto", P1X, P1Y, 12, 92, 121, 17),
    Input(txtIstruzioniSalto, L"txtIstruzioniSalto", L"Numero istruzioni di salto", 12, P1X, P1Y, 144, 88),
    Calcola(cmdCalcola1, L"cmdCalcola1", P1X, P1Y, 176),
    Lbl(lblFrequenza2, L"lblFrequenza2", kFreqTip, P2X, P2Y, 12, 32, 97, 21),
    List(cmbFrequenza2, L"cmbFrequenza2", P2X, P2Y),
    Lbl(lblTMR0, L"lblTMR0", L"Valore caricato nel TMR0", P2X, P2Y, 12, 60, 125, 21),
    Input(txtValoreTMR0, L"txtValoreTMR0", L"Valore caricato nel TMR0", 3, P2X, P2Y, 144, 56),
    Lbl(lblPrescaler, L"lblPrescaler", L"Valore del prescaler", P2X, P2Y, 12, 92, 121, 17),
    Input(txtValorePrescaler, L"txtValorePrescaler", L"Valore del prescaler", 3, P2X, P2Y, 144, 88),
    Calcola(cmdCalcola2, L"cmdCalcola2", P2X, P2Y, 180),
    Lbl(lblFrequenza3, L"lblFrequenza3", kFreqTip, P3X, P3Y, 12, 32, 97, 21),
    List(cmbFrequenza3, L"cmbFrequenza3", P3X, P3Y),
    Lbl(lblTemporizzazionems, L"lblTemporizzazionems", L"Temporizzazione in ns", P3X, P3Y, 12, 60, 125, 21),
    Input(txtTemporizzazione, L"txtTemporizzazione", L"Temporizzazione in ns", 12, P3X, P3Y, 144, 60),
    Lbl(lblValorePrescaler2, L"lblValorePrescaler2", L"Valore del prescaler", P3X, P3Y, 12, 92, 121, 17),
    Input(txtValorePrescaler2, L"txtValorePrescaler2", L"Valore del prescaler", 12, P3X, P3Y, 144, 88),
    Calcola(cmdCalcola3, L"cmdCalcola3", P3X, P3Y, 176),
    Lbl(Label1, L"Label1", kFreqTip, P4X, P4Y, 12, 32, 97, 21),
    List(cmbFrequenza4, L"cmbFrequenza4", P4X, P4Y),
    Lbl(lblNumeroIstruzioni, L"lblNumeroIstruzioni", L"Numero delle istruzioni", P4X, P4Y, 12, 60, 125, 21),
    Input(txtNumeroIstruzioni, L"txtNumeroIstruzioni", L"Numero delle istruzioni", 12, P4X, P4Y, 144, 56),
    Lbl(lblRipetizioni, L"lblRipetizioni", L"Numero di ripetizioni", P4X, P4Y, 12, 92, 121, 17),
    Input(txtRipetizioni, L"txtRipetizioni", L"Numero di ripetizioni", 12, P4X, P4Y, 144, 88),
    Calcola(cmdCalcola4, L"cmdCalcola4", P4X, P4Y, 184),

    Lbl(lblRisultato1, L"lblRisultato1", L"Tempo di programma", P1X, P1Y, 12, 124, 109, 17),
    Result(txtTempoDiProgramma, L"txtTempoDiProgramma", L"Tempo di programmazione", P1X, P1Y, 12, 144, 81,
           L"Tempo di programma in ns"),
    Lbl(lblns1, L"lblns1", L"ns", P1X, P1Y, 96, 152, 21, 17),
    Lbl(lblTempoSecondi, L"lblTempoSecondi", L"Tempo del TMR0", P2X, P2Y, 12, 124, 109, 17),
    Result(txtTempoTMR0, L"txtTempoTMR0", L"Tempo del TMR0", P2X, P2Y, 12, 144, 81, L"Tempo del TMR0 in ns"),
    Lbl(lblNanosecondi, L"lblNanosecondi", L"ns", P2X, P2Y, 96, 152, 21, 17),
    Lbl(lblValoreTMR0, L"lblValoreTMR0", L"Valore da inserire nel TMR0", P3X, P3Y, 12, 124, 133, 17),
    Result(txtValoreDaInserireTMR0, L"txtValoreDaInserireTMR0", L"Valore da inserire nel TMR0", P3X, P3Y, 12, 144, 45),
    Lbl(lblTempoTotale, L"lblTempoTotale", L"Tempo totale", P4X, P4Y, 12, 124, 69, 17),
    Result(txtTempoTotale, L"txtTempoTotale", L"Tempo totale", P4X, P4Y, 12, 144, 65, L"Tempo totale in ns"),
    Lbl(lblns2, L"lblns2", L"ns", P4X, P4Y, 80, 152, 21, 17),
    Lbl(lblTempoCiclo, L"lblTempoCiclo", L"Tempo di ciclo", P4X, P4Y, 100, 124, 69, 17),
    Result(txtTempodiciclo, L"txtTempodiciclo", L"Tempo di ciclo", P4X, P4Y, 100, 144, 69),
    Lbl(lblPER, L"lblPER", L"X", P3X, P3Y, 72, 148, 9, 13),
    // Its label is the "X" between the two results.
    Result(txtMoltiplicatore, L"txtMoltiplicatore", L"Valore da inserire nel TMR0", P3X, P3Y, 100, 144, 45,
           L"Moltiplicatore"),
};

const forms::FormDesign kSpec{.caption = L"ZORNAVEX", .clientWidth = 545, .clientHeight = 380,
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, .iconId = IDI_ZORNAVEX};

const forms::Accelerator kAccelerators[] = {
    {VK_F1, mnu_guida}, {VK_F2, mnu_1}, {VK_F3, mnu_2}, {VK_F4, mnu_3}, {VK_F5, mnu_4},
};

}  // namespace

const forms::FormDesign& frmAvvio::Design() const { return kSpec; }
std::span<const ControlDesign> frmAvvio::Controls() const { return kControls; }
std::span<const forms::Accelerator> frmAvvio::Accelerators() const { return kAccelerators; }

HMENU frmAvvio::CreateMenuBar() {
  HMENU bar = CreateMenu();
  HMENU operazioni = CreatePopupMenu();
  HMENU info = CreatePopupMenu();
  if (!bar || !operazioni || !info) return bar;
  AppendMenuW(bar, MF_STRING, mnu_Chiudi, L"Chiudi");
  AppendMenuW(operazioni, MF_STRING | MF_CHECKED, mnu_1, L"Calcolo del tempo di esecuzione di un programma\tF2");
  AppendMenuW(operazioni, MF_STRING, mnu_2, L"Calcolo del tempo del TMR0\tF3");
  AppendMenuW(operazioni, MF_STRING, mnu_3, L"Calcolo del valore da caricare nel TMR0\tF4");
  AppendMenuW(operazioni, MF_STRING, mnu_4, L"Calcolo del WDT\tF5");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(operazioni), L"Operazioni");
  AppendMenuW(info, MF_STRING, mnu_guida, L"Guida\tF1");
  AppendMenuW(info, MF_STRING, mnu_Informazioni, L"Informazioni su...");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(info), L"?");
  return bar;
}

}  // namespace zornavex
