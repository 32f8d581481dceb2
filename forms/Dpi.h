// DPI of windows and metrics at a DPI. The per-window functions exist only
// from Windows 10 version 1607 and the per-monitor one from 8.1, so they are
// looked up at run time; Windows 7 gets the system DPI, which is what it
// scales windows by anyway.
#pragma once

#include <windows.h>

namespace forms::dpi {

UINT ForSystem();
// The DPI the window is drawn at: its own (Windows 10 1607 and later), its
// monitor's (8.1 and later), else the system's.
UINT ForWindow(HWND window);
// To be called at WM_NCCREATE: the title bar and menu follow the DPI too.
void EnableNonClientScaling(HWND window);
// GetSystemMetrics at a DPI (the system's metrics where per-monitor ones do
// not exist, which are then at the system DPI already).
int Metric(int index, UINT dpi);
// The window rectangle that holds the client rectangle r.
bool AdjustRect(RECT& r, DWORD style, bool menu, DWORD exStyle, UINT dpi);

// Tests only: behave as a system without the per-monitor functions.
void ForceFallback(bool on);

}  // namespace forms::dpi
