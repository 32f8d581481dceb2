#include "prefix_tools.h"

#include "Handles.h"
#include "sysinfo_lookup.h"
#include "ui_driver.h"

namespace infotest {

int Reg(const std::wstring& args) {
  std::wstring command = L"reg.exe " + args;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                      &pi))
    return -1;
  forms::KernelHandle process(pi.hProcess), thread(pi.hThread);
  if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  if (!GetExitCodeProcess(process.get(), &code)) return -1;
  return static_cast<int>(code);
}

void ClearSysInfoValues() {
  using namespace zornavex::sysinfo;
  Reg(L"delete \"HKLM\\" + std::wstring(kPathKey) + L"\" /v " + kPathValue + L" /f");
  Reg(L"delete \"HKLM\\" + std::wstring(kFolderKey) + L"\" /v " + kFolderValue + L" /f");
}

bool PlaceFakeProgram(const std::wstring& path) {
  wchar_t self[MAX_PATH]{};
  if (!GetModuleFileNameW(nullptr, self, MAX_PATH)) return false;
  std::wstring source(self);
  source = source.substr(0, source.find_last_of(L'\\') + 1) + L"info_fake_program.exe";
  // Every folder level of the target, one at a time.
  for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
    CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
  DeleteFileW((path + L".started").c_str());
  return CopyFileW(source.c_str(), path.c_str(), FALSE) != FALSE;
}

std::optional<std::string> WaitForNote(const std::wstring& path, DWORD timeoutMs) {
  const std::wstring note = path + L".started";
  std::optional<std::string> found;
  zxtest::WaitFor([&] {
    forms::KernelHandle file(CreateFileW(note.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                         nullptr));
    char text[64]{};
    DWORD got = 0;
    if (file && ReadFile(file.get(), text, sizeof(text) - 1, &got, nullptr) && got > 0) found.emplace(text, got);
    return found.has_value();
  }, timeoutMs);
  return found;
}

}  // namespace infotest
