// The texts the About window fills in as it loads.
#pragma once

#include <string>

#include "app_info.h"

namespace zornavex::about {

inline std::wstring Caption() { return std::wstring(L"Informazioni su ") + kTitoloApplicazione; }

// "Versione 2.0.6": plain decimal numbers, no leading zeros.
inline std::wstring VersionLine(const Versione& v) {
  return L"Versione " + std::to_wstring(v.major) + L"." + std::to_wstring(v.minor) + L"." +
         std::to_wstring(v.revision);
}

}  // namespace zornavex::about
