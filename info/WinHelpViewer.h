// Whether this Windows has a real WinHelp viewer, found out once per run from
// the version resources of winhlp32.exe in the Windows and system folders.
#pragma once

#include <string>

#include "help_viewer_rules.h"

namespace zornavex {

bool PlatformHasWinHelpViewer();

// The winhlp32.exe in a folder, as the choice of viewer sees it.
help::ViewerFile ViewerFileIn(const std::wstring& folder);

}  // namespace zornavex
