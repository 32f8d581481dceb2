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

// Oscillator period in ns for f in MHz: (1 / f) * 1000, division first.
// Returns the fault of either step, if any.
Fault OscillatorPeriod(double frequency, double& period);

// Execution time of n ordinary (4 periods) and j jump (8 periods) instructions,
// in ns rounded to 3 places.
PanelOutcome CalcolaTempoProgramma(const PanelInputs& in, wchar_t decimalSeparator);

}  // namespace zornavex
