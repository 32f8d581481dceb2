// The stack protector's guard and failure handler, in place of GCC's libssp.
// libssp seeds its guard through CryptGenRandom from a constructor that runs
// before wWinMain, that is, before the DLL search is restricted: the crypto
// DLLs it pulls in by name could then come from the program's folder. This
// seeds it as Microsoft's run-time seeds its /GS cookie, from values that need
// no DLL beyond kernel32: the time, the counters, the process and thread ids
// and where the randomised stack lies.
#include <windows.h>

#include <cstdint>

extern "C" {

uintptr_t __stack_chk_guard = 0x2B992DDFA232u;

// Never returns: the stack is no longer trusted, so nothing unwinds or runs
// its clean-up; the code is the one Windows reports for an overrun.
[[noreturn]] void __stack_chk_fail() {
  OutputDebugStringA("stack buffer overrun detected: the process ends");
  TerminateProcess(GetCurrentProcess(), 0xC0000409u);  // STATUS_STACK_BUFFER_OVERRUN
  for (;;) {
  }
}

}  // extern "C"

namespace {

// Runs before any other constructor of the module; built without the
// protector, as no frame below it may have saved the old guard.
__attribute__((constructor(101))) void SeedStackGuard() {
  FILETIME time{};
  GetSystemTimeAsFileTime(&time);
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  uint64_t seed = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  seed ^= static_cast<uint64_t>(counter.QuadPart) * 0x9E3779B97F4A7C15u;
  seed ^= static_cast<uint64_t>(GetCurrentProcessId()) << 32 ^ GetCurrentThreadId();
  seed ^= GetTickCount64() << 20;
  seed ^= reinterpret_cast<uintptr_t>(&seed);
  // A zero byte first stops string overruns from copying past the guard.
  seed &= ~static_cast<uint64_t>(0xFF);
  if (seed != 0) __stack_chk_guard = static_cast<uintptr_t>(seed);
}

}  // namespace
