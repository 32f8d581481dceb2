#include "CommonDialog.h"

#include "help_sequence.h"

namespace zornavex {

bool CommonDialog::ShowHelp(HWND owner) const {
  return ::ShowHelp(owner, helpFile_.c_str(), helpCommand_) != FALSE;
}

}  // namespace zornavex

extern "C" BOOL WINAPI ShowHelp(HWND owner, const wchar_t* file, unsigned command) {
  if (file == nullptr || *file == L'\0') return FALSE;
  const bool shown = zornavex::help::SendWithFallback(command, [&](unsigned c) {
    return WinHelpW(owner, file, c, 0) != FALSE;
  });
  return shown ? TRUE : FALSE;
}
