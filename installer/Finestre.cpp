#include "Finestre.h"

namespace velisca {

frmAvvio& Avvio() {
  static frmAvvio form;
  return form;
}
frmSchermata& Schermata() {
  static frmSchermata form;
  return form;
}
frmPercorso& Percorso() {
  static frmPercorso form;
  return form;
}
frmStatoIstallazione& Stato() {
  static frmStatoIstallazione form;
  return form;
}

}  // namespace velisca
