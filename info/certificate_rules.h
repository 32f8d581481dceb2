// The hidden sequence that leads to the authorship certificate: all four
// frequency lists on "10" unlock three result boxes; the three access words
// in those boxes open the certificate. Every comparison is exact.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace zornavex::certificate {

inline constexpr wchar_t kUnlockText[] = L"10";
inline constexpr std::array<const wchar_t*, 3> kAccessWords{L"Corvane", L"Pelmo", L"Quirsa"};

struct Outcome {
  bool unlockBoxes = false;     // make the three boxes editable
  bool openCertificate = false;
};

// lists: texts of the four frequency lists; boxes: texts of the three
// result boxes in the order of kAccessWords.
inline Outcome Evaluate(const std::array<std::wstring, 4>& lists, const std::array<std::wstring, 3>& boxes) {
  Outcome out;
  out.unlockBoxes = true;
  for (const std::wstring& list : lists) out.unlockBoxes = out.unlockBoxes && list == kUnlockText;
  out.openCertificate = true;
  for (std::size_t i = 0; i < boxes.size(); ++i)
    out.openCertificate = out.openCertificate && boxes[i] == kAccessWords[i];
  return out;
}

}  // namespace zornavex::certificate
