// Panel 2: the time TMR0 takes for a loaded value and a prescaler.
#include "calculations.h"

namespace zornavex {

PanelOutcome CalcolaTempoTMR0(const PanelInputs& in, wchar_t sep) {
  PanelOutcome out;
  if (FirstMissingInput(in, out)) return out;

  // Range tests in order; the prescaler is read only when the value passed.
  Steps s(sep);
  const double value = s.Read(in.first);
  if (s.ok() && value > 255.0) return RangeWarning(Warning::TMR0Alto, InputSlot::First);
  const double prescaler = s.Read(in.second);
  if (s.ok() && prescaler > 256.0) return RangeWarning(Warning::PrescalerAlto, InputSlot::Second);

  const double period = s.Period(s.Read(in.frequency));
  const double product = s.Mul(s.Mul(prescaler, value), s.Mul(period, 4.0));
  const double time = s.Div(product, 1000.0);
  if (!s.ok()) {
    out.fault = s.fault();
    return out;
  }
  out.results.push_back(s.Text(RoundHalfEven(time, 3)));
  return out;
}

}  // namespace zornavex
