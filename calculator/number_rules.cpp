#include "number_rules.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zornavex {

std::wstring_view FaultText(Fault fault) {
  switch (fault) {
    case Fault::TypeMismatch: return L"Tipo non corrispondente";
    case Fault::DivisionByZero: return L"Divisione per zero";
    case Fault::Overflow: return L"Overflow";
    case Fault::None: break;
  }
  return L"";
}

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Exponents beyond this are saturated: no text holds enough digits to bring
// them back into the range of a double.
constexpr long long kExponentLimit = 1'000'000'000'000'000;

}  // namespace

Parsed TextToNumber(std::wstring_view text, wchar_t decimalSeparator) {
  const Parsed mismatch{0.0, Fault::TypeMismatch};
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  // Digits of the mantissa without the separator; the separator's place is
  // remembered as the count of digits before it.
  std::string digits;
  long intDigits = -1;
  for (; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (IsDigit(c)) {
      digits.push_back(static_cast<char>(c));
    } else if (c == decimalSeparator && intDigits < 0) {
      intDigits = static_cast<long>(digits.size());
    } else {
      break;
    }
  }
  if (digits.empty()) return mismatch;
  if (intDigits < 0) intDigits = static_cast<long>(digits.size());

  long long exponent = 0;
  if (i < text.size() && (text[i] == L'E' || text[i] == L'e')) {
    ++i;
    bool expNegative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
      expNegative = text[i] == L'-';
      ++i;
    }
    if (i >= text.size() || !IsDigit(text[i])) return mismatch;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      if (exponent < kExponentLimit) exponent = exponent * 10 + (text[i] - L'0');
    }
    if (expNegative) exponent = -exponent;
  }
  if (i != text.size()) return mismatch;

  // Leading zeros carry no magnitude; an all-zero mantissa is zero.
  const size_t firstNonZero = digits.find_first_not_of('0');
  if (firstNonZero == std::string::npos) return {negative ? -0.0 : 0.0, Fault::None};
  const long long magnitude = intDigits - static_cast<long long>(firstNonZero) + exponent;  // 10^(magnitude-1) <= |x|
  if (magnitude > 310) return {0.0, Fault::Overflow};
  if (magnitude < -330) return {negative ? -0.0 : 0.0, Fault::None};

  // Rebuild as "0.<digits>e<magnitude>" for the locale-free, correctly
  // rounded standard conversion.
  std::string canonical = "0." + digits.substr(firstNonZero) + "e" + std::to_string(magnitude);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
  if (end != canonical.data() + canonical.size()) return mismatch;
  if (ec == std::errc::result_out_of_range) {
    if (magnitude > 0) return {0.0, Fault::Overflow};
    value = 0.0;  // below the smallest double
  } else if (ec != std::errc()) {
    return mismatch;
  }
  if (std::isinf(value)) return {0.0, Fault::Overflow};
  return {negative ? -value : value, Fault::None};
}

std::wstring NumberToText(double value, wchar_t decimalSeparator) {
  if (std::isnan(value)) return L"NaN";
  if (std::isinf(value)) return value < 0 ? L"-Inf" : L"Inf";
  if (value == 0.0) return L"0";  // also -0

  // 15 significant digits, correctly rounded: d.dddddddddddddde[+-]x. The
  // C library's formatting is exact on every platform we build for, and
  // much smaller than the standard library's shortest-form tables.
  std::array<char, 64> buffer{};
  const int written = std::snprintf(buffer.data(), buffer.size(), "%.14e", std::fabs(value));
  if (written <= 0 || static_cast<size_t>(written) >= buffer.size()) return L"0";
  const std::string scientific(buffer.data(), static_cast<size_t>(written));
  const size_t ePos = scientific.find('e');
  std::string mantissa = scientific.substr(0, 1) + scientific.substr(2, ePos - 2);
  const int exponent = std::atoi(scientific.c_str() + ePos + 1);
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

  std::wstring out;
  if (value < 0) out.push_back(L'-');
  auto put = [&out](const std::string& s) { out.append(s.begin(), s.end()); };

  if (exponent >= 15 || exponent < -4) {
    put(mantissa.substr(0, 1));
    if (mantissa.size() > 1) {
      out.push_back(decimalSeparator);
      put(mantissa.substr(1));
    }
    const int absExp = exponent < 0 ? -exponent : exponent;
    out.push_back(L'E');
    out.push_back(exponent < 0 ? L'-' : L'+');
    if (absExp < 10) out.push_back(L'0');
    put(std::to_string(absExp));
  } else if (exponent >= 0) {
    const size_t whole = static_cast<size_t>(exponent) + 1;
    if (mantissa.size() <= whole) {
      put(mantissa);
      out.append(whole - mantissa.size(), L'0');
    } else {
      put(mantissa.substr(0, whole));
      out.push_back(decimalSeparator);
      put(mantissa.substr(whole));
    }
  } else {
    out.push_back(L'0');
    out.push_back(decimalSeparator);
    out.append(static_cast<size_t>(-exponent - 1), L'0');
    put(mantissa);
  }
  return out;
}

double RoundHalfEven(double value, int places) {
  const double scale = std::pow(10.0, places);
  const double scaled = value * scale;
  // A value this large has no fractional digits left to round.
  if (!std::isfinite(scaled)) return value;
  return std::nearbyint(scaled) / scale;
}

Fault StepFault(double result, bool dividedByZero) {
  if (std::isnan(result)) return Fault::Overflow;
  if (std::isinf(result)) return dividedByZero ? Fault::DivisionByZero : Fault::Overflow;
  return Fault::None;
}

void FiltraCifre(short& keyAscii) {
  const bool digit = keyAscii >= '0' && keyAscii <= '9';
  if (!digit && keyAscii != '\b') keyAscii = 0;
}

}  // namespace zornavex
