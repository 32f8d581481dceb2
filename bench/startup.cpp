// Times how long programs take from process start to a visible top-level
// window, runs interleaved so that both see the same machine load.
// Usage: startup RUNS program.exe [program.exe...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD pid;
  bool found;
};

BOOL CALLBACK Visible(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == s->pid && IsWindowVisible(h)) {
    s->found = true;
    return FALSE;
  }
  return TRUE;
}

// Milliseconds to the first visible window, or -1 when it never shows.
double TimeToWindow(const std::wstring& exe) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t0);
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  double ms = -1;
  for (;;) {
    Search s{pi.dwProcessId, false};
    EnumWindows(Visible, reinterpret_cast<LPARAM>(&s));
    QueryPerformanceCounter(&t1);
    const double elapsed = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
    if (s.found) {
      ms = elapsed;
      break;
    }
    if (elapsed > 30000) break;
    Sleep(1);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    fwprintf(stderr, L"usage: startup RUNS program.exe [program.exe...]\n");
    return 2;
  }
  const int runs = _wtoi(argv[1]);
  std::vector<std::vector<double>> times(static_cast<size_t>(argc - 2));
  for (int r = 0; r < runs; ++r) {
    for (int p = 2; p < argc; ++p) {
      const double ms = TimeToWindow(argv[p]);
      if (ms < 0) {
        fwprintf(stderr, L"%ls showed no window\n", argv[p]);
        return 1;
      }
      times[static_cast<size_t>(p - 2)].push_back(ms);
    }
  }
  for (int p = 2; p < argc; ++p) {
    const auto& t = times[static_cast<size_t>(p - 2)];
    wprintf(L"%ls\t%.1f\t%.1f\t%.1f\n", argv[p], Median(t), *std::min_element(t.begin(), t.end()),
            *std::max_element(t.begin(), t.end()));
  }
  return 0;
}
