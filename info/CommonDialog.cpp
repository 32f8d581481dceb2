#include "CommonDialog.h"

#include "help_sequence.h"

namespace zornavex {

bool CommonDialog::ShowHelp(HWND owner) const {
  return ::ShowHelp(owner, helpFile_.c_str(), helpCommand_) != FALSE;
}

}  // namespace zornavex

extern "C" BOOL WINAPI ShowHelp(HWND owner, const wchar_t* file, unsigned command) {
  if (file == nullptr || *file == L'\0') return FALSE;
  // A missing file is never handed over: the viewer would ask where it is
  // and hold the caller, and its window, until the question is answered.
  const DWORD attributes = GetFileAttributesW(file);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
  const bool shown = zornavex::help::SendWithFallback(command, [&](unsigned c) {
    return WinHelpW(owner, file, c, 0) != FALSE;
  });
  return shown ? TRUE : FALSE;
}
