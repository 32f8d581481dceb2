// The main window's doors to the information windows.
#include "frmAvvio.h"

namespace zornavex {

void frmAvvio::mnu_guida_Click() {}
void frmAvvio::mnu_Informazioni_Click() {}
void frmAvvio::Form_DblClick(POINT) {}
void frmAvvio::Form_DblClick() {}

}  // namespace zornavex
