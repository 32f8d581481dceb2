// The panel calculations, free of any window: each takes the three input
// texts of its panel and returns what the window must do (warn, move the
// focus, empty a box, report a fault, or write results).
#pragma once

#include <string>
#include <vector>

#include "number_rules.h"

namespace zornavex {

enum class Warning { None, CampiMancanti, PrescalerAlto, TMR0Alto };

// The inputs of a panel in tab order: frequency list, first box, second box.
struct PanelInputs {
  std::wstring frequency;
  std::wstring first;
  std::wstring second;
};

enum class InputSlot { None = -1, Frequency = 0, First = 1, Second = 2 };

struct PanelOutcome {
  Warning warning = Warning::None;
  InputSlot focus = InputSlot::None;  // where the focus goes after the warning
  bool clearFocused = false;          // empty that input after the warning
  Fault fault = Fault::None;
  std::vector<std::wstring> results;  // result texts in the order they are written
};

// Presence tests shared by every panel: the first empty input, in tab order,
// gives the missing-input warning and takes the focus.
bool FirstMissingInput(const PanelInputs& in, PanelOutcome& out);

// A range warning: after it the offending input is emptied and focused.
PanelOutcome RangeWarning(Warning warning, InputSlot slot);

// A chain of double-precision steps that stops at the first fault, as a
// test of the floating-point status after every step would: once a step has
// failed, later steps do nothing and the first fault is kept.
class Steps {
 public:
  explicit Steps(wchar_t decimalSeparator) : separator_(decimalSeparator) {}
  double Read(const std::wstring& text);  // text to number
  double Mul(double a, double b) { return Check(a * b, false); }
  double Div(double a, double b) { return Check(a / b, b == 0.0); }
  double Add(double a, double b) { return Check(a + b, false); }
  double Sub(double a, double b) { return Check(a - b, false); }
  // Oscillator period in ns for f in MHz: (1 / f) * 1000, division first.
  double Period(double frequency) { return Mul(Div(1.0, frequency), 1000.0); }
  bool ok() const { return fault_ == Fault::None; }
  Fault fault() const { return fault_; }
  std::wstring Text(double value) const { return NumberToText(value, separator_); }

 private:
  double Check(double result, bool dividedByZero);
  wchar_t separator_;
  Fault fault_ = Fault::None;
};

// Panel 1: execution time of n ordinary (4 periods) and j jump (8 periods)
// instructions, in ns rounded to 3 places.
PanelOutcome CalcolaTempoProgramma(const PanelInputs& in, wchar_t decimalSeparator);

// Panel 2: time of TMR0 = (p * v) * (4 periods) / 1000, 3 places. The loaded
// value itself is the count. Limits: value <= 255, prescaler <= 256.
PanelOutcome CalcolaTempoTMR0(const PanelInputs& in, wchar_t decimalSeparator);

// Panel 3: counts N = t / (p * 4 periods) * 1000; N > 255 gives "0" and the
// multiplier N / 256, otherwise 255 - N and no multiplier (whole numbers).
PanelOutcome CalcolaValoreTMR0(const PanelInputs& in, wchar_t decimalSeparator);

// Panel 4: cycle time = n * period (one period per instruction), total =
// r * cycle time; written total first, unrounded.
PanelOutcome CalcolaTempoWDT(const PanelInputs& in, wchar_t decimalSeparator);

}  // namespace zornavex
