// Handlers of the panels whose calculations come with later work.
#include "frmAvvio.h"

namespace zornavex {

void frmAvvio::cmdCalcola2_Click() {}
void frmAvvio::cmdCalcola3_Click() {}
void frmAvvio::cmdCalcola4_Click() {}

}  // namespace zornavex
