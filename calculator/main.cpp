// ZORNAVEX starts by showing its main window; nothing else runs first.
#include <windows.h>

#include "Form.h"
#include "Modal.h"
#include "frmAvvio.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  forms::Initialise();
  zornavex::frmAvvio main;
  main.Show();
  return forms::Run();
}
