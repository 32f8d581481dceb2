// ZORNAVEX starts by showing its main window; only the DLL search is
// restricted before, so that nothing is loaded from the folder it runs from.
#include <windows.h>

#include "Form.h"
#include "Modal.h"
#include "SystemLibrary.h"
#include "frmAvvio.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  forms::RestrictDllSearch();
  forms::Initialise();
  zornavex::frmAvvio main;
  main.Show();
  return forms::Run();
}
