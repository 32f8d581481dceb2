// Which help viewer the show-help operation uses, and how the index of ZORNAVEX's
// own help window follows what is typed. Portable: no Windows header.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zornavex::help {

// A winhlp32.exe where Windows or Wine keeps one: whether it is there, the
// FileDescription of each language its version resource carries, and the
// major number of its fixed file version.
struct ViewerFile {
  bool exists = false;
  std::vector<std::wstring> descriptions;
  unsigned fileVersionMajor = 0;
};

// Windows Vista to 11 put a placeholder in the Windows folder that only
// says WinHelp is not supported; its version resource describes it as
// "Windows Winhlp32 Stub". Microsoft's separate download replaces it with
// the real viewer, version 6 (Vista to 8.1); no real viewer was ever built
// with version 10 or later, so from 10 on the file is the placeholder even
// where a translated description does not say so.
bool IsPlaceholder(const ViewerFile& file);

// True when some viewer is there and none of them is the placeholder, so
// that WinHelp can never start the placeholder.
bool HasRealViewer(const std::vector<ViewerFile>& files);

// The index entry to select for the typed text: the first one that starts
// with it, else the first that sorts after it, else the last; letters compare
// without case and accents. npos for an empty index.
std::size_t KeywordToFollow(const std::vector<std::wstring>& keywords, std::wstring_view typed);

}  // namespace zornavex::help
