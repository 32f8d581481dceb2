// The desktop shortcut: the shell finds the desktop folder, the shell-link
// object writes the shortcut file. The path rules are in Collegamento_percorsi.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "Collegamento_percorsi.h"
#include "Installazione.h"

namespace velisca::Collegamento {

// The file-system path of a shell special folder; True when it was obtained,
// and then the path argument holds it.
bool LeggiCartellaSpeciale(HWND owner, std::int16_t cartella, std::wstring& percorso);

// Looks up the folder CartellaSpeciale names and stores it in PercorsoDesktop;
// a folder that cannot be found leaves PercorsoDesktop as it was. An
// identifier outside the 16-bit range comes back as ERROR_ARITHMETIC_OVERFLOW.
NumeroErrore TrovaDesktop();

// Writes a shortcut file; False, and nothing shown, on any failure.
bool CreaCollegamento(const std::wstring& file, const std::wstring& target, const std::wstring& cartellaLavoro,
                      const std::wstring& argomenti, const std::wstring& fileIcona, std::int32_t indiceIcona,
                      std::int32_t mostra);

}  // namespace velisca::Collegamento
