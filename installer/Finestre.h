// The installer's four windows, one of each for the whole run, created on
// first use like the forms of a form run-time.
// How they follow each other, which flag and timer moves from one to the
// next and which call holds which modal loop: installer/README.md.
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
