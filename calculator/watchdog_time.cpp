// Panel 4: time of one pass of a loop and of all its repetitions, counting
// one oscillator period per instruction, unrounded.
#include "calculations.h"

namespace zornavex {

PanelOutcome CalcolaTempoWDT(const PanelInputs& in, wchar_t sep) {
  PanelOutcome out;
  if (FirstMissingInput(in, out)) return out;

  Steps s(sep);
  const double period = s.Period(s.Read(in.frequency));
  const double cycle = s.Mul(s.Read(in.first), period);
  const double total = s.Mul(s.Read(in.second), cycle);
  // Both results are written only when all the arithmetic succeeded.
  if (!s.ok()) {
    out.fault = s.fault();
    return out;
  }
  out.results = {s.Text(total), s.Text(cycle)};
  return out;
}

}  // namespace zornavex
