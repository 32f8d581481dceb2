#include "Modal.h"

#include <vector>

#include "Form.h"

namespace forms {

namespace {

std::function<void(Form&)> g_modalHandler;

struct Disabled {
  HWND modal = nullptr;
  HWND previouslyActive = nullptr;
  std::vector<HWND> windows;
};
// Open modal forms, innermost last.
std::vector<Disabled*> g_modalStack;

BOOL CALLBACK DisableOthers(HWND hwnd, LPARAM lp) {
  auto* state = reinterpret_cast<std::pair<HWND, Disabled*>*>(lp);
  if (hwnd != state->first && IsWindowEnabled(hwnd) && IsWindowVisible(hwnd)) {
    EnableWindow(hwnd, FALSE);
    state->second->windows.push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

void Dispatch(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (Form* form = Form::FromHwnd(root); form && form->PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int Run() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
  return static_cast<int>(msg.wParam);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    MSG msg{};
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) Dispatch(msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  return true;
}

void SetModalHandler(std::function<void(Form&)> handler) { g_modalHandler = std::move(handler); }

void ReleaseModal(HWND modal) {
  for (Disabled* d : g_modalStack) {
    if (d->modal != modal) continue;
    // Re-enabled before the modal window goes, so activation returns to them.
    for (HWND h : d->windows)
      if (IsWindow(h)) EnableWindow(h, TRUE);
    d->windows.clear();
    if (d->previouslyActive && IsWindow(d->previouslyActive)) SetActiveWindow(d->previouslyActive);
  }
}

void ShowModal(Form& form, HWND owner) {
  form.Load();
  if (!form.IsLoaded()) return;
  Disabled disabled;
  disabled.modal = form.hwnd();
  disabled.previouslyActive = GetActiveWindow();
  // Owned by the window it interrupts: it stays in front of it and has no
  // task-bar button of its own unless it asks for one. While another program
  // is active this thread has no active window, hence the explicit owner.
  if (!owner || !IsWindow(owner)) owner = disabled.previouslyActive;
  const LONG_PTR exStyle = GetWindowLongPtrW(form.hwnd(), GWL_EXSTYLE);
  if (owner && !(exStyle & WS_EX_APPWINDOW))
    SetWindowLongPtrW(form.hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  if (!disabled.previouslyActive) disabled.previouslyActive = owner;
  std::pair<HWND, Disabled*> state{form.hwnd(), &disabled};
  EnumThreadWindows(GetCurrentThreadId(), &DisableOthers, reinterpret_cast<LPARAM>(&state));
  g_modalStack.push_back(&disabled);
  form.Show();
  if (g_modalHandler) {
    g_modalHandler(form);
    form.Unload();
  } else {
    MSG msg{};
    while (form.IsLoaded() && IsWindowVisible(form.hwnd())) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got <= 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      Dispatch(msg);
    }
  }
  ReleaseModal(disabled.modal);
  g_modalStack.pop_back();
}

}  // namespace forms
