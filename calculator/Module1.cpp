#include "Module1.h"

#include <windows.h>

#include "Messages.h"
#include "app_info.h"

namespace zornavex::Module1 {

forms::ColourValue ColoreFrameAttivo = 0;

namespace {
constexpr UINT kStileAvviso = MB_OK | MB_ICONINFORMATION;  // 64
constexpr wchar_t kTroppoAlto[] = L"Il valore inserito è troppo alto\r\n";
}  // namespace

void AvvisoCampiMancanti() {
  forms::ShowMessage(L"Inserire tutti i campi", kTitoloApplicazione, kStileAvviso);
}

void AvvisoPrescalerAlto() {
  forms::ShowMessage(std::wstring(kTroppoAlto) + L"Deve essere compreso tra 0 e 256", kTitoloApplicazione,
                     kStileAvviso);
}

void AvvisoTMR0Alto() {
  forms::ShowMessage(std::wstring(kTroppoAlto) + L"Deve essere compreso tra 0 e 255", kTitoloApplicazione,
                     kStileAvviso);
}

void MostraAvviso(Warning warning) {
  switch (warning) {
    case Warning::CampiMancanti: AvvisoCampiMancanti(); break;
    case Warning::PrescalerAlto: AvvisoPrescalerAlto(); break;
    case Warning::TMR0Alto: AvvisoTMR0Alto(); break;
    case Warning::None: break;
  }
}

void SegnalaErrore(Fault fault) {
  if (fault == Fault::None) return;
  forms::ShowMessage(FaultText(fault), kTitoloApplicazione, MB_OK | MB_ICONEXCLAMATION);
}

wchar_t SeparatoreDecimale() {
  wchar_t sep[8]{};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 8) > 0 && sep[0] != L'\0') return sep[0];
  return L'.';
}

}  // namespace zornavex::Module1
