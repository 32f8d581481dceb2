// The help service of a common-dialog control: a cancel-error flag, a help
// command, a help file and the operation that hands both to WinHelp.
// Nothing here depends on the forms, so it can also be built into a DLL.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace zornavex {

class CommonDialog {
 public:
  // Kept for callers that set it before every dialog; the help service
  // has no Cancel button, so it never raises anything.
  bool CancelError() const { return cancelError_; }
  void SetCancelError(bool value) { cancelError_ = value; }

  unsigned HelpCommand() const { return helpCommand_; }
  void SetHelpCommand(unsigned command) { helpCommand_ = command; }

  const std::wstring& HelpFile() const { return helpFile_; }
  void SetHelpFile(std::wstring_view path) { helpFile_ = path; }

  // Hands file and command to WinHelp (no context, no keyword) and returns
  // at once. A HELP_TAB or HELP_FINDER the viewer refuses falls back to the
  // contents. False when the viewer refused every command, or when the file
  // does not exist (then the viewer is not asked at all). Where an own
  // viewer is set and the platform has no WinHelp viewer, the file goes to
  // the own viewer instead and WinHelp is never called.
  bool ShowHelp(HWND owner);

  using HasPlatformViewer = std::function<bool()>;
  using OwnViewer = std::function<bool(const std::wstring& file)>;
  void SetOwnViewer(HasPlatformViewer platformHasViewer, OwnViewer viewer) {
    platformHasViewer_ = std::move(platformHasViewer);
    ownViewer_ = std::move(viewer);
  }

  // Tells WinHelp, if it was asked for a file, that the file is no longer
  // needed, so that the viewer closes with the program.
  void QuitHelp();

 private:
  bool cancelError_ = false;
  unsigned helpCommand_ = 0;
  std::wstring helpFile_;
  HasPlatformViewer platformHasViewer_;
  OwnViewer ownViewer_;
  HWND winHelpOwner_ = nullptr;  // as WinHelp knows the requester
  std::wstring winHelpFile_;
};

}  // namespace zornavex

// The same service as one plain function, for the control's DLL. Returns
// nonzero when the viewer accepted a command.
extern "C" BOOL WINAPI ShowHelp(HWND owner, const wchar_t* file, unsigned command);
