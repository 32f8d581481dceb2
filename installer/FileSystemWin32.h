// The real file layer and desktop service: Win32 calls, their error codes.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "Handles.h"
#include "Installazione.h"

namespace velisca {

class FileSystemWin32 : public FileSystem {
 public:
  NumeroErrore CreaCartella(const std::wstring& path) override;
  // Holds the folder it read until this object goes or the folder is
  // removed, so that nobody renames it or puts a junction in its place.
  NumeroErrore LeggiCartella(const std::wstring& path, StatoCartella& stato) override;
  NumeroErrore Proteggi(const std::wstring& path) override;
  NumeroErrore TogliSolaLettura(const std::wstring& path) override;
  NumeroErrore CopiaFile(const std::wstring& from, const std::wstring& to) override;
  NumeroErrore RimuoviCartella(const std::wstring& path) override;
  NumeroErrore Sostituisci(const std::wstring& nuovo, const std::wstring& destinazione) override;
  NumeroErrore EliminaFile(const std::wstring& path) override;
  NumeroErrore RimuoviProvenienza(const std::wstring& path) override;
  std::optional<VersioneFile> Versione(const std::wstring& path) override;
  bool ScrivibileOra(const std::wstring& path) override;
  void Attendi(int millisecondi) override;

 private:
  std::map<std::wstring, forms::KernelHandle> tenute_;  // by Chiave
};

class ScrivaniaWin32 : public Scrivania {
 public:
  NumeroErrore TrovaDesktop() override;
  bool CreaCollegamento(const std::wstring& file, const std::wstring& target, const std::wstring& cartellaLavoro,
                        const std::wstring& argomenti, const std::wstring& fileIcona, std::int32_t indiceIcona,
                        std::int32_t mostra) override;
};

// The folder that holds the running executable.
std::wstring CartellaEseguibile();
// The folder to copy from: the executable's own, or, when that cannot be
// read, the same folder by its network path. An elevated program does not
// see the drive letters the user mapped, while Windows still reports the
// executable under its letter.
std::wstring CartellaSorgente();

}  // namespace velisca
