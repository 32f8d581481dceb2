// The information windows, one of each, as the main window reaches them.
#include "frmAvvio_info.h"

#include "Messages.h"
#include "WinHelpViewer.h"

namespace zornavex {

// Where the platform has no WinHelp viewer, ZORNAVEX shows its help file in
// its own window. Whichever opened, it closes when the program ends.
CommonDialog& CommonDialog1() {
  static CommonDialog dialog = [] {
    CommonDialog d;
    d.SetOwnViewer(&PlatformHasWinHelpViewer, [](const std::wstring& file) { return HelpWindow().Open(file); });
    forms::SetBeforeEnd([] {
      CommonDialog1().QuitHelp();
      HelpWindow().Unload();
    });
    return d;
  }();
  return dialog;
}

frmGuida& HelpWindow() {
  static frmGuida form;
  return form;
}

frmAbout& AboutWindow() {
  static frmAbout form;
  return form;
}

frmCertificato& CertificateWindow() {
  static frmCertificato form;
  return form;
}

}  // namespace zornavex
