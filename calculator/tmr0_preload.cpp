// Panel 3: the value to load into TMR0 for a wanted time, or 0 and a
// multiplier of 256-count passes when one pass is not enough.
#include "calculations.h"

namespace zornavex {

PanelOutcome CalcolaValoreTMR0(const PanelInputs& in, wchar_t sep) {
  PanelOutcome out;
  if (FirstMissingInput(in, out)) return out;

  Steps s(sep);
  if (const double prescaler = s.Read(in.second); s.ok() && prescaler > 256.0)
    return RangeWarning(Warning::PrescalerAlto, InputSlot::Second);

  const double period = s.Period(s.Read(in.frequency));
  // The time is read before the prescaler, as the division names them.
  const double time = s.Read(in.first);
  const double prescaler = s.Read(in.second);
  const double q = s.Div(time, s.Mul(prescaler, s.Mul(period, 4.0)));
  const double counts = s.Mul(q, 1000.0);
  if (s.ok() && counts > 255.0) {
    const double multiplier = s.Div(counts, 256.0);
    if (s.ok()) out.results = {L"0", s.Text(RoundHalfEven(multiplier, 0))};
  } else {
    const double value = s.Sub(255.0, counts);
    if (s.ok()) out.results = {s.Text(RoundHalfEven(value, 0)), L""};
  }
  out.fault = s.fault();
  return out;
}

}  // namespace zornavex
