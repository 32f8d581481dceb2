// DLLs the program needs only now and then, loaded when first needed and
// only from the system folder, never from the program's own folder.
#pragma once

#include <windows.h>

namespace zornavex {

// The DLL of that name in the system folder; nullptr when it cannot load.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a loaded DLL as the pointer type the caller names.
template <typename Fn>
Fn SystemFunction(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace zornavex
