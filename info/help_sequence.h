// Which WinHelp commands to try, in order, for one request: viewers that
// cannot show the Help Topics tabs (HELP_TAB) still open the contents.
#pragma once

#include <vector>

namespace zornavex::help {

inline constexpr unsigned kHelpContents = 0x0003;  // HELP_CONTENTS
inline constexpr unsigned kHelpFinder = 0x000B;    // HELP_FINDER
inline constexpr unsigned kHelpTab = 0x000F;       // HELP_TAB

// The command asked for always comes first; the others are tried only
// after it has failed.
inline std::vector<unsigned> CommandsToTry(unsigned command) {
  switch (command) {
    case kHelpTab: return {kHelpTab, kHelpFinder, kHelpContents};
    case kHelpFinder: return {kHelpFinder, kHelpContents};
    default: return {command};
  }
}

// Calls send(command) for each command in turn until one succeeds.
template <typename Send>
bool SendWithFallback(unsigned command, Send&& send) {
  for (unsigned c : CommandsToTry(command)) {
    if (send(c)) return true;
  }
  return false;
}

}  // namespace zornavex::help
