// The one way both programs show a message box and end: tests replace the
// real modal box and the process exit with handlers of their own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace forms {

struct ShownMessage {
  std::wstring text;
  std::wstring title;
  UINT style = 0;
  HWND owner = nullptr;
};

// Answers a message box instead of the user: returns IDOK, IDYES, IDNO...
using MessageHandler = std::function<int(const ShownMessage&)>;

// Shows a modal message box over the active window and returns the answer.
int ShowMessage(std::wstring_view text, std::wstring_view title, UINT style);
// The same, owned by `owner` whichever window is active (none while another
// program is in front): it stays in front of its owner and disables it.
int ShowMessage(HWND owner, std::wstring_view text, std::wstring_view title, UINT style);
void SetMessageHandler(MessageHandler handler);

// Ends the program at once: no question, no further event. With an end
// handler installed (tests), the handler runs instead and the caller returns.
void EndProgram();
void SetEndHandler(std::function<void()> handler);

// Runs first whenever the program ends, before the end handler or the exit:
// code that opened windows outside the forms (a help viewer) closes them.
void SetBeforeEnd(std::function<void()> callback);

}  // namespace forms
