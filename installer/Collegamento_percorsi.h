// The portable half of Collegamento: the program-wide desktop state and the
// path rules the shell lookup relies on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velisca::Collegamento {

// The shell's special-folder identifier TrovaDesktop looks up (0: desktop).
inline std::int32_t CartellaSpeciale = 0;
// The folder TrovaDesktop found, always ending in a backslash once set.
inline std::wstring PercorsoDesktop;

// The text the shell left in a buffer filled with spaces beforehand: the
// spaces at both ends and the closing character of code 0 removed.
std::wstring TestoDelBuffer(std::wstring_view buffer);

// Appends a backslash when the path does not end in one (the caller's
// variable changes too), then stores it in PercorsoDesktop.
void ImpostaPercorsoDesktop(std::wstring& percorso);

// A folder joined with exactly one separator to a file name.
std::wstring UnisciPercorso(std::wstring_view cartella, std::wstring_view nome);

// The identifier as the shell takes it, a 16-bit integer; nothing when it
// does not fit (an overflow).
std::optional<std::int16_t> IdentificatoreCartella(std::int32_t valore);

}  // namespace velisca::Collegamento
