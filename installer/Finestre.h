// The installer's four windows, one of each for the whole run, created on
// first use like the forms of a form run-time.
#pragma once

#include "frmAvvio.h"
#include "frmPercorso.h"
#include "frmSchermata.h"
#include "frmStatoIstallazione.h"

namespace velisca {

frmAvvio& Avvio();
frmSchermata& Schermata();
frmPercorso& Percorso();
frmStatoIstallazione& Stato();

}  // namespace velisca
