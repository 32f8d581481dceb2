// Where the system-information tool is: its full path from the first key,
// or its folder from the second key when the folder holds MSINFO32.EXE.
#pragma once

#include <optional>
#include <string>

namespace zornavex::sysinfo {

inline constexpr wchar_t kPathKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr wchar_t kPathValue[] = L"PATH";
inline constexpr wchar_t kFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr wchar_t kFolderValue[] = L"MSINFO";
inline constexpr wchar_t kProgramName[] = L"\\MSINFO32.EXE";
inline constexpr wchar_t kNotAvailable[] = L"Le informazioni sul sistema non sono attualmente disponibili.";

// read(key, valueName, text) -> bool reads one value of HKEY_LOCAL_MACHINE;
// isFile(path) -> bool tests for an existing ordinary file. The path found
// by the first lookup is used as it is, even when it names nothing: the
// start then fails. Nothing means: show the message. Whatever read throws
// reaches the caller, which shows the message too.
template <typename Read, typename IsFile>
std::optional<std::wstring> FindProgram(Read&& read, IsFile&& isFile) {
  std::wstring text;
  if (read(kPathKey, kPathValue, text)) return text;
  if (!read(kFolderKey, kFolderValue, text)) return std::nullopt;
  text += kProgramName;
  if (isFile(text)) return text;
  return std::nullopt;
}

}  // namespace zornavex::sysinfo
