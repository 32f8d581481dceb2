// The message loop and modal display of forms.
#pragma once

#include <windows.h>

#include <functional>

namespace forms {

class Form;

// Runs the program's message loop until the last form is gone.
int Run();

// Dispatches one message through the form it belongs to (accelerators,
// dialog keys), then to its window.
void Dispatch(MSG& msg);

// Processes waiting messages until done() is true or the time runs out
// (tests and nested loops). Returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Loads and shows the form modally: every other window of the program is
// disabled until the form is unloaded or hidden. Returns then. The form is
// owned by `owner`, or without one by the window active at that moment.
void ShowModal(Form& form, HWND owner = nullptr);

// Gives input back to the windows a modal form disabled; the form calls it
// as it unloads.
void ReleaseModal(HWND modal);

// Tests: called with the shown form instead of the modal loop; whatever is
// still open when it returns is unloaded.
void SetModalHandler(std::function<void(Form&)> handler);

}  // namespace forms
