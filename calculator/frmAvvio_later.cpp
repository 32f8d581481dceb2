// Handlers whose windows and calculations come with later work.
#include "frmAvvio.h"

namespace zornavex {

void frmAvvio::cmdCalcola2_Click() {}
void frmAvvio::cmdCalcola3_Click() {}
void frmAvvio::cmdCalcola4_Click() {}
void frmAvvio::mnu_guida_Click() {}
void frmAvvio::mnu_Informazioni_Click() {}
void frmAvvio::Form_DblClick(POINT) {}
void frmAvvio::Form_DblClick() {}

}  // namespace zornavex
