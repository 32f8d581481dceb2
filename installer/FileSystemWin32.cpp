#include "FileSystemWin32.h"

#include <psapi.h>

#include <vector>

#include "Collegamento.h"
#include "Handles.h"
#include "VersionInfo.h"

namespace velisca {

namespace {

// The calling thread's error code; a failure that left none still counts as one.
NumeroErrore UltimoErrore() {
  const DWORD e = GetLastError();
  return static_cast<NumeroErrore>(e != ERROR_SUCCESS ? e : ERROR_GEN_FAILURE);
}

}  // namespace

NumeroErrore FileSystemWin32::CopiaFile(const std::wstring& from, const std::wstring& to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) ? 0 : UltimoErrore();
}

NumeroErrore FileSystemWin32::RimuoviCartella(const std::wstring& path) {
  tenute_.erase(Chiave(path));  // a folder held open could not go
  return RemoveDirectoryW(path.c_str()) ? 0 : UltimoErrore();
}

// A rename within the folder, never a copy: it replaces the destination
// whole or not at all. Windows refuses to rename over a write-protected file
// or over one that is open (a running program) with ERROR_ACCESS_DENIED, and
// the destination stays as it was. ReplaceFileW would instead carry the
// earlier file's attributes and named streams over to the new one, cannot
// write through, and on one of its failures leaves no file at the
// destination at all.
NumeroErrore FileSystemWin32::Sostituisci(const std::wstring& nuovo, const std::wstring& destinazione) {
  // Wine renames over a write-protected file like Unix does: refuse it here
  // as Windows itself does.
  const DWORD attributi = GetFileAttributesW(destinazione.c_str());
  if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
  {
    // The new file's bytes reach the disk before its name does, so that a
    // power cut just after the rename leaves no empty program behind. A copy
    // of a write-protected source is write-protected too and cannot be opened
    // for writing: it goes as is. Any other refusal is reported, so that a
    // program holding the new file is waited for like at the rename.
    const forms::KernelHandle dati(
        CreateFileW(nuovo.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!dati) {
      const NumeroErrore e = UltimoErrore();
      const DWORD suo = GetFileAttributesW(nuovo.c_str());
      if (e != ERROR_ACCESS_DENIED || suo == INVALID_FILE_ATTRIBUTES || !(suo & FILE_ATTRIBUTE_READONLY)) return e;
    } else if (!FlushFileBuffers(dati.get())) {
      return UltimoErrore();
    }
  }
  return MoveFileExW(nuovo.c_str(), destinazione.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? 0
             : UltimoErrore();
}

NumeroErrore FileSystemWin32::EliminaFile(const std::wstring& path) {
  // A copy of a write-protected source is write-protected too.
  const DWORD attributi = GetFileAttributesW(path.c_str());
  if (attributi == INVALID_FILE_ATTRIBUTES) return UltimoErrore();
  if ((attributi & FILE_ATTRIBUTE_READONLY) &&
      !SetFileAttributesW(path.c_str(), attributi & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)))
    return UltimoErrore();
  return DeleteFileW(path.c_str()) ? 0 : UltimoErrore();
}

NumeroErrore FileSystemWin32::TogliSolaLettura(const std::wstring& path) {
  const DWORD attributi = GetFileAttributesW(path.c_str());
  if (attributi == INVALID_FILE_ATTRIBUTES) return UltimoErrore();
  if (!(attributi & FILE_ATTRIBUTE_READONLY)) return 0;
  // FILE_ATTRIBUTE_NORMAL is only valid alone: what is left of none is that.
  const DWORD resto = attributi & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  return SetFileAttributesW(path.c_str(), resto != 0 ? resto : FILE_ATTRIBUTE_NORMAL) ? 0 : UltimoErrore();
}

// The mark lives in the file's alternate data stream "Zone.Identifier";
// deleting the stream leaves the file itself alone.
NumeroErrore FileSystemWin32::RimuoviProvenienza(const std::wstring& path) {
  return DeleteFileW((path + L":Zone.Identifier").c_str()) ? 0 : UltimoErrore();
}

std::optional<VersioneFile> FileSystemWin32::Versione(const std::wstring& path) {
  const forms::VersionInfo version(path);
  const VS_FIXEDFILEINFO* info = version.Fixed();
  if (!info) return std::nullopt;
  return VersioneFile{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                      LOWORD(info->dwFileVersionLS)};
}

// A test, not a change: the file is opened for writing, sharing everything
// with whoever holds it, and closed again at once. A running program's image
// cannot be opened so (32), a write-protected file neither (5); a program
// that holds the file only to read it, sharing it, lets the open through.
bool FileSystemWin32::ScrivibileOra(const std::wstring& path) {
  const DWORD attributi = GetFileAttributesW(path.c_str());
  if (attributi == INVALID_FILE_ATTRIBUTES || (attributi & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  const forms::KernelHandle aperto(CreateFileW(path.c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
  return static_cast<bool>(aperto);
}

void FileSystemWin32::Attendi(int millisecondi) { Sleep(static_cast<DWORD>(millisecondi)); }

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

std::wstring CartellaSorgente() {
  std::wstring cartella = CartellaEseguibile();
  if (GetFileAttributesW(cartella.c_str()) != INVALID_FILE_ATTRIBUTES) return cartella;
  // The mapped file name of this program's image names the device it was
  // read from: on a share, the redirector with the server and the share.
  std::vector<wchar_t> nome(32768);
  const DWORD got = K32GetMappedFileNameW(GetCurrentProcess(), reinterpret_cast<void*>(GetModuleHandleW(nullptr)),
                                          nome.data(), static_cast<DWORD>(nome.size()));
  if (got == 0 || got >= nome.size()) return cartella;
  const std::wstring rete = PercorsoDiRete(std::wstring_view(nome.data(), got));
  if (rete.empty()) return cartella;
  // Where the share cannot be read either, the folder keeps its drive letter
  // and the first copy fails as it always did.
  std::wstring diRete = CartellaDi(rete);
  return GetFileAttributesW(diRete.c_str()) != INVALID_FILE_ATTRIBUTES ? diRete : cartella;
}

}  // namespace velisca
