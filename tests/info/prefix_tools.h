// Test helpers that change the Wine prefix the tests run in: registry values
// written with the platform's own reg.exe, and copies of the fake program.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace infotest {

// Runs "reg.exe <args>" and returns its exit code (-1 if it did not run).
int Reg(const std::wstring& args);

// Removes both values the system-information lookup reads.
void ClearSysInfoValues();

// Copies the fake program (built beside the test) to `path`, creating its
// folders; removes an older note of it.
bool PlaceFakeProgram(const std::wstring& path);

// What the fake program at `path` wrote when it started ("show=1 args=0"),
// waiting up to timeoutMs; nothing if it never started.
std::optional<std::string> WaitForNote(const std::wstring& path, DWORD timeoutMs);

}  // namespace infotest
