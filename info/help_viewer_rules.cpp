#include "help_viewer_rules.h"

#include <algorithm>

namespace zornavex::help {
namespace {

// Lower case without accents, for the Latin-1 letters of Italian words.
wchar_t Fold(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c - L'A' + L'a');
  if (c < 0xC0 || c > 0xFF || c == 0xD7 || c == 0xF7) return c;
  if (c == 0xFF) return L'y';
  static constexpr std::wstring_view kBase = L"aaaaaaaceeeeiiiidnooooo\xD7ouuuuyts";
  return kBase[(c - 0xC0) % 0x20];
}

std::wstring Folded(std::wstring_view text) {
  std::wstring out(text);
  std::transform(out.begin(), out.end(), out.begin(), Fold);
  return out;
}

std::wstring_view Trim(std::wstring_view s) {
  const auto first = s.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  return s.substr(first, s.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

bool IsPlaceholder(const ViewerFile& file) {
  if (file.bytes != 0 && file.bytes <= kLargestPlaceholder) return true;
  return file.fileVersionMajor >= 10 || std::any_of(file.descriptions.begin(), file.descriptions.end(),
                     [](const std::wstring& d) { return Folded(Trim(d)) == L"windows winhlp32 stub"; });
}

bool HasRealViewer(const std::vector<ViewerFile>& files) {
  bool any = false;
  for (const ViewerFile& f : files) {
    if (!f.exists) continue;
    if (IsPlaceholder(f)) return false;
    any = true;
  }
  return any;
}

std::size_t KeywordToFollow(const std::vector<std::wstring>& keywords, std::wstring_view typed) {
  if (keywords.empty()) return std::wstring_view::npos;
  const std::wstring start = Folded(typed);
  std::size_t after = keywords.size();
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    const std::wstring word = Folded(keywords[i]);
    if (word.compare(0, start.size(), start) == 0) return i;
    if (after == keywords.size() && word > start) after = i;
  }
  return after < keywords.size() ? after : keywords.size() - 1;
}

}  // namespace zornavex::help
