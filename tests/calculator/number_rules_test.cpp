#include "number_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

using zornavex::Fault;
using zornavex::NumberToText;
using zornavex::RoundHalfEven;
using zornavex::TextToNumber;

namespace {

double Read(const wchar_t* text, wchar_t sep) {
  const auto parsed = TextToNumber(text, sep);
  EXPECT_TRUE(parsed.ok()) << "text: " << testing::PrintToString(std::wstring(text));
  return parsed.value;
}

Fault FaultOf(const wchar_t* text, wchar_t sep) { return TextToNumber(text, sep).fault; }

}  // namespace

TEST(TextToNumber, ReadsSignSeparatorAndExponentForEitherLocale) {
  EXPECT_EQ(Read(L"12,5", L','), 12.5);
  EXPECT_EQ(Read(L"12.5", L'.'), 12.5);
  EXPECT_EQ(Read(L"-0,5", L','), -0.5);
  EXPECT_EQ(Read(L"+7", L','), 7.0);
  EXPECT_EQ(Read(L",5", L','), 0.5);
  EXPECT_EQ(Read(L"5,", L','), 5.0);
  EXPECT_EQ(Read(L"1E200", L','), 1e200);
  EXPECT_EQ(Read(L"1,5e-3", L','), 0.0015);
  EXPECT_EQ(Read(L"2E+3", L'.'), 2000.0);
  EXPECT_EQ(Read(L"007", L','), 7.0);
  EXPECT_EQ(Read(L"  42 ", L','), 42.0);
  EXPECT_EQ(Read(L"999999999999", L','), 999999999999.0);
}

TEST(TextToNumber, IsCorrectlyRounded) {
  EXPECT_EQ(Read(L"0,1", L','), 0.1);
  EXPECT_EQ(Read(L"166,666666666667", L','), 166.666666666667);
  EXPECT_EQ(Read(L"0,000000000000000000001", L','), 1e-21);
  EXPECT_EQ(Read(L"123456789012345678901234567890", L'.'), 1.2345678901234568e29);
}

TEST(TextToNumber, RejectsWhatIsNotANumberAsTypeMismatch) {
  for (const wchar_t* junk : {L"", L" ", L"-", L"+", L",", L"E5", L"1E", L"1E+", L"abc", L"12a", L"1,2,3",
                              L"--1", L"1 2", L"inf", L"nan", L"0x10", L"1e5e5", L"١٢"}) {
    EXPECT_EQ(FaultOf(junk, L','), Fault::TypeMismatch) << testing::PrintToString(std::wstring(junk));
  }
  // The other locale's separator is not a separator here.
  EXPECT_EQ(FaultOf(L"1.5", L','), Fault::TypeMismatch);
  EXPECT_EQ(FaultOf(L"1,5", L'.'), Fault::TypeMismatch);
}

TEST(TextToNumber, TooLargeOverflowsAndTooSmallIsZero) {
  EXPECT_EQ(FaultOf(L"1E400", L','), Fault::Overflow);
  EXPECT_EQ(FaultOf(L"-1E309", L','), Fault::Overflow);
  EXPECT_EQ(FaultOf(L"1E99999999999999999999", L','), Fault::Overflow);
  EXPECT_EQ(Read(L"1E-400", L','), 0.0);
  EXPECT_EQ(Read(L"0E99999", L','), 0.0);
  EXPECT_EQ(Read(L"1,7976931348623157E308", L','), std::numeric_limits<double>::max());
}

TEST(TextToNumber, LongMantissaBalancesAnExponentOfSevenDigits) {
  // A million zeros on one side of the digit and an exponent that cancels them: the value is 1.
  const std::wstring zeros(1000000, L'0');
  EXPECT_EQ(Read((L"0," + zeros + L"1E1000001").c_str(), L','), 1.0);
  EXPECT_EQ(Read((L"1" + zeros + L"E-1000000").c_str(), L','), 1.0);
  EXPECT_EQ(Read((L"1" + zeros + L"E-1000001").c_str(), L','), 0.1);
}

TEST(NumberToText, WholeAndFractionalValuesUseTheGivenSeparator) {
  EXPECT_EQ(NumberToText(1000.0, L','), L"1000");
  EXPECT_EQ(NumberToText(666.667, L','), L"666,667");
  EXPECT_EQ(NumberToText(666.667, L'.'), L"666.667");
  EXPECT_EQ(NumberToText(0.5, L','), L"0,5");
  EXPECT_EQ(NumberToText(-2.25, L','), L"-2,25");
  EXPECT_EQ(NumberToText(0.0001, L','), L"0,0001");
  EXPECT_EQ(NumberToText(999999999999999.0, L','), L"999999999999999");
}

