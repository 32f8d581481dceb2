// The information windows as the main window holds them: each exists at
// most once and is created on first use.
#pragma once

#include "CommonDialog.h"
#include "frmAbout.h"
#include "frmCertificato.h"
#include "frmGuida.h"

namespace zornavex {

inline constexpr wchar_t kHelpFile[] = L"C:\\Programmi\\Mardol\\ZORNAVEX\\Help\\ZORNAVEX.hlp";

// The main window's common-dialog control; it keeps the last help request.
CommonDialog& CommonDialog1();
// The help window used where the platform has no WinHelp viewer.
frmGuida& HelpWindow();
frmAbout& AboutWindow();
frmCertificato& CertificateWindow();

}  // namespace zornavex
