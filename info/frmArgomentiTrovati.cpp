#include "frmArgomentiTrovati.h"

#include "Modal.h"

namespace zornavex {

using forms::ControlDesign;
using forms::Kind;

namespace {

const forms::FormDesign kDesign{.caption = L"Argomenti trovati", .clientWidth = 360, .clientHeight = 220,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, .exStyle = WS_EX_DLGMODALFRAME,
    .placement = forms::Placement::CentreOwner, .dialog = true};

constexpr wchar_t kLabel[] = L"Fare &clic su un argomento, quindi scegliere Visualizza.";

const ControlDesign kControls[] = {
    {.id = frmArgomentiTrovati::lblArgomenti, .name = L"lblArgomenti", .kind = Kind::Label, .text = kLabel,
     .x = 12, .y = 10, .w = 336, .h = 16},
    // The list is made in Form_Load, right after its label in the tab order.
    {.id = frmArgomentiTrovati::cmdVisualizza, .name = L"cmdVisualizza", .kind = Kind::Button, .text = L"&Visualizza",
     .x = 172, .y = 186, .w = 84, .h = 23},
    {.id = frmArgomentiTrovati::cmdAnnulla, .name = L"cmdAnnulla", .kind = Kind::Button, .text = L"Annulla",
     .x = 264, .y = 186, .w = 84, .h = 23},
};

}  // namespace

frmArgomentiTrovati::frmArgomentiTrovati() {
  defaultButton_ = cmdVisualizza;
  cancelButton_ = cmdAnnulla;
}

const forms::FormDesign& frmArgomentiTrovati::Design() const { return kDesign; }
std::span<const ControlDesign> frmArgomentiTrovati::Controls() const { return kControls; }

int frmArgomentiTrovati::Choose(HWND owner, const std::vector<std::wstring>& titles) {
  titles_ = titles;
  chosen_ = -1;
  forms::ShowModal(*this, owner);
  return chosen_;
}

void frmArgomentiTrovati::Form_Load() {
  HWND label = Control(lblArgomenti);
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                              LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, Scale(12), Scale(30), Scale(336), Scale(146), hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(lstArgomenti)), GetModuleHandleW(nullptr),
                              nullptr);
  SetWindowPos(list, label, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(list, WM_SETFONT, SendMessageW(label, WM_GETFONT, 0, 0), FALSE);
  AddAccessibleName(list, L"Fare clic su un argomento, quindi scegliere Visualizza.");
  for (const std::wstring& title : titles_) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  SetFocus(list);
}

void frmArgomentiTrovati::cmdVisualizza_Click() {
  const LRESULT at = SendMessageW(GetDlgItem(hwnd(), lstArgomenti), LB_GETCURSEL, 0, 0);
  if (at < 0) return;
  chosen_ = static_cast<int>(at);
  Unload();
}

void frmArgomentiTrovati::cmdAnnulla_Click() { Unload(); }

void frmArgomentiTrovati::OnCommand(int id, int notifyCode) {
  if (id == cmdVisualizza && notifyCode == BN_CLICKED) cmdVisualizza_Click();
  else if (id == cmdAnnulla && notifyCode == BN_CLICKED) cmdAnnulla_Click();
  else if (id == lstArgomenti && notifyCode == LBN_DBLCLK) cmdVisualizza_Click();
}

}  // namespace zornavex
