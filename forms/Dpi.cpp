#include "Dpi.h"

#include "SystemLibrary.h"

namespace forms::dpi {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);
// shcore.dll's, from Windows 8.1: MDT_EFFECTIVE_DPI is 0.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

struct PerMonitor {
  GetDpiForWindowFn forWindow = nullptr;
  GetDpiForSystemFn forSystem = nullptr;
  GetSystemMetricsForDpiFn metrics = nullptr;
  AdjustWindowRectExForDpiFn adjust = nullptr;
  EnableNonClientDpiScalingFn nonClient = nullptr;
};

const PerMonitor& Found() {
  static const PerMonitor found = [] {
    PerMonitor p;
    // user32 is loaded in every process that has windows.
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
      p.forWindow = SystemFunction<GetDpiForWindowFn>(user32, "GetDpiForWindow");
      p.forSystem = SystemFunction<GetDpiForSystemFn>(user32, "GetDpiForSystem");
      p.metrics = SystemFunction<GetSystemMetricsForDpiFn>(user32, "GetSystemMetricsForDpi");
      p.adjust = SystemFunction<AdjustWindowRectExForDpiFn>(user32, "AdjustWindowRectExForDpi");
      p.nonClient = SystemFunction<EnableNonClientDpiScalingFn>(user32, "EnableNonClientDpiScaling");
    }
    return p;
  }();
  return found;
}

// Windows 8.1 and 10 before 1607 know each monitor's DPI but not a window's:
// shcore.dll, which Windows 7 lacks, is loaded only where it is asked for.
GetDpiForMonitorFn ForMonitorFn() {
  static const GetDpiForMonitorFn fn =
      SystemFunction<GetDpiForMonitorFn>(LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
  return fn;
}

bool g_forceFallback = false;

const PerMonitor* Available() {
  const PerMonitor& p = Found();
  if (g_forceFallback || !p.forWindow || !p.forSystem || !p.metrics || !p.adjust) return nullptr;
  return &p;
}

}  // namespace

UINT ForSystem() {
  if (const PerMonitor* p = Available()) return p->forSystem();
  HDC screen = GetDC(nullptr);
  if (!screen) return 96;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT ForWindow(HWND window) {
  if (const PerMonitor* p = Available()) {
    if (const UINT dpi = p->forWindow(window)) return dpi;
  }
  if (const GetDpiForMonitorFn forMonitor = ForMonitorFn()) {
    UINT x = 0, y = 0;
    if (SUCCEEDED(forMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && x > 0) return x;
  }
  return ForSystem();
}

void EnableNonClientScaling(HWND window) {
  // Windows 10 1607 scales a per-monitor (version 1) window's title bar and
  // menu only when asked to, while it is being made; from 1703 on the
  // manifest's version 2 does it, and the call changes nothing.
  if (g_forceFallback) return;
  if (const EnableNonClientDpiScalingFn fn = Found().nonClient) (void)fn(window);
}

int Metric(int index, UINT dpi) {
  if (const PerMonitor* p = Available()) return p->metrics(index, dpi);
  return GetSystemMetrics(index);
}

bool AdjustRect(RECT& r, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
  if (const PerMonitor* p = Available()) return p->adjust(&r, style, menu ? TRUE : FALSE, exStyle, dpi) != FALSE;
  return AdjustWindowRectEx(&r, style, menu ? TRUE : FALSE, exStyle) != FALSE;
}

void ForceFallback(bool on) { g_forceFallback = on; }

}  // namespace forms::dpi
