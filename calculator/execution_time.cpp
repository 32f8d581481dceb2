// Panel 1: total = j * (8 periods) + n * (4 periods), in ns, 3 places.
#include "calculations.h"

namespace zornavex {

PanelOutcome CalcolaTempoProgramma(const PanelInputs& in, wchar_t sep) {
  PanelOutcome out;
  if (FirstMissingInput(in, out)) return out;

  // Each text is read where its step needs it, so the first fault met is the
  // one reported.
  Steps s(sep);
  const double period = s.Period(s.Read(in.frequency));
  const double instructionCycle = s.Mul(period, 4.0);
  const double jumpCycle = s.Mul(period, 8.0);
  const double a = s.Mul(s.Read(in.first), instructionCycle);
  const double total = s.Add(s.Mul(s.Read(in.second), jumpCycle), a);
  if (!s.ok()) {
    out.fault = s.fault();
    return out;
  }
  out.results.push_back(s.Text(RoundHalfEven(total, 3)));
  return out;
}

}  // namespace zornavex
