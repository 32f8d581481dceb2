// The install folders' owners and rights on Windows: read into the portable
// form of Cartelle.h, and written from VociProtette() as an explicit,
// protected access list with the owner Administrators.
#include <windows.h>

#include <aclapi.h>
#include <winioctl.h>

#include <vector>

#include "FileSystemWin32.h"
#include "SidNoto.h"

namespace velisca {
namespace {

// NT SERVICE\TrustedInstaller, which owns Windows' own folders.
Sid TrustedInstaller() {
  static constexpr DWORD kParti[] = {SECURITY_SERVICE_ID_BASE_RID, 956008885, 3418522649, 1831038044, 1853292631,
                                     2271478464};
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  Sid s;
  if (!InitializeSid(s.dati.data(), &nt, 6)) return s;
  for (DWORD i = 0; i < 6; ++i) *GetSidSubAuthority(s.dati.data(), i) = kParti[i];
  s.ok = true;
  return s;
}

// The account this program runs as.
std::vector<BYTE> UtenteCorrente() {
  HANDLE t = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &t)) return {};
  const forms::KernelHandle token(t);
  DWORD n = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &n);
  std::vector<BYTE> dati(n);
  if (n == 0 || !GetTokenInformation(token.get(), TokenUser, dati.data(), n, &n)) return {};
  return dati;
}

Principale Chi(PSID sid) {
  static const Sid sistema = SidNoto(WinLocalSystemSid), amministratori = SidNoto(WinBuiltinAdministratorsSid),
                   creatore = SidNoto(WinCreatorOwnerSid), utenti = SidNoto(WinBuiltinUsersSid),
                   ti = TrustedInstaller();
  static const std::vector<BYTE> io = UtenteCorrente();
  const auto uguale = [sid](PSID altro) { return altro && EqualSid(sid, altro); };
  if (!sid || !IsValidSid(sid)) return Principale::Altro;
  if (uguale(sistema.get())) return Principale::Sistema;
  if (uguale(amministratori.get())) return Principale::Amministratori;
  if (uguale(ti.get())) return Principale::TrustedInstaller;
  if (uguale(creatore.get())) return Principale::CreatoreProprietario;
  if (uguale(utenti.get())) return Principale::Utenti;
  if (!io.empty() && uguale(reinterpret_cast<const TOKEN_USER*>(io.data())->User.Sid)) return Principale::Installatore;
  return Principale::Altro;
}

PSID SidDi(Principale p) {
  static const Sid sistema = SidNoto(WinLocalSystemSid), amministratori = SidNoto(WinBuiltinAdministratorsSid),
                   utenti = SidNoto(WinBuiltinUsersSid);
  switch (p) {
    case Principale::Sistema: return sistema.get();
    case Principale::Amministratori: return amministratori.get();
    case Principale::Utenti: return utenti.get();
    default: return nullptr;
  }
}

NumeroErrore LeggiSicurezza(HANDLE h, Sicurezza& out) {
  PSID proprietario = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR sd = nullptr;
  const DWORD e = GetSecurityInfo(h, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                  &proprietario, nullptr, &dacl, nullptr, &sd);
  if (e != ERROR_SUCCESS) return static_cast<NumeroErrore>(e);
  const forms::LocalMemory libera(sd);
  out.proprietario = Chi(proprietario);
  if (!dacl) {
    out.voci.reset();
    return 0;
  }
  std::vector<Voce> voci;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(dacl, i, &ace)) return static_cast<NumeroErrore>(GetLastError());
    const auto* testa = static_cast<const ACE_HEADER*>(ace);
    const bool soloEreditata = (testa->AceFlags & INHERIT_ONLY_ACE) != 0;
    const bool aiFigli = (testa->AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) != 0;
    // Allow and deny entries, with or without a condition, share one layout.
    const auto* voce = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
    switch (testa->AceType) {
      case ACCESS_ALLOWED_ACE_TYPE:
      case ACCESS_ALLOWED_CALLBACK_ACE_TYPE:
      case ACCESS_DENIED_ACE_TYPE:
      case ACCESS_DENIED_CALLBACK_ACE_TYPE: {
        const bool consente =
            testa->AceType == ACCESS_ALLOWED_ACE_TYPE || testa->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE;
        voci.push_back({Chi(const_cast<DWORD*>(&voce->SidStart)), consente, voce->Mask, soloEreditata, aiFigli});
        break;
      }
      default:  // an entry of a kind no folder should carry counts as anyone's full control
        voci.push_back({Principale::Altro, true, diritti::kTuttiGenerici, soloEreditata, aiFigli});
    }
  }
  out.voci = std::move(voci);
  return 0;
}

// The protected access list; empty when a SID could not be made.
std::vector<BYTE> ListaProtetta() {
  DWORD dimensione = sizeof(ACL);
  for (const Voce& v : VociProtette()) {
    if (!SidDi(v.chi)) return {};
    dimensione += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(SidDi(v.chi));
  }
  std::vector<BYTE> lista(dimensione);
  auto* acl = reinterpret_cast<PACL>(lista.data());
  if (!InitializeAcl(acl, dimensione, ACL_REVISION)) return {};
  for (const Voce& v : VociProtette()) {
    const DWORD eredita = v.aiFigli ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0;
    if (!AddAccessAllowedAceEx(acl, ACL_REVISION, eredita, v.maschera, SidDi(v.chi))) return {};
  }
  return lista;
}

