// Text to number, in both locales, against an independent reader, and the
// round trip through the number-to-text format.
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "number_rules.h"

using zornavex::Fault;
using zornavex::NumberToText;
using zornavex::Parsed;
using zornavex::TextToNumber;

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::wstring Describe(const std::wstring& text, wchar_t sep) {
  return L"text [" + text + L"] separator [" + std::wstring(1, sep) + L"]";
}

// Significant digits of the mantissa of a text that parsed, or 99 when
// there are more than 15 (then the value need not survive 15 digits).
int SignificantDigits(const std::wstring& text, wchar_t sep) {
  std::string digits;
  for (wchar_t c : text) {
    if (c == L'E' || c == L'e') break;
    if (c >= L'0' && c <= L'9') digits.push_back(static_cast<char>(c));
    else if (c != sep && c != L'+' && c != L'-' && c != L' ' && c != L'\t') return 99;
  }
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  return static_cast<int>(digits.find_last_not_of('0') - first + 1);
}

// What the C library makes of the same text with "." as its separator,
// when that text is one the C reader and ours should agree on: ASCII, no
// letters it reads as hexadecimal, infinity or NaN, no white space other
// than the blanks around the number that ours allows.
void CompareWithStrtod(const std::wstring& text, wchar_t sep, const Parsed& ours) {
  std::wstring_view trimmed = text;
  while (!trimmed.empty() && (trimmed.front() == L' ' || trimmed.front() == L'\t')) trimmed.remove_prefix(1);
  while (!trimmed.empty() && (trimmed.back() == L' ' || trimmed.back() == L'\t')) trimmed.remove_suffix(1);
  std::string narrow;
  for (wchar_t c : trimmed) {
    if (c <= 0x20 || c >= 0x7F || std::strchr("xXiInNpP", static_cast<char>(c)) != nullptr) return;
    // The other locale's separator must stay junk for the C reader too.
    narrow.push_back(c == sep ? '.' : c == L'.' ? '#' : static_cast<char>(c));
  }
  if (narrow.empty()) {
    ZX_REQUIRE(ours.fault == Fault::TypeMismatch, Describe(text, sep));
    return;
  }
  errno = 0;
  char* end = nullptr;
  const double theirs = std::strtod(narrow.c_str(), &end);
  const bool whole = end == narrow.c_str() + narrow.size();
  if (!whole) {
    ZX_REQUIRE(ours.fault == Fault::TypeMismatch, Describe(text, sep));
  } else if (errno == ERANGE && std::isinf(theirs)) {
    ZX_REQUIRE(ours.fault == Fault::Overflow, Describe(text, sep));
  } else {
    ZX_REQUIRE(ours.ok(), Describe(text, sep));
    ZX_REQUIRE(ours.value == theirs && std::signbit(ours.value) == std::signbit(theirs),
               Describe(text, sep) + L" ours " + NumberToText(ours.value, L'.') + L" C reader " +
                   NumberToText(theirs, L'.'));
  }
}

// The number-to-text format of a finite value, read back.
void CheckRoundTrip(double value, wchar_t sep, bool exactValueExpected, const std::wstring& origin) {
  const std::wstring shown = NumberToText(value, sep);
  const std::wstring where = origin + L" shown [" + shown + L"]";
  const std::string problem = zxfuzz::NumberTextProblem(shown, sep);
  ZX_REQUIRE(problem.empty(), where + L" " + std::wstring(problem.begin(), problem.end()));

  const Parsed back = TextToNumber(shown, sep);
  if (!back.ok()) {
    // Only the largest doubles round up past the largest double when cut
    // to 15 digits; nothing else may fail to read back.
    ZX_REQUIRE(back.fault == Fault::Overflow && std::fabs(value) > 1.797693134862315e308, where);
    return;
  }
  // Fifteen digits survive text -> double -> text for every double.
  ZX_REQUIRE(NumberToText(back.value, sep) == shown, where + L" read back as " + NumberToText(back.value, sep));
  // A value that came from at most 15 significant digits comes back whole,
  // while doubles keep their full precision (not below the smallest normal).
  if (exactValueExpected && std::fabs(value) >= DBL_MIN) {
    ZX_REQUIRE(SameBits(back.value, value), where);
  }
}

void CheckText(const std::wstring& text, wchar_t sep) {
  const Parsed parsed = TextToNumber(text, sep);
  if (parsed.ok()) {
    ZX_REQUIRE(std::isfinite(parsed.value), Describe(text, sep));
    // Only a minus sign makes a negative number.
    ZX_REQUIRE(!std::signbit(parsed.value) || text.find(L'-') != std::wstring::npos, Describe(text, sep));
    CheckRoundTrip(parsed.value, sep, SignificantDigits(text, sep) <= 15, Describe(text, sep));
  } else {
    ZX_REQUIRE(parsed.fault == Fault::TypeMismatch || parsed.fault == Fault::Overflow, Describe(text, sep));
  }

  // The two locales differ only in the separator: swapping "," and "."
  // in the text and the separator gives the same reading.
  std::wstring swapped = text;
  for (wchar_t& c : swapped) c = c == L',' ? L'.' : c == L'.' ? L',' : c;
  const wchar_t other = sep == L',' ? L'.' : L',';
  const Parsed mirrored = TextToNumber(swapped, other);
  ZX_REQUIRE(mirrored.fault == parsed.fault && (!parsed.ok() || SameBits(mirrored.value, parsed.value)),
             Describe(text, sep));

  CompareWithStrtod(text, sep, parsed);
}

}  // namespace

// First byte: "," or "." reads the rest as a text with that separator;
// "d" or "D" takes the next 8 bytes as a double to write and read back
// (separator "," or "."); any other first byte reads the rest with ",".
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const char mode = bytes[0];
  if ((mode == 'd' || mode == 'D') && size >= 9) {
    double value = 0;
    std::memcpy(&value, data + 1, sizeof value);
    if (std::isfinite(value)) CheckRoundTrip(value, mode == 'D' ? L'.' : L',', false, L"raw double");
    return 0;
  }
  CheckText(zxfuzz::Widen(bytes.substr(1)), mode == '.' ? L'.' : L',');
  return 0;
}
