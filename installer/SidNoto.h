// A well-known SID in a buffer of its own: the accounts the install folders'
// rights and the instance lock name.
#pragma once

#include <windows.h>

#include <array>

namespace velisca {

struct Sid {
  std::array<BYTE, SECURITY_MAX_SID_SIZE> dati{};
  bool ok = false;
  PSID get() const { return ok ? const_cast<BYTE*>(dati.data()) : nullptr; }
};

inline Sid SidNoto(WELL_KNOWN_SID_TYPE tipo) {
  Sid s;
  DWORD n = static_cast<DWORD>(s.dati.size());
  s.ok = CreateWellKnownSid(tipo, nullptr, s.dati.data(), &n) != FALSE;
  return s;
}

}  // namespace velisca
