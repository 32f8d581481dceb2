#include "Messages.h"

namespace forms {

namespace {
MessageHandler g_messageHandler;
std::function<void()> g_endHandler;
std::function<void()> g_beforeEnd;
}  // namespace

int ShowMessage(std::wstring_view text, std::wstring_view title, UINT style) {
  // Modal to the program: owned by the active window of this thread.
  return ShowMessage(GetActiveWindow(), text, title, style);
}

int ShowMessage(HWND owner, std::wstring_view text, std::wstring_view title, UINT style) {
  if (owner && !IsWindow(owner)) owner = nullptr;
  if (g_messageHandler) return g_messageHandler(ShownMessage{std::wstring(text), std::wstring(title), style, owner});
  // Without an owner, every window of the thread is disabled instead.
  return MessageBoxW(owner, std::wstring(text).c_str(), std::wstring(title).c_str(),
                     style | MB_SETFOREGROUND | (owner ? 0u : static_cast<UINT>(MB_TASKMODAL)));
}

void SetMessageHandler(MessageHandler handler) { g_messageHandler = std::move(handler); }

void EndProgram() {
  if (g_beforeEnd) g_beforeEnd();
  if (g_endHandler) {
    g_endHandler();
    return;
  }
  ExitProcess(0);
}

void SetEndHandler(std::function<void()> handler) { g_endHandler = std::move(handler); }

void SetBeforeEnd(std::function<void()> callback) { g_beforeEnd = std::move(callback); }

}  // namespace forms
