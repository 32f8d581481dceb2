#include "Dpi.h"

#include "SystemLibrary.h"

namespace forms::dpi {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

struct PerMonitor {
  GetDpiForWindowFn forWindow = nullptr;
  GetDpiForSystemFn forSystem = nullptr;
  GetSystemMetricsForDpiFn metrics = nullptr;
  AdjustWindowRectExForDpiFn adjust = nullptr;
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
    }
    return p;
  }();
  return found;
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
  return ForSystem();
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
