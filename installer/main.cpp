// Velisca starts by showing its confirmation page. Before it, only the DLL
// search is restricted, so that nothing is loaded from the folder it runs
// from, and the check that no other Velisca runs.
#include <windows.h>

#include <objbase.h>

#include "Finestre.h"
#include "Form.h"
#include "Istanza.h"
#include "Modal.h"
#include "SystemLibrary.h"

namespace {

// The shell-link object needs a single-threaded apartment on this thread.
class Apartment {
 public:
  Apartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~Apartment() {
    if (ok_) CoUninitialize();
  }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;

 private:
  bool ok_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  forms::RestrictDllSearch();
  forms::Initialise();
  velisca::UnaSolaVelisca();
  Apartment com;
  velisca::Avvio().Show();
  return forms::Run();
}
