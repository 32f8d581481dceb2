#include "ui_driver.h"

#include <utility>

#include "Modal.h"

namespace zxtest {

Seams::Seams() {
  forms::SetMessageHandler([this](const forms::ShownMessage& m) {
    shown_.push_back(m);
    if (onShow) onShow(m);
    if (answers_.empty()) return IDOK;
    const int a = answers_.front();
    answers_.pop_front();
    return a;
  });
  forms::SetEndHandler([this] { ++ends_; });
}

Seams::~Seams() {
  forms::SetMessageHandler(nullptr);
  forms::SetEndHandler(nullptr);
}

void Pump(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  MSG msg{};
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      forms::Dispatch(msg);  // accelerators and dialog keys, as the program's loop does
    }
    Sleep(5);
  } while (GetTickCount64() < end);
}

void Settle() {
  const ULONGLONG end = GetTickCount64() + 2000;
  MSG msg{};
  // The time is read first: a message taken from the queue is always dispatched.
  while (GetTickCount64() < end && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message != WM_QUIT) forms::Dispatch(msg);
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) { return forms::PumpUntil(done, timeoutMs); }

::testing::AssertionResult Eventually(const std::function<bool()>& done, const char* what, DWORD timeoutMs) {
  if (WaitFor(done, timeoutMs)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "not within " << timeoutMs << " ms: " << what;
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

Process::~Process() {
  if (process_) {
    if (Running()) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
  }
}

bool Process::Start(const std::wstring& exe, const std::wstring& workDir) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  WaitForInputIdle(process_, 10000);
  return true;
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::WaitExit(DWORD timeoutMs) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

namespace {

struct Search {
  DWORD pid;
  const wchar_t* cls;
  const wchar_t* caption;
  HWND found = nullptr;
};

BOOL CALLBACK Match(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t buf[256]{};
  if (s->cls) {
    GetClassNameW(hwnd, buf, 256);
    if (lstrcmpW(buf, s->cls) != 0) return TRUE;
  }
  if (s->caption) {
    GetWindowTextW(hwnd, buf, 256);
    if (lstrcmpW(buf, s->caption) != 0) return TRUE;
  }
  s->found = hwnd;
  return FALSE;
}

// The first result of `attempt` that counts as found, through WaitFor.
template <typename F>
auto Poll(DWORD timeoutMs, F attempt) -> decltype(attempt()) {
  decltype(attempt()) result{};
  WaitFor([&] { return static_cast<bool>(result = attempt()); }, timeoutMs);
  return result;
}

}  // namespace

HWND WaitForWindow(DWORD pid, const wchar_t* cls, const wchar_t* caption, DWORD timeoutMs) {
  return Poll(timeoutMs, [&]() -> HWND {
    Search s{pid, cls, caption};
    EnumWindows(&Match, reinterpret_cast<LPARAM>(&s));
    return s.found;
  });
}

HWND WaitForWindowWithControl(DWORD pid, int controlId, DWORD timeoutMs, DWORD pollMs) {
  struct Find {
    DWORD pid;
    int id;
    HWND found;
  };
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    Find f{pid, controlId, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
          auto* f = reinterpret_cast<Find*>(lp);
          DWORD owner = 0;
          GetWindowThreadProcessId(h, &owner);
          if (owner != f->pid || !IsWindowVisible(h) || !GetDlgItem(h, f->id)) return TRUE;
          f->found = h;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    if (f.found) return f.found;
    if (GetTickCount64() >= end) return nullptr;
    Sleep(pollMs);
  }
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

int FocusedControlId(HWND window) {
  HWND focus = FocusOf(window);
  return focus && IsChild(window, focus) ? GetDlgCtrlID(focus) : 0;
}

std::wstring ReadText(HWND hwnd) {
  wchar_t buf[4096]{};
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got))
    return {};
  return std::wstring(buf, got);
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs, const wchar_t* title) {
  HWND box = Poll(timeoutMs, [&]() -> HWND {
    Search s{pid, L"#32770", title};
    EnumWindows(&Match, reinterpret_cast<LPARAM>(&s));
    return s.found && GetDlgItem(s.found, 0xFFFF) ? s.found : nullptr;
  });
  if (!box) return std::nullopt;
  return MessageBoxInfo{box, ReadText(box), ReadText(GetDlgItem(box, 0xFFFF))};
}

bool PressBoxButton(HWND box, int id, DWORD timeoutMs) {
  HWND button = GetDlgItem(box, id);
  if (!button) return false;
  PostMessageW(button, BM_CLICK, 0, 0);
  // Wine's modal loop may wait for one more message before it returns.
  return Poll(timeoutMs, [&] {
    if (!IsWindow(box)) return true;
    PostMessageW(box, WM_NULL, 0, 0);
    return false;
  });
}

HWND Child(HWND parent, int id) { return GetDlgItem(parent, id); }

HWND ChildByClass(HWND parent, const wchar_t* cls, int index) {
  HWND h = nullptr;
  for (int i = 0; i <= index; ++i) {
    h = FindWindowExW(parent, h, cls, nullptr);
    if (!h) return nullptr;
  }
  return h;
}

void Activate(HWND hwnd) {
  SetForegroundWindow(hwnd);
  WaitFor([hwnd] {
    HWND focus = FocusOf(hwnd);
    return GetForegroundWindow() == hwnd && (focus == hwnd || IsChild(hwnd, focus));
  }, 2000);
  Settle();
}

namespace {
void Send(std::vector<INPUT>& inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Settle();  // in process, what the input does; another process is awaited by the caller
}
INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}
}  // namespace

