// Test helpers for windows: answering message boxes in process, and driving
// the windows of another process (a real program started by the test).
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Messages.h"

namespace zxtest {

// The window class of every form of both programs (forms/Form.cpp).
inline constexpr wchar_t kFormClass[] = L"ZxForm";

// In process: records every message box and every program end instead of
// showing or doing them; answers boxes from a queue (IDOK when it is empty).
class Seams {
 public:
  Seams();
  ~Seams();
  Seams(const Seams&) = delete;
  Seams& operator=(const Seams&) = delete;

  void Answer(int id) { answers_.push_back(id); }
  const std::vector<forms::ShownMessage>& Shown() const { return shown_; }
  int Ends() const { return ends_; }
  void Clear() { shown_.clear(); ends_ = 0; }
  // Runs while a box is "open": what the box's owner code would see then.
  std::function<void(const forms::ShownMessage&)> onShow;

 private:
  std::vector<forms::ShownMessage> shown_;
  std::deque<int> answers_;
  int ends_ = 0;
};

// Processes pending messages of this thread for a while, through the forms'
// dispatch (accelerators and dialog keys included). Only for checks that
// something does NOT happen: everything else waits for what it checks.
void Pump(DWORD ms = 50);
// Processes this thread's waiting messages until none is left: in process,
// what was posted has then been acted on (capped at two seconds, for a timer
// that never stops).
void Settle();
// Processes messages until `done` holds; false when timeoutMs passed first.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// The same, as a gtest assertion that says what was awaited.
::testing::AssertionResult Eventually(const std::function<bool()>& done, const char* what,
                                      DWORD timeoutMs = 5000);
// Waits until read() gives `want`; on time-out the failure shows what it gave.
template <typename Read, typename T>
::testing::AssertionResult Becomes(Read read, const T& want, DWORD timeoutMs = 5000) {
  if (WaitFor([&] { return read() == want; }, timeoutMs)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "shows " << ::testing::PrintToString(read()) << ", not "
                                       << ::testing::PrintToString(want);
}

// Another process.
class Process {
 public:
  Process() = default;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  Process(Process&& other) noexcept;
  ~Process();  // terminates it if still running

  bool Start(const std::wstring& exe, const std::wstring& workDir = L"");
  DWORD Id() const { return pid_; }
  bool Running() const;
  // Waits for the end; returns the exit code, or nothing on time-out.
  std::optional<DWORD> WaitExit(DWORD timeoutMs);

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// Top-level window of the process by class (nullptr: any) and caption
// (nullptr: any), waiting up to timeoutMs.
HWND WaitForWindow(DWORD pid, const wchar_t* cls, const wchar_t* caption, DWORD timeoutMs);

// A visible top-level window of the process that holds a control with the
// id (0xFFFF finds a message box), polled every pollMs up to timeoutMs.
HWND WaitForWindowWithControl(DWORD pid, int controlId, DWORD timeoutMs, DWORD pollMs = 20);

// A visible message box (#32770 with a static 0xFFFF) of the process.
struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring title;
  std::wstring text;
  bool HasButton(int id) const { return GetDlgItem(hwnd, id) != nullptr; }
};
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs, const wchar_t* title = nullptr);
// Presses a button of a box and waits until the box is gone.
bool PressBoxButton(HWND box, int id, DWORD timeoutMs = 5000);

// The focus in the thread that owns a window of any process, or nullptr;
// and its control id while it is inside that window, else 0 (windows of one
// thread may share ids).
HWND FocusOf(HWND window);
int FocusedControlId(HWND window);

// Text of a window of any process (WM_GETTEXT across processes).
std::wstring ReadText(HWND hwnd);
// Child by control id, or by class and zero-based index among that class.
HWND Child(HWND parent, int id);
HWND ChildByClass(HWND parent, const wchar_t* cls, int index);

// Keyboard input goes to the foreground window's focus at the moment a key
// is pressed: Activate waits until the window is in front with the focus.
void Activate(HWND hwnd);
void TypeText(std::wstring_view text);       // characters, as typed
void PressKey(WORD vk, bool ctrl = false, bool shift = false);
// A click posted to a control, as a mouse would (for buttons).
void Click(HWND control);
// A real left click at the middle of a window, through the mouse input.
void MouseClick(HWND hwnd);
void MouseDoubleClick(HWND hwnd);
// Real left clicks at a point of a window's client area (two: a double-click).
void MouseClickAt(HWND hwnd, POINT client);
void MouseClicksAt(HWND hwnd, POINT client, int clicks);

// A Windows path for a file the build names with a Unix path (Wine's Z: drive).
std::wstring WindowsPath(std::wstring path);
// A command-line argument as a wide string (the build's paths are ASCII).
inline std::wstring Widen(const char* s) { return std::wstring(s, s + std::char_traits<char>::length(s)); }

}  // namespace zxtest
