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

PanelOutcome RangeWarning(Warning warning, InputSlot slot) {
  PanelOutcome out;
  out.warning = warning;
  out.focus = slot;
  out.clearFocused = true;
  return out;
}

double Steps::Read(const std::wstring& text) {
  if (!ok()) return 0.0;
  const Parsed parsed = TextToNumber(text, separator_);
  fault_ = parsed.fault;
  return parsed.value;
}

double Steps::Check(double result, bool dividedByZero) {
  if (!ok()) return 0.0;
  fault_ = StepFault(result, dividedByZero);
  return result;
}

}  // namespace zornavex
