// Which help viewer the show-help operation uses, and how the index of ZORNAVEX's
// own help window follows what is typed. Portable: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zornavex::help {

// A winhlp32.exe where Windows or Wine keeps one: whether it is there, the
// FileDescription of each language its version resource carries, the major
// number of its fixed file version, and its size in bytes (0: not known).
struct ViewerFile {
  bool exists = false;
  std::vector<std::wstring> descriptions;
  unsigned fileVersionMajor = 0;
  std::uint64_t bytes = 0;
};

// The placeholder is a small program that shows one notice (about 7 to 12 KB
// from Windows 8.1 to 10); a real viewer carries a whole help engine. The
// size is the same in every language: the texts live in the .mui files.
inline constexpr std::uint64_t kLargestPlaceholder = 64 * 1024;

// Windows Vista to 11 put a placeholder in the Windows folder that only
// says WinHelp is not supported; its version resource describes it as
// "Windows Winhlp32 Stub", but Windows reads that description from the .mui
// file of the user's language, which may translate it. Microsoft's separate
// download replaces it with the real viewer, version 6 (Vista to 8.1); no
// real viewer was ever built with version 10 or later. Any of the three
// signs, the size above all, makes it the placeholder: a real viewer wrongly
// passed over only costs ZORNAVEX's own help window instead.
bool IsPlaceholder(const ViewerFile& file);

// True when some viewer is there and none of them is the placeholder, so
// that WinHelp can never start the placeholder.
bool HasRealViewer(const std::vector<ViewerFile>& files);

// The index entry to select for the typed text: the first one that starts
// with it, else the first that sorts after it, else the last; letters compare
// without case and accents. npos for an empty index.
std::size_t KeywordToFollow(const std::vector<std::wstring>& keywords, std::wstring_view typed);

}  // namespace zornavex::help
