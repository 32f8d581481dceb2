// Panel 1: total = j * (8 periods) + n * (4 periods), in ns, 3 places.
#include "calculations.h"

namespace zornavex {

PanelOutcome CalcolaTempoProgramma(const PanelInputs& in, wchar_t sep) {
  PanelOutcome out;
  if (FirstMissingInput(in, out)) return out;

  // Each conversion and each step in the order the total is built, so the
  // first fault met is the one reported.
  auto fail = [&out](Fault f) { out.fault = f; return out; };
  const Parsed f = TextToNumber(in.frequency, sep);
  if (!f.ok()) return fail(f.fault);
  double period = 0.0;
  if (Fault e = OscillatorPeriod(f.value, period); e != Fault::None) return fail(e);
  const double instructionCycle = period * 4.0;
  if (Fault e = StepFault(instructionCycle); e != Fault::None) return fail(e);
  const double jumpCycle = period * 8.0;
  if (Fault e = StepFault(jumpCycle); e != Fault::None) return fail(e);
  const Parsed n = TextToNumber(in.first, sep);
  if (!n.ok()) return fail(n.fault);
  const double a = n.value * instructionCycle;
  if (Fault e = StepFault(a); e != Fault::None) return fail(e);
  const Parsed j = TextToNumber(in.second, sep);
  if (!j.ok()) return fail(j.fault);
  const double jumps = j.value * jumpCycle;
  if (Fault e = StepFault(jumps); e != Fault::None) return fail(e);
  const double total = jumps + a;
  if (Fault e = StepFault(total); e != Fault::None) return fail(e);

  out.results.push_back(NumberToText(RoundHalfEven(total, 3), sep));
  return out;
}

}  // namespace zornavex
