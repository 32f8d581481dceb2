#include "Istanza.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "Handles.h"
#include "Messages.h"

namespace velisca {
namespace {

// Global: the installed files are the machine's, whichever user installs.
constexpr wchar_t kNomeMutex[] = L"Global\\Velisca-ZORNAVEX-installazione";

std::wstring NomeFile(std::wstring percorso) {
  const auto sep = percorso.find_last_of(L"\\/");
  if (sep != std::wstring::npos) percorso.erase(0, sep + 1);
  CharUpperBuffW(percorso.data(), static_cast<DWORD>(percorso.size()));
  return percorso;
}

std::wstring ImmagineDi(DWORD processo) {
  const forms::KernelHandle h(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processo));
  if (!h) return {};
  std::vector<wchar_t> nome(32768);
  DWORD lunghezza = static_cast<DWORD>(nome.size());
  const BOOL ok = QueryFullProcessImageNameW(h.get(), 0, nome.data(), &lunghezza);
  return ok ? NomeFile(std::wstring(nome.data(), lunghezza)) : std::wstring();
}

struct Ricerca {
  std::wstring immagine;  // the file name of this program
  HWND trovata = nullptr;
};

// Top-level windows come front to back: the first visible, enabled window of
// another process of the same program is the one that takes input (a modal
// page or a message box, not the background they disable).
BOOL CALLBACK Esamina(HWND finestra, LPARAM dati) {
  auto& ricerca = *reinterpret_cast<Ricerca*>(dati);
  DWORD processo = 0;
  GetWindowThreadProcessId(finestra, &processo);
  if (processo == GetCurrentProcessId() || !IsWindowVisible(finestra) || !IsWindowEnabled(finestra)) return TRUE;
  if (ImmagineDi(processo) != ricerca.immagine) return TRUE;
  ricerca.trovata = finestra;
  return FALSE;
}

void PortaDavanti() {
  wchar_t proprio[MAX_PATH]{};
  const DWORD n = GetModuleFileNameW(nullptr, proprio, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  Ricerca ricerca{NomeFile(std::wstring(proprio, n))};
  EnumWindows(&Esamina, reinterpret_cast<LPARAM>(&ricerca));
  if (!ricerca.trovata) return;
  if (IsIconic(ricerca.trovata)) ShowWindow(ricerca.trovata, SW_RESTORE);
  SetForegroundWindow(ricerca.trovata);
}

}  // namespace

void UnaSolaVelisca() {
  struct Mutex {
    forms::KernelHandle handle;  // held until the program ends
    DWORD errore;
  };
  // The error is read at once: the guard of a static may reset it.
  static const Mutex mutex = [] {
    const HANDLE h = CreateMutexW(nullptr, FALSE, kNomeMutex);
    const DWORD errore = GetLastError();
    return Mutex{forms::KernelHandle(h), errore};
  }();
  // Refused access means that another user's Velisca made it.
  if (mutex.handle ? mutex.errore != ERROR_ALREADY_EXISTS : mutex.errore != ERROR_ACCESS_DENIED) return;
  PortaDavanti();
  forms::EndProgram();
}

}  // namespace velisca