TEST(NumberToText, CutsToFifteenSignificantDigits) {
  EXPECT_EQ(NumberToText(1000.0 / 6.0, L','), L"166,666666666667");
  EXPECT_EQ(NumberToText(3000.0 / 7.0, L','), L"428,571428571429");
  EXPECT_EQ(NumberToText(0.1 + 0.2, L'.'), L"0.3");
  EXPECT_EQ(NumberToText(2.0 / 3.0, L'.'), L"0.666666666666667");
  // Rounding the 15th digit up can carry into the exponent form.
  EXPECT_EQ(NumberToText(999999999999999.6, L','), L"1E+15");
}

TEST(NumberToText, UsesExponentFormForLargeAndTinyMagnitudes) {
  EXPECT_EQ(NumberToText(1e15, L','), L"1E+15");
  EXPECT_EQ(NumberToText(3.000000000024e15, L','), L"3,000000000024E+15");
  EXPECT_EQ(NumberToText(1.5e-5, L','), L"1,5E-05");
  EXPECT_EQ(NumberToText(-1.5e-5, L'.'), L"-1.5E-05");
  EXPECT_EQ(NumberToText(1e200, L','), L"1E+200");
  EXPECT_EQ(NumberToText(5e-324, L','), L"4,94065645841247E-324");
  EXPECT_EQ(NumberToText(0.00009, L','), L"9E-05");
}

TEST(NumberToText, NeverWritesMinusZero) {
  EXPECT_EQ(NumberToText(-0.0, L','), L"0");
  EXPECT_EQ(NumberToText(RoundHalfEven(-0.0001, 3), L','), L"0");
  EXPECT_EQ(NumberToText(RoundHalfEven(-0.4, 0), L','), L"0");
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5, 0), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5, 0), 4.0);
  EXPECT_EQ(RoundHalfEven(-2.5, 0), -2.0);
  EXPECT_EQ(RoundHalfEven(254.5, 0), 254.0);
  EXPECT_EQ(RoundHalfEven(253.5, 0), 254.0);
  EXPECT_EQ(RoundHalfEven(0.0625, 3), 0.062);  // 62.5 exactly
  EXPECT_EQ(RoundHalfEven(0.0635, 3), 0.064);  // 63.5 after scaling
  EXPECT_EQ(RoundHalfEven(1000.0 / 6.0 * 4.0, 3), 666.667);
}

TEST(RoundHalfEven, LeavesValuesTooLargeToScaleUnchanged) {
  EXPECT_EQ(RoundHalfEven(1e306, 3), 1e306);
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::max(), 3), std::numeric_limits<double>::max());
}

TEST(StepFault, NamesTheFaultOfOneStep) {
  EXPECT_EQ(zornavex::StepFault(1.0), Fault::None);
  EXPECT_EQ(zornavex::StepFault(std::numeric_limits<double>::infinity()), Fault::Overflow);
  EXPECT_EQ(zornavex::StepFault(std::numeric_limits<double>::infinity(), true), Fault::DivisionByZero);
  EXPECT_EQ(zornavex::StepFault(std::nan("")), Fault::Overflow);
  EXPECT_EQ(zornavex::FaultText(Fault::TypeMismatch), L"Tipo non corrispondente");
  EXPECT_EQ(zornavex::FaultText(Fault::DivisionByZero), L"Divisione per zero");
  EXPECT_EQ(zornavex::FaultText(Fault::Overflow), L"Overflow");
}

// What a keyboard or an input method can deliver: only ASCII digits and
// Backspace are kept, however else a digit may be written.
TEST(FiltraCifre, KeepsOnlyAsciiDigitsAndBackspace) {
  const std::pair<wchar_t, bool> keys[] = {
      {L'0', true},      {L'9', true},      {L'\b', true},     {L'/', false},     {L':', false},
      {L'a', false},     {L'-', false},     {L',', false},     {L'\r', false},    {L'\x00B2', false},
      {L'\xFF10', false}, {L'\xFF19', false}, {L'\x0663', false}, {L'\xD83D', false}, {L'\x3042', false},
  };
  for (const auto& [key, kept] : keys) {
    short k = static_cast<short>(key);
    zornavex::FiltraCifre(k);
    EXPECT_EQ(k, kept ? static_cast<short>(key) : 0) << static_cast<int>(key);
  }
}
