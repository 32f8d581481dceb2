// DPI of windows and metrics at a DPI. The per-monitor functions exist only
// from Windows 10 version 1607, so they are looked up at run time; older
// systems get the system DPI, which is what they scale windows by anyway.
#pragma once

#include <windows.h>

namespace forms::dpi {

UINT ForSystem();
// The DPI the window is drawn at.
UINT ForWindow(HWND window);
// GetSystemMetrics at a DPI (the system's metrics where per-monitor ones do
// not exist, which are then at the system DPI already).
int Metric(int index, UINT dpi);
// The window rectangle that holds the client rectangle r.
bool AdjustRect(RECT& r, DWORD style, bool menu, DWORD exStyle, UINT dpi);

// Tests only: behave as a system without the per-monitor functions.
void ForceFallback(bool on);

}  // namespace forms::dpi
