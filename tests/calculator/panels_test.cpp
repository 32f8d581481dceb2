// Panels 2 to 4: the worked cases users meet, range and presence order,
// and the faults that must leave every result box alone.
#include <gtest/gtest.h>

#include "calculations.h"

using namespace zornavex;

namespace {

using Calc = PanelOutcome (*)(const PanelInputs&, wchar_t);

std::vector<std::wstring> Results(Calc calc, const wchar_t* f, const wchar_t* a, const wchar_t* b,
                                  wchar_t sep = L',') {
  const PanelOutcome out = calc({f, a, b}, sep);
  EXPECT_EQ(out.warning, Warning::None);
  EXPECT_EQ(out.fault, Fault::None) << "fault " << static_cast<int>(out.fault);
  return out.results;
}

using V = std::vector<std::wstring>;

}  // namespace

TEST(TempoTMR0, WorkedValuesInBothLocales) {
  EXPECT_EQ(Results(CalcolaTempoTMR0, L"4", L"255", L"256"), V{L"65280"});
  EXPECT_EQ(Results(CalcolaTempoTMR0, L"4", L"100", L"2"), V{L"200"});
  EXPECT_EQ(Results(CalcolaTempoTMR0, L"7", L"100", L"2"), V{L"114,286"});
  EXPECT_EQ(Results(CalcolaTempoTMR0, L"6", L"1", L"1"), V{L"0,667"});
  EXPECT_EQ(Results(CalcolaTempoTMR0, L"9", L"5", L"3"), V{L"6,667"});
  EXPECT_EQ(Results(CalcolaTempoTMR0, L"7", L"100", L"2", L'.'), V{L"114.286"});
  EXPECT_EQ(Results(CalcolaTempoTMR0, L"9", L"5", L"3", L'.'), V{L"6.667"});
  EXPECT_EQ(Results(CalcolaTempoTMR0, L"4", L"0", L"256"), V{L"0"});
  EXPECT_EQ(Results(CalcolaTempoTMR0, L"10", L"255", L"0"), V{L"0"});
}

TEST(TempoTMR0, RangeTestsInOrderEmptyTheOffendingBox) {
  PanelOutcome out = CalcolaTempoTMR0({L"4", L"256", L"999"}, L',');
  EXPECT_EQ(out.warning, Warning::TMR0Alto);
  EXPECT_EQ(out.focus, InputSlot::First);
  EXPECT_TRUE(out.clearFocused);
  EXPECT_TRUE(out.results.empty());

  out = CalcolaTempoTMR0({L"4", L"255", L"257"}, L',');
  EXPECT_EQ(out.warning, Warning::PrescalerAlto);
  EXPECT_EQ(out.focus, InputSlot::Second);
  EXPECT_TRUE(out.clearFocused);

  // Presence comes before range.
  out = CalcolaTempoTMR0({L"4", L"", L"999"}, L',');
  EXPECT_EQ(out.warning, Warning::CampiMancanti);
  EXPECT_EQ(out.focus, InputSlot::First);
  EXPECT_FALSE(out.clearFocused);
}

TEST(TempoTMR0, ConversionFaultsFollowTheOrderOfTheTests) {
  // A pasted non-number fails at the range test that reads it.
  EXPECT_EQ(CalcolaTempoTMR0({L"4", L"ab", L"999"}, L',').fault, Fault::TypeMismatch);
  // Too high a value warns before the prescaler is ever read.
  const PanelOutcome out = CalcolaTempoTMR0({L"4", L"300", L"ab"}, L',');
  EXPECT_EQ(out.warning, Warning::TMR0Alto);
  EXPECT_EQ(out.fault, Fault::None);
  EXPECT_EQ(CalcolaTempoTMR0({L"4", L"12", L"x"}, L',').fault, Fault::TypeMismatch);
}

