#include "Istanza.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <string_view>
#include <vector>

#include "Handles.h"
#include "Installazione.h"
#include "Messages.h"
#include "SidNoto.h"
#include "SystemLibrary.h"

namespace velisca {
namespace {

// Global: the installed files are the machine's, whichever user installs.
constexpr wchar_t kNomeMutex[] = L"Global\\Velisca-ZORNAVEX-installazione";
// A namespace only a member of Administrators can make: nobody else can take
// a name in it.
constexpr wchar_t kSpazio[] = L"Velisca-ZORNAVEX";
constexpr wchar_t kNomePrivato[] = L"Velisca-ZORNAVEX\\installazione";
// Only SYSTEM and Administrators may open the lock; its owner is Administrators.
constexpr wchar_t kProtezione[] = L"O:BAD:P(A;;GA;;;SY)(A;;GA;;;BA)";

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

// Whether the other Velisca's window is now in front. It is not found when
// it runs in another session (fast user switching, a remote desktop).
bool PortaDavanti() {
  wchar_t proprio[MAX_PATH]{};
  const DWORD n = GetModuleFileNameW(nullptr, proprio, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  Ricerca ricerca{NomeFile(std::wstring(proprio, n))};
  EnumWindows(&Esamina, reinterpret_cast<LPARAM>(&ricerca));
  if (!ricerca.trovata) return false;
  if (IsIconic(ricerca.trovata)) ShowWindow(ricerca.trovata, SW_RESTORE);
  return SetForegroundWindow(ricerca.trovata) != FALSE;
}

enum class Blocco { Preso, DiUnAltro, Ignoto };

// A mutex of our own, or the answer that another Velisca holds it.
Blocco Prendi(const wchar_t* nome, SECURITY_ATTRIBUTES* sa, forms::KernelHandle& tenuto, bool controllaProprietario) {
  forms::KernelHandle h(CreateMutexW(sa, FALSE, nome));
  const DWORD errore = GetLastError();  // read at once: nothing may reset it
  // A refusal is an object somebody else made with rights that shut
  // administrators out: not a Velisca.
  if (!h) return Blocco::Ignoto;
  if (errore != ERROR_ALREADY_EXISTS) {
    tenuto = std::move(h);
    return Blocco::Preso;
  }
  if (!controllaProprietario) return Blocco::DiUnAltro;
  // Anyone may make a global name. Only an administrator can make one owned
  // by Administrators, as every Velisca does.
  PSID proprietario = nullptr;
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (GetSecurityInfo(h.get(), SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &proprietario, nullptr, nullptr,
                      nullptr, &sd) != ERROR_SUCCESS)
    return Blocco::Ignoto;
  const forms::LocalMemory libera(sd);
  const bool amministratori = IsWellKnownSid(proprietario, WinBuiltinAdministratorsSid) ||
                              IsWellKnownSid(proprietario, WinLocalSystemSid);
  return amministratori ? Blocco::DiUnAltro : Blocco::Ignoto;
}

// The private namespace (Windows Vista and later), looked up at run time:
// Wine 8 has none of its functions.
class SpazioPrivato {
 public:
  SpazioPrivato() {
    const HMODULE k = GetModuleHandleW(L"kernel32.dll");
    crea_ = forms::SystemFunction<decltype(crea_)>(k, "CreateBoundaryDescriptorW");
    aggiungi_ = forms::SystemFunction<decltype(aggiungi_)>(k, "AddSIDToBoundaryDescriptor");
    elimina_ = forms::SystemFunction<decltype(elimina_)>(k, "DeleteBoundaryDescriptor");
    creaSpazio_ = forms::SystemFunction<decltype(creaSpazio_)>(k, "CreatePrivateNamespaceW");
    apriSpazio_ = forms::SystemFunction<decltype(apriSpazio_)>(k, "OpenPrivateNamespaceW");
    chiudi_ = forms::SystemFunction<decltype(chiudi_)>(k, "ClosePrivateNamespace");
  }
  ~SpazioPrivato() {
    if (spazio_) chiudi_(spazio_, 0);
    if (confine_) elimina_(confine_);
  }
  SpazioPrivato(const SpazioPrivato&) = delete;
  SpazioPrivato& operator=(const SpazioPrivato&) = delete;

  bool Apri(SECURITY_ATTRIBUTES* sa) {
    if (!crea_ || !aggiungi_ || !elimina_ || !creaSpazio_ || !apriSpazio_ || !chiudi_) return false;
    const Sid amministratori = SidNoto(WinBuiltinAdministratorsSid);
    if (!amministratori.ok) return false;
    confine_ = crea_(kSpazio, 0);
    if (!confine_ || !aggiungi_(&confine_, amministratori.get())) return false;
    spazio_ = creaSpazio_(sa, confine_, kSpazio);
    if (!spazio_ && GetLastError() == ERROR_ALREADY_EXISTS) spazio_ = apriSpazio_(confine_, kSpazio);
    return spazio_ != nullptr;
  }

 private:
  HANDLE(WINAPI* crea_)(LPCWSTR, ULONG) = nullptr;
  BOOL(WINAPI* aggiungi_)(HANDLE*, PSID) = nullptr;
  VOID(WINAPI* elimina_)(HANDLE) = nullptr;
  HANDLE(WINAPI* creaSpazio_)(LPSECURITY_ATTRIBUTES, LPVOID, LPCWSTR) = nullptr;
  HANDLE(WINAPI* apriSpazio_)(LPVOID, LPCWSTR) = nullptr;
  BOOLEAN(WINAPI* chiudi_)(HANDLE, ULONG) = nullptr;
  HANDLE confine_ = nullptr;
  HANDLE spazio_ = nullptr;
};

// Every lock is held until the program ends.
struct Blocchi {
  SpazioPrivato spazio;
  forms::KernelHandle privato, globale;
  bool altraVelisca = false;
};

}  // namespace

void UnaSolaVelisca() {
  // Made once: the lock lives as long as the program.
  static Blocchi blocchi;
  static const bool fatto = [] {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtezione, SDDL_REVISION_1, &sd, nullptr)) return true;
    const forms::LocalMemory libera(sd);
    SECURITY_ATTRIBUTES sa{sizeof sa, sd, FALSE};
    // The private lock stands even when somebody squats the global name; the
    // global one also covers a Windows where the namespace cannot be made.
    // A lock that cannot be made or read lets this Velisca run.
    if (blocchi.spazio.Apri(&sa) && Prendi(kNomePrivato, &sa, blocchi.privato, false) == Blocco::DiUnAltro)
      blocchi.altraVelisca = true;
    if (Prendi(kNomeMutex, &sa, blocchi.globale, true) == Blocco::DiUnAltro) blocchi.altraVelisca = true;
    return true;
  }();
  (void)fatto;
  if (!blocchi.altraVelisca) return;
  if (!PortaDavanti()) forms::ShowMessage(kTestoGiaInCorso, kTitoloAnnulla, kInformazione);
  forms::EndProgram();
}

}  // namespace velisca
