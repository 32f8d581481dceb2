#include "calculations.h"

namespace zornavex {

bool FirstMissingInput(const PanelInputs& in, PanelOutcome& out) {
  const InputSlot slot = in.frequency.empty() ? InputSlot::Frequency
                         : in.first.empty()   ? InputSlot::First
                         : in.second.empty()  ? InputSlot::Second
                                              : InputSlot::None;
  if (slot == InputSlot::None) return false;
  out.warning = Warning::CampiMancanti;
  out.focus = slot;
  return true;
}

Fault OscillatorPeriod(double frequency, double& period) {
  const double inverse = 1.0 / frequency;
  if (Fault f = StepFault(inverse, frequency == 0.0); f != Fault::None) return f;
  period = inverse * 1000.0;
  return StepFault(period);
}

}  // namespace zornavex