TEST(ValoreTMR0, LoadValueOrZeroAndMultiplier) {
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"100", L"1"), (V{L"155", L""}));
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"0", L"1"), (V{L"255", L""}));
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"10", L"1000", L"256"), (V{L"245", L""}));
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"1000", L"2"), (V{L"0", L"2"}));
  // The 255 threshold: 255 counts still load, 256 need a pass of their own.
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"255", L"1"), (V{L"0", L""}));
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"256", L"1"), (V{L"0", L"1"}));
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"255,5", L"1"), (V{L"0", L"1"}));
  // Ties go to the even neighbour.
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"640", L"1"), (V{L"0", L"2"}));
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"0,5", L"1"), (V{L"254", L""}));
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"1,5", L"1"), (V{L"254", L""}));
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"0.5", L"1", L'.'), (V{L"254", L""}));
  // Negative times load more than 255.
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"-10", L"1"), (V{L"265", L""}));
  // N = 75.00000000000001 in double precision.
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"6", L"50", L"1"), (V{L"180", L""}));
}

TEST(ValoreTMR0, PrescalerLimitAndFaults) {
  PanelOutcome out = CalcolaValoreTMR0({L"4", L"100", L"257"}, L',');
  EXPECT_EQ(out.warning, Warning::PrescalerAlto);
  EXPECT_EQ(out.focus, InputSlot::Second);
  EXPECT_TRUE(out.clearFocused);
  EXPECT_TRUE(out.results.empty());
  EXPECT_EQ(Results(CalcolaValoreTMR0, L"4", L"100", L"256"), (V{L"255", L""}));  // N = 0.390625

  out = CalcolaValoreTMR0({L"4", L"100", L"0"}, L',');
  EXPECT_EQ(out.fault, Fault::DivisionByZero);
  EXPECT_TRUE(out.results.empty());
  EXPECT_EQ(CalcolaValoreTMR0({L"4", L"0", L"0"}, L',').fault, Fault::Overflow);  // 0 / 0
  // A bad prescaler fails at its range test, before the time is read.
  EXPECT_EQ(CalcolaValoreTMR0({L"4", L"1E400", L"x"}, L',').fault, Fault::TypeMismatch);
  EXPECT_EQ(CalcolaValoreTMR0({L"4", L"abc", L"1"}, L',').fault, Fault::TypeMismatch);
  EXPECT_EQ(CalcolaValoreTMR0({L"4", L"1E308", L"1E-10"}, L',').fault, Fault::Overflow);
  EXPECT_EQ(CalcolaValoreTMR0({L"4", L"", L"1"}, L',').focus, InputSlot::First);
}

TEST(TempoWDT, CycleAndTotalUnrounded) {
  EXPECT_EQ(Results(CalcolaTempoWDT, L"10", L"3", L"2"), (V{L"600", L"300"}));
  EXPECT_EQ(Results(CalcolaTempoWDT, L"6", L"1", L"1"), (V{L"166,666666666667", L"166,666666666667"}));
  EXPECT_EQ(Results(CalcolaTempoWDT, L"7", L"3", L"2"), (V{L"857,142857142857", L"428,571428571429"}));
  EXPECT_EQ(Results(CalcolaTempoWDT, L"7", L"3", L"2", L'.'), (V{L"857.142857142857", L"428.571428571429"}));
  EXPECT_EQ(Results(CalcolaTempoWDT, L"4", L"0", L"5"), (V{L"0", L"0"}));
  EXPECT_EQ(Results(CalcolaTempoWDT, L"4", L"3", L"0"), (V{L"0", L"750"}));
  EXPECT_EQ(Results(CalcolaTempoWDT, L"4", L"-0", L"3"), (V{L"0", L"0"}));
  EXPECT_EQ(Results(CalcolaTempoWDT, L"4", L"-2", L"1,5"), (V{L"-750", L"-500"}));
  EXPECT_EQ(Results(CalcolaTempoWDT, L"4", L"1E-10", L"1"), (V{L"2,5E-08", L"2,5E-08"}));
}

TEST(TempoWDT, FaultsWriteNeitherResult) {
  PanelOutcome out = CalcolaTempoWDT({L"4", L"1E200", L"1E200"}, L',');
  EXPECT_EQ(out.fault, Fault::Overflow);
  EXPECT_TRUE(out.results.empty());
  EXPECT_EQ(CalcolaTempoWDT({L"4", L"3", L"due"}, L',').fault, Fault::TypeMismatch);
  EXPECT_EQ(CalcolaTempoWDT({L"4", L"tre", L"1E400"}, L',').fault, Fault::TypeMismatch);
  out = CalcolaTempoWDT({L"4", L"", L""}, L',');
  EXPECT_EQ(out.warning, Warning::CampiMancanti);
  EXPECT_EQ(out.focus, InputSlot::First);
}
