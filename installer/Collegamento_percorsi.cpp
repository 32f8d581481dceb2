#include "Collegamento_percorsi.h"

#include <limits>

namespace velisca::Collegamento {

std::wstring TestoDelBuffer(std::wstring_view buffer) {
  const auto first = buffer.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  std::wstring_view text = buffer.substr(first, buffer.find_last_not_of(L' ') - first + 1);
  if (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
  // Whatever a shell may leave after the end of its text is not part of it.
  if (const auto end = text.find(L'\0'); end != std::wstring_view::npos) text = text.substr(0, end);
  return std::wstring(text);
}

void ImpostaPercorsoDesktop(std::wstring& percorso) {
  if (percorso.empty() || percorso.back() != L'\\') percorso += L'\\';
  PercorsoDesktop = percorso;
}

std::wstring UnisciPercorso(std::wstring_view cartella, std::wstring_view nome) {
  std::wstring out(cartella);
  if (out.empty() || out.back() != L'\\') out += L'\\';
  while (!nome.empty() && nome.front() == L'\\') nome.remove_prefix(1);
  out += nome;
  return out;
}

std::optional<std::int16_t> IdentificatoreCartella(std::int32_t valore) {
  if (valore < std::numeric_limits<std::int16_t>::min() || valore > std::numeric_limits<std::int16_t>::max())
    return std::nullopt;
  return static_cast<std::int16_t>(valore);
}

}  // namespace velisca::Collegamento
