#include "FileSystemWin32.h"

#include <vector>

#include "Collegamento.h"

namespace velisca {

namespace {

// The calling thread's error code; a failure that left none still counts as one.
NumeroErrore UltimoErrore() {
  const DWORD e = GetLastError();
  return static_cast<NumeroErrore>(e != ERROR_SUCCESS ? e : ERROR_GEN_FAILURE);
}

}  // namespace

NumeroErrore FileSystemWin32::CreaCartella(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) ? 0 : UltimoErrore();
}

NumeroErrore FileSystemWin32::CopiaFile(const std::wstring& from, const std::wstring& to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) ? 0 : UltimoErrore();
}

NumeroErrore FileSystemWin32::RimuoviCartella(const std::wstring& path) {
  return RemoveDirectoryW(path.c_str()) ? 0 : UltimoErrore();
}

std::optional<VersioneFile> FileSystemWin32::Versione(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return std::nullopt;
  void* block = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", &block, &length) || length < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
  if (info->dwSignature != 0xFEEF04BD) return std::nullopt;
  return VersioneFile{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                      LOWORD(info->dwFileVersionLS)};
}

NumeroErrore ScrivaniaWin32::TrovaDesktop() { return Collegamento::TrovaDesktop(); }

bool ScrivaniaWin32::CreaCollegamento(const std::wstring& file, const std::wstring& target,
                                      const std::wstring& cartellaLavoro, const std::wstring& argomenti,
                                      const std::wstring& fileIcona, std::int32_t indiceIcona, std::int32_t mostra) {
  return Collegamento::CreaCollegamento(file, target, cartellaLavoro, argomenti, fileIcona, indiceIcona, mostra);
}

std::wstring CartellaEseguibile() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return {};
    if (got < buffer.size()) return CartellaDi(std::wstring_view(buffer.data(), got));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace velisca
