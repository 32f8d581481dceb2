// What the program says of itself: title and version.
#pragma once

namespace zornavex {

inline constexpr wchar_t kTitoloApplicazione[] = L"ZORNAVEX";

struct Versione {
  int major, minor, revision;
};
inline constexpr Versione kVersione{2, 0, 6};

}  // namespace zornavex
