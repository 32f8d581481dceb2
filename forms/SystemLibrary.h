// Functions the programs look up instead of importing: those newer than the
// oldest Windows they run on, and DLLs needed only now and then, loaded when
// first needed and only from the system folder, never the program's own.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

// The Windows folder and the system folder, without a trailing separator;
// empty when the platform does not say.
std::wstring WindowsFolder();
std::wstring SystemFolder();

// The DLL of that name in the system folder; nullptr when it cannot load.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a loaded DLL as the pointer type the caller names; nullptr
// without the module or the function.
template <typename Fn>
Fn SystemFunction(HMODULE module, const char* name) {
  // GetProcAddress returns a generic pointer; the cast through void* keeps
  // both compilers quiet about the signature change.
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace forms