void TypeText(std::wstring_view text) {
  for (wchar_t c : text) {
    std::vector<INPUT> inputs(2);
    for (int i = 0; i < 2; ++i) {
      inputs[i].type = INPUT_KEYBOARD;
      inputs[i].ki.wScan = c;
      inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    Send(inputs);
  }
}

void PressKey(WORD vk, bool ctrl, bool shift) {
  std::vector<INPUT> inputs;
  if (ctrl) inputs.push_back(Key(VK_CONTROL, false));
  if (shift) inputs.push_back(Key(VK_SHIFT, false));
  inputs.push_back(Key(vk, false));
  inputs.push_back(Key(vk, true));
  if (shift) inputs.push_back(Key(VK_SHIFT, true));
  if (ctrl) inputs.push_back(Key(VK_CONTROL, true));
  Send(inputs);
}

void Click(HWND control) { PostMessageW(control, BM_CLICK, 0, 0); }

// Each event carries its point: a separate cursor move may arrive late, and
// Wine does not always honour SetCursorPos from a process not in front.
void MouseClicksAt(HWND hwnd, POINT client, int clicks) {
  ClientToScreen(hwnd, &client);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs(2 * static_cast<size_t>(clicks));
  for (size_t i = 0; i < inputs.size(); ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dx = MulDiv(client.x, 65535, width - 1);
    inputs[i].mi.dy = MulDiv(client.y, 65535, height - 1);
    inputs[i].mi.dwFlags =
        MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | (i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  }
  Send(inputs);
}

namespace {
void MouseClicks(HWND hwnd, int clicks) {
  RECT r{};
  GetClientRect(hwnd, &r);
  MouseClicksAt(hwnd, POINT{r.right / 2, r.bottom / 2}, clicks);
}
}  // namespace

void MouseClickAt(HWND hwnd, POINT client) { MouseClicksAt(hwnd, client, 1); }
void MouseClick(HWND hwnd) { MouseClicks(hwnd, 1); }
void MouseDoubleClick(HWND hwnd) { MouseClicks(hwnd, 2); }

std::wstring WindowsPath(std::wstring path) {
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

}  // namespace zxtest