// Opened so that nobody can rename or delete the folder while it is held.
HANDLE Apri(const std::wstring& path, DWORD accesso, bool seguiGiunzione) {
  const DWORD flag = FILE_FLAG_BACKUP_SEMANTICS | (seguiGiunzione ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  return CreateFileW(path.c_str(), accesso, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flag, nullptr);
}

// What kind of reparse point an opened folder is, asked of the file system
// itself. Wine marks its mount points and symbolic links with the attribute,
// yet answers that they are no reparse points.
Reparse TipoReparse(HANDLE h, DWORD attributi) {
  if (!(attributi & FILE_ATTRIBUTE_REPARSE_POINT)) return Reparse::Nessuno;
  std::vector<BYTE> dati(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
  DWORD n = 0;
  if (!DeviceIoControl(h, FSCTL_GET_REPARSE_POINT, nullptr, 0, dati.data(), static_cast<DWORD>(dati.size()), &n,
                       nullptr))
    return GetLastError() == ERROR_NOT_A_REPARSE_POINT ? Reparse::Nessuno : Reparse::Altro;
  if (n < sizeof(DWORD)) return Reparse::Altro;
  const DWORD tag = *reinterpret_cast<const DWORD*>(dati.data());
  return tag == IO_REPARSE_TAG_MOUNT_POINT ? Reparse::Giunzione
         : tag == IO_REPARSE_TAG_SYMLINK   ? Reparse::Collegamento
                                           : Reparse::Altro;
}

NumeroErrore Errore() {
  const DWORD e = GetLastError();
  return static_cast<NumeroErrore>(e != ERROR_SUCCESS ? e : ERROR_GEN_FAILURE);
}

std::wstring SenzaSeparatore(std::wstring p) {
  while (p.size() > 3 && p.back() == L'\\') p.pop_back();
  return p;
}

}  // namespace

NumeroErrore FileSystemWin32::CreaCartella(const std::wstring& path) {
  std::vector<BYTE> lista = ListaProtetta();
  SECURITY_DESCRIPTOR sd;
  if (lista.empty() || !InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorOwner(&sd, SidDi(kProprietarioProtetto), FALSE) ||
      !SetSecurityDescriptorDacl(&sd, TRUE, reinterpret_cast<PACL>(lista.data()), FALSE) ||
      !SetSecurityDescriptorControl(&sd, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
    return Errore();
  SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
  return CreateDirectoryW(path.c_str(), &sa) ? 0 : Errore();
}

NumeroErrore FileSystemWin32::LeggiCartella(const std::wstring& percorso, StatoCartella& stato) {
  const std::wstring path = SenzaSeparatore(percorso);
  const DWORD attributi = GetFileAttributesW(path.c_str());
  if (attributi == INVALID_FILE_ATTRIBUTES) return Errore();
  if (!(attributi & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_DIRECTORY;
  stato = StatoCartella{};
  forms::KernelHandle cartella(Apri(path, READ_CONTROL | FILE_READ_ATTRIBUTES, false));
  if (!cartella) return Errore();
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(cartella.get(), &info)) return Errore();
  // The attributes of what is held, not of whatever the name meant before.
  stato.reparse = TipoReparse(cartella.get(), info.dwFileAttributes | (attributi & FILE_ATTRIBUTE_REPARSE_POINT));
  if (const NumeroErrore e = LeggiSicurezza(cartella.get(), stato.propria); e != 0) return e;
  if (stato.reparse == Reparse::Giunzione) {
    // A target that cannot be read keeps an unknown owner: the junction is refused.
    if (const forms::KernelHandle destinazione(Apri(path, READ_CONTROL, true)); destinazione) {
      if (LeggiSicurezza(destinazione.get(), stato.destinazione) != 0) stato.destinazione = Sicurezza{};
    }
  }
  tenute_[Chiave(path)] = std::move(cartella);
  return 0;
}

// Through a handle on the folder itself, never on a name that could meanwhile
// have become a junction to somewhere else.
NumeroErrore FileSystemWin32::Proteggi(const std::wstring& percorso) {
  const std::wstring path = SenzaSeparatore(percorso);
  std::vector<BYTE> lista = ListaProtetta();
  if (lista.empty()) return ERROR_GEN_FAILURE;
  const forms::KernelHandle cartella(Apri(path, READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_READ_ATTRIBUTES, false));
  if (!cartella) return Errore();
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(cartella.get(), &info)) return Errore();
  if (TipoReparse(cartella.get(), info.dwFileAttributes) != Reparse::Nessuno) return ERROR_ACCESS_DENIED;
  const DWORD e = SetSecurityInfo(cartella.get(), SE_FILE_OBJECT,
                                  OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                      PROTECTED_DACL_SECURITY_INFORMATION,
                                  SidDi(kProprietarioProtetto), nullptr, reinterpret_cast<PACL>(lista.data()), nullptr);
  return static_cast<NumeroErrore>(e);
}

}  // namespace velisca
