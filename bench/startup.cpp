// Times how long programs take from process start to a visible top-level
// window, runs interleaved (each round starting with the next program) so
// that all see the same machine load, and reads each one's peak working set
// once it waits for input. Per program it prints, tab-separated: path,
// median, fastest and slowest ms, median peak working set in KB, and the
// median over rounds of the first program's time divided by its own. Then
// one line per round, "round" and each program's ms, for the spread.
// Usage: startup RUNS program.exe [program.exe...]
#include <windows.h>
#include <psapi.h>

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

struct Run {
  double ms = -1;        // to the first visible window; -1 when it never shows
  double peakKb = -1;    // peak working set; -1 when it cannot be read
  std::wstring failure;  // why there is no time
};

Run TimeToWindow(const std::wstring& exe) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t0);
  Run run;
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    run.failure = L"cannot be started, error " + std::to_wstring(GetLastError());
    return run;
  }
  for (;;) {
    Search s{pi.dwProcessId, false};
    EnumWindows(Visible, reinterpret_cast<LPARAM>(&s));
    QueryPerformanceCounter(&t1);
    const double elapsed = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
    if (s.found) {
      run.ms = elapsed;
      break;
    }
    DWORD code = 0;
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code)) {
      run.failure = L"ended before showing a window, exit code " + std::to_wstring(code);
      break;
    }
    if (elapsed > 30000) {
      run.failure = L"showed no window in 30 s";
      break;
    }
    Sleep(1);
  }
  // What the program still does after showing (tool tips) counts in its memory.
  if (run.ms >= 0) WaitForInputIdle(pi.hProcess, 5000);
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  if (K32GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof(pmc)))
    run.peakKb = static_cast<double>(pmc.PeakWorkingSetSize) / 1024.0;
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // The desktop repaints where the window was: let that end before the next start.
  Sleep(300);
  return run;
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
  const size_t n = static_cast<size_t>(argc - 2);
  std::vector<std::vector<double>> peaks(n), rounds;
  for (int r = 0; r < runs; ++r) {
    std::vector<double> round(n);
    for (size_t k = 0; k < n; ++k) {
      const size_t p = (static_cast<size_t>(r) + k) % n;
      Run run = TimeToWindow(argv[p + 2]);
      // Wine now and then fails a start under load (error 1359): try again.
      for (int retry = 0; retry < 3 && run.ms < 0 && run.failure.starts_with(L"cannot"); ++retry) {
        fwprintf(stderr, L"%ls, round %d: %ls; starting again\n", argv[p + 2], r + 1, run.failure.c_str());
        run = TimeToWindow(argv[p + 2]);
      }
      if (run.ms < 0) {
        fwprintf(stderr, L"%ls, round %d: %ls\n", argv[p + 2], r + 1, run.failure.c_str());
        return 1;
      }
      round[p] = run.ms;
      peaks[p].push_back(run.peakKb);
    }
    rounds.push_back(round);
  }
  for (size_t p = 0; p < n; ++p) {
    std::vector<double> t, ratios;
    for (const auto& round : rounds) {
      t.push_back(round[p]);
      ratios.push_back(round[0] / round[p]);
    }
    wprintf(L"%ls\t%.1f\t%.1f\t%.1f\t%.0f\t%.3f\n", argv[p + 2], Median(t), *std::min_element(t.begin(), t.end()),
            *std::max_element(t.begin(), t.end()), Median(peaks[p]), Median(ratios));
  }
  for (const auto& round : rounds) {
    wprintf(L"round");
    for (double ms : round) wprintf(L"\t%.1f", ms);
    wprintf(L"\n");
  }
  return 0;
}
