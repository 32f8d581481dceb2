// The common controls' functions, looked up at run time: comctl32 is loaded
// by name once the DLL search is restricted, so that the manifest gives
// version 6 from the side-by-side store and the DLLs it loads in turn (uxtheme)
// come from the system folder, never from the program's own.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace forms {

bool InitialiseCommonControls(DWORD classes);
// SetWindowSubclass, DefSubclassProc and RemoveWindowSubclass; without
// comctl32 a control is simply not subclassed.
bool SetSubclass(HWND h, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
LRESULT DefSubclass(HWND h, UINT msg, WPARAM wp, LPARAM lp);
bool RemoveSubclass(HWND h, SUBCLASSPROC proc, UINT_PTR id);

}  // namespace forms
