#include <gtest/gtest.h>

#include "calculations.h"

using namespace zornavex;

namespace {

PanelOutcome Calc(const wchar_t* f, const wchar_t* n, const wchar_t* j, wchar_t sep = L',') {
  return CalcolaTempoProgramma({f, n, j}, sep);
}

std::wstring ResultOf(const wchar_t* f, const wchar_t* n, const wchar_t* j, wchar_t sep = L',') {
  const PanelOutcome out = Calc(f, n, j, sep);
  EXPECT_EQ(out.warning, Warning::None);
  EXPECT_EQ(out.fault, Fault::None);
  return out.results.size() == 1 ? out.results[0] : L"<none>";
}

}  // namespace

TEST(ExecutionTime, OrdinaryAndJumpInstructions) {
  EXPECT_EQ(ResultOf(L"4", L"1", L"0"), L"1000");
  EXPECT_EQ(ResultOf(L"10", L"1", L"0"), L"400");
  EXPECT_EQ(ResultOf(L"10", L"0", L"1"), L"800");
  EXPECT_EQ(ResultOf(L"10", L"0", L"0"), L"0");
  EXPECT_EQ(ResultOf(L"4", L"007", L"0"), L"7000");
}

TEST(ExecutionTime, RoundsToThreePlacesWithTheLocaleSeparator) {
  EXPECT_EQ(ResultOf(L"6", L"1", L"0"), L"666,667");
  EXPECT_EQ(ResultOf(L"7", L"1", L"0"), L"571,429");
  EXPECT_EQ(ResultOf(L"9", L"2", L"0"), L"888,889");
  EXPECT_EQ(ResultOf(L"6", L"1", L"0", L'.'), L"666.667");
  EXPECT_EQ(ResultOf(L"9", L"2", L"0", L'.'), L"888.889");
}

TEST(ExecutionTime, TwelveDigitCountsReachTheExponentForm) {
  // 4 MHz: (4 * n + 8 * j) * 250 ns.
  EXPECT_EQ(ResultOf(L"4", L"999999999999", L"999999999999"), L"2,999999999997E+15");
  EXPECT_EQ(ResultOf(L"4", L"1000000000000", L"0"), L"1E+15");
  EXPECT_EQ(ResultOf(L"4", L"999999999999", L"0"), L"999999999999000");
}

TEST(ExecutionTime, PresenceIsTestedInTabOrder) {
  PanelOutcome out = Calc(L"", L"", L"");
  EXPECT_EQ(out.warning, Warning::CampiMancanti);
  EXPECT_EQ(out.focus, InputSlot::Frequency);
  EXPECT_FALSE(out.clearFocused);
  EXPECT_TRUE(out.results.empty());

  out = Calc(L"4", L"", L"");
  EXPECT_EQ(out.focus, InputSlot::First);
  out = Calc(L"4", L"1", L"");
  EXPECT_EQ(out.focus, InputSlot::Second);
  EXPECT_TRUE(out.results.empty());
  // Only emptiness counts: a blank is present (and then not a number).
  out = Calc(L"4", L" ", L"1");
  EXPECT_EQ(out.warning, Warning::None);
  EXPECT_EQ(out.fault, Fault::TypeMismatch);
}

TEST(ExecutionTime, PastedJunkIsATypeMismatchWithNoResult) {
  PanelOutcome out = Calc(L"4", L"abc", L"1");
  EXPECT_EQ(out.fault, Fault::TypeMismatch);
  EXPECT_TRUE(out.results.empty());
  out = Calc(L"4", L"1", L"1.5");  // the other locale's separator
  EXPECT_EQ(out.fault, Fault::TypeMismatch);
  out = Calc(L"4", L"1E400", L"abc");  // the first bad input met wins
  EXPECT_EQ(out.fault, Fault::Overflow);
}

TEST(ExecutionTime, ArithmeticFaultsStopWithoutResult) {
  PanelOutcome out = Calc(L"0", L"1", L"1");
  EXPECT_EQ(out.fault, Fault::DivisionByZero);
  EXPECT_TRUE(out.results.empty());
  out = Calc(L"4", L"1E306", L"0");
  EXPECT_EQ(out.fault, Fault::Overflow);
  out = Calc(L"1E-306", L"1", L"0");  // the period itself overflows
  EXPECT_EQ(out.fault, Fault::Overflow);
}
