#include "Collegamento.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "Handles.h"

namespace velisca::Collegamento {

namespace {

void FreePidl(LPITEMIDLIST pidl) { CoTaskMemFree(pidl); }
using PidlHandle = forms::UniqueHandle<LPITEMIDLIST, FreePidl>;

constexpr wchar_t kDescrizione[] = L"MARDOL";

}  // namespace

bool LeggiCartellaSpeciale(HWND owner, std::int16_t cartella, std::wstring& percorso) {
  PidlHandle lista;
  if (SHGetSpecialFolderLocation(owner, cartella, lista.put()) != S_OK || !lista) return false;
  // As large as the longest path the shell may write, filled with spaces.
  std::wstring buffer(MAX_PATH + 1, L' ');
  if (SHGetPathFromIDListW(lista.get(), buffer.data()) != TRUE) return false;
  const std::wstring testo = TestoDelBuffer(buffer);
  if (!testo.empty()) percorso = testo;
  return true;
}

NumeroErrore TrovaDesktop() {
  const auto cartella = IdentificatoreCartella(CartellaSpeciale);
  if (!cartella) return ERROR_ARITHMETIC_OVERFLOW;
  std::wstring percorso;
  // An empty path names no folder: storing it would put the shortcut at the
  // root of the current drive.
  if (LeggiCartellaSpeciale(GetActiveWindow(), *cartella, percorso) && !percorso.empty())
    ImpostaPercorsoDesktop(percorso);
  return 0;
}

bool CreaCollegamento(const std::wstring& file, const std::wstring& target, const std::wstring& cartellaLavoro,
                      const std::wstring& argomenti, const std::wstring& fileIcona, std::int32_t indiceIcona,
                      std::int32_t mostra) {
  if (file.empty() || target.empty()) return false;
  forms::ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())) ||
      !link)
    return false;
  forms::ComPtr<IPersistFile> persist;
  if (FAILED(link->QueryInterface(IID_IPersistFile, persist.put_void())) || !persist) return false;
  if (FAILED(link->SetPath(target.c_str()))) return false;
  if (!cartellaLavoro.empty() && FAILED(link->SetWorkingDirectory(cartellaLavoro.c_str()))) return false;
  if (!argomenti.empty() && FAILED(link->SetArguments(argomenti.c_str()))) return false;
  if (FAILED(link->SetDescription(kDescrizione))) return false;
  if (!fileIcona.empty() && FAILED(link->SetIconLocation(fileIcona.c_str(), indiceIcona))) return false;
  if (FAILED(link->SetShowCmd(mostra))) return false;
  if (FAILED(link->Resolve(nullptr, SLR_UPDATE))) return false;
  return SUCCEEDED(persist->Save(file.c_str(), FALSE));
}

}  // namespace velisca::Collegamento
