#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>

namespace zxfuzz {

std::wstring Widen(std::string_view bytes) {
  std::wstring out;
  std::size_t i = 0;
  auto put = [&out](char32_t cp) {
    if (cp > 0xFFFF) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<wchar_t>(cp));
    }
  };
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    char32_t cp = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
    bool valid = length > 0 && i + length <= bytes.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      valid = (c & 0xC0) == 0x80;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (valid && cp <= 0x10FFFF) {
      put(cp);
      i += length;
    } else {
      put(b);
      ++i;
    }
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view bytes, std::size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) break;
    fields.push_back(bytes.substr(0, end));
    bytes.remove_prefix(end + 1);
  }
  fields.push_back(bytes);
  fields.resize(count);
  return fields;
}

wchar_t SeparatorFrom(std::string_view field) { return !field.empty() && field[0] == '.' ? L'.' : L','; }

void Fail(const char* what, const std::wstring& detail) {
  std::fprintf(stderr, "\n*** PROPERTY FAILED: %s\n*** %ls\n", what, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

std::string NumberTextProblem(std::wstring_view text, wchar_t separator) {
  std::wstring_view rest = text;
  const bool negative = !rest.empty() && rest.front() == L'-';
  if (negative) rest.remove_prefix(1);

  std::wstring_view mantissa = rest;
  std::wstring_view exponent;
  if (const std::size_t e = rest.find(L'E'); e != std::wstring_view::npos) {
    mantissa = rest.substr(0, e);
    exponent = rest.substr(e + 1);
  }
  const std::size_t sep = mantissa.find(separator);
  const std::wstring_view whole = mantissa.substr(0, sep);
  const std::wstring_view fraction = sep == std::wstring_view::npos ? std::wstring_view{} : mantissa.substr(sep + 1);

  for (wchar_t c : whole)
    if (!IsDigit(c)) return "a character other than a digit before the separator";
  for (wchar_t c : fraction)
    if (!IsDigit(c)) return "a character other than a digit after the separator";
  if (whole.empty()) return "no digit before the separator";
  if (sep != std::wstring_view::npos && fraction.empty()) return "a separator with no digit after it";
  if (!fraction.empty() && fraction.back() == L'0') return "a trailing zero after the separator";
  if (whole.size() > 1 && whole.front() == L'0') return "a leading zero";

  std::wstring digits(whole);
  digits += fraction;
  const std::size_t first = digits.find_first_not_of(L'0');
  if (first == std::wstring::npos) {
    if (text != L"0") return "a zero written other than as \"0\"";
    return {};
  }
  const std::size_t last = digits.find_last_not_of(L'0');
  if (last - first + 1 > 15) return "more than 15 significant digits";

  if (exponent.data() != nullptr) {
    if (whole.size() != 1 || whole == L"0") return "an exponent form whose mantissa is not one non-zero digit first";
    if (exponent.size() < 3 || (exponent[0] != L'+' && exponent[0] != L'-')) return "an exponent without sign and two digits";
    for (wchar_t c : exponent.substr(1))
      if (!IsDigit(c)) return "a character other than a digit in the exponent";
    if (exponent.size() > 3 && exponent[1] == L'0') return "an exponent with a superfluous leading zero";
    int value = 0;
    for (wchar_t c : exponent.substr(1)) value = value * 10 + (c - L'0');
    if (exponent[0] == L'+' && value < 15) return "exponent form for a magnitude below 1E+15";
    if (exponent[0] == L'-' && value < 5) return "exponent form for a magnitude of 0.0001 or more";
  } else {
    // Plain form: below 1E+15 and, unless zero, at least 0.0001.
    if (whole.size() > 15) return "plain form for a magnitude of 1E+15 or more";
    if (whole == L"0" && first > 4) return "plain form for a magnitude below 0.0001";
  }
  return {};
}

}  // namespace zxfuzz
