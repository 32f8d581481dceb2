// Velisca starts by showing its confirmation page; only the DLL search is
// restricted before, so that nothing is loaded from the folder it runs from.
#include <windows.h>

#include <objbase.h>

#include "Finestre.h"
#include "Form.h"
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
  Apartment com;
  velisca::Avvio().Show();
  return forms::Run();
}
