// Number rules of the calculator: text to number, number to text, rounding,
// and the arithmetic faults that end a calculation. No Windows header here:
// the decimal separator is handed in by the caller (the user's locale).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zornavex {

// Why a calculation stopped without a result; the window names it to the user.
enum class Fault {
  None,
  TypeMismatch,    // a text that is not a number
  DivisionByZero,  // a finite number divided by zero
  Overflow,        // a result too large for a double, or an invalid operation
};

// The message text that names a fault, as the user sees it.
std::wstring_view FaultText(Fault fault);

// A number read from text, or the fault that stopped the reading.
struct Parsed {
  double value = 0.0;
  Fault fault = Fault::None;
  bool ok() const { return fault == Fault::None; }
};

// Reads an optional sign, digits with at most one decimal separator, and an
// optional exponent ("E" or "e", optional sign, digits). Blanks around the
// number are allowed; anything else is a type mismatch. A number too large
// for a double is an overflow; one too small becomes zero.
Parsed TextToNumber(std::wstring_view text, wchar_t decimalSeparator);

// At most 15 significant digits, no grouping, no trailing zeros, never "-0".
// Magnitudes of 1E+15 and more, and non-zero ones below 0.0001, are written
// as mantissa, "E", sign and at least two exponent digits.
std::wstring NumberToText(double value, wchar_t decimalSeparator);

// Scales by 10^places, rounds half to even, scales back.
double RoundHalfEven(double value, int places);

// Classifies the result of one arithmetic step on finite operands, as the
// floating-point status flags would after that step.
Fault StepFault(double result, bool dividedByZero = false);

// The filter of the count boxes: the digits 0 to 9 and Backspace pass,
// every other character becomes 0 (discarded), full-width and other
// scripts' digits too, which TextToNumber would not read.
void FiltraCifre(short& keyAscii);

}  // namespace zornavex
