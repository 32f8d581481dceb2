// COMDLG32.OCX: the help service of ZORNAVEX's common-dialog layer as a DLL.
// ZORNAVEX links the same code statically and never loads this file.
#include <windows.h>

#include "CommonDialog.h"

namespace {
// Pulls the service out of the static library so that the exports find it.
[[maybe_unused]] const auto kServizio = &ShowHelp;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
