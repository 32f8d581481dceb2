#include "CommonDialog.h"

#include "help_sequence.h"

namespace zornavex {

// MinGW's headers have no HELP_TAB (0x000F); the other two are checked.
static_assert(help::kHelpContents == HELP_CONTENTS && help::kHelpFinder == HELP_FINDER);

bool CommonDialog::ShowHelp(HWND owner) {
  if (ownViewer_ && platformHasViewer_ && !platformHasViewer_()) return ownViewer_(helpFile_);
  if (!::ShowHelp(owner, helpFile_.c_str(), helpCommand_)) return false;
  winHelpOwner_ = owner;
  winHelpFile_ = helpFile_;
  return true;
}

void CommonDialog::QuitHelp() {
  if (!winHelpOwner_) return;
  WinHelpW(winHelpOwner_, winHelpFile_.c_str(), HELP_QUIT, 0);
  winHelpOwner_ = nullptr;
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
