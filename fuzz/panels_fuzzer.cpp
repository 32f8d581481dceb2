// The four panel calculations from any three texts and either separator.
// Built once per panel (ZX_PANEL = 1..4).
#include <cstdint>
#include <string>

#include "calculations.h"
#include "fuzz_input.h"

using namespace zornavex;

namespace {

std::wstring Describe(const PanelInputs& in, wchar_t sep, const PanelOutcome& out) {
  std::wstring d = L"panel " + std::to_wstring(ZX_PANEL) + L" separator [" + std::wstring(1, sep) +
                   L"] frequency [" + in.frequency + L"] first [" + in.first + L"] second [" + in.second +
                   L"] warning " + std::to_wstring(static_cast<int>(out.warning)) + L" fault " +
                   std::to_wstring(static_cast<int>(out.fault)) + L" results";
  for (const auto& r : out.results) d += L" [" + r + L"]";
  return d;
}

PanelOutcome Calculate(const PanelInputs& in, wchar_t sep) {
  switch (ZX_PANEL) {
    case 1: return CalcolaTempoProgramma(in, sep);
    case 2: return CalcolaTempoTMR0(in, sep);
    case 3: return CalcolaValoreTMR0(in, sep);
    default: return CalcolaTempoWDT(in, sep);
  }
}

bool HasExponent(const std::wstring& text) { return text.find(L'E') != std::wstring::npos; }

// Digits after the separator of a result in plain form.
std::size_t Decimals(const std::wstring& text, wchar_t sep) {
  const std::size_t at = text.find(sep);
  return at == std::wstring::npos || HasExponent(text) ? 0 : text.size() - at - 1;
}

void Check(const PanelInputs& in, wchar_t sep) {
  const PanelOutcome out = Calculate(in, sep);
  const std::wstring where = Describe(in, sep, out);
  const bool anyEmpty = in.frequency.empty() || in.first.empty() || in.second.empty();
  ZX_REQUIRE((out.warning == Warning::CampiMancanti) == anyEmpty, where);

  if (out.warning != Warning::None) {
    ZX_REQUIRE(out.fault == Fault::None && out.results.empty() && out.focus != InputSlot::None, where);
    return;
  }
  if (out.fault != Fault::None) {
    ZX_REQUIRE(out.results.empty(), where);
    // A type mismatch needs a text that is not a number.
    if (out.fault == Fault::TypeMismatch) {
      ZX_REQUIRE(!TextToNumber(in.frequency, sep).ok() || !TextToNumber(in.first, sep).ok() ||
                     !TextToNumber(in.second, sep).ok(),
                 where);
    }
    return;
  }

  const std::size_t expected = ZX_PANEL == 1 || ZX_PANEL == 2 ? 1 : 2;
  ZX_REQUIRE(out.results.size() == expected, where);
  for (std::size_t i = 0; i < out.results.size(); ++i) {
    const std::wstring& r = out.results[i];
    if (ZX_PANEL == 3 && i == 1 && r.empty()) continue;  // no multiplier
    const std::string problem = zxfuzz::NumberTextProblem(r, sep);
    ZX_REQUIRE(problem.empty(), where + L" " + std::wstring(problem.begin(), problem.end()));
  }
  if (ZX_PANEL == 1 || ZX_PANEL == 2) {
    // Rounded to 3 places: never more decimals, never a tiny exponent.
    ZX_REQUIRE(Decimals(out.results[0], sep) <= 3 && out.results[0].find(L"E-") == std::wstring::npos, where);
  }
  if (ZX_PANEL == 3) {
    // Whole numbers; the value to load is 255 - counts with counts <= 255,
    // the multiplier a count of passes above 255 / 256.
    for (const auto& r : out.results) ZX_REQUIRE(r.find(sep) == std::wstring::npos || HasExponent(r), where);
    const std::wstring& multiplier = out.results[1];
    if (multiplier.empty()) {
      ZX_REQUIRE(out.results[0].front() != L'-', where);
    } else {
      ZX_REQUIRE(out.results[0] == L"0" && multiplier.front() != L'-' && multiplier != L"0", where);
    }
  }
}

}  // namespace

// Lines: separator ("." or ","), frequency, first input, second input (the
// rest of the data, newlines included).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto fields = zxfuzz::Fields(std::string_view(reinterpret_cast<const char*>(data), size), 4);
  const PanelInputs in{zxfuzz::Widen(fields[1]), zxfuzz::Widen(fields[2]), zxfuzz::Widen(fields[3])};
  Check(in, zxfuzz::SeparatorFrom(fields[0]));
  return 0;
}
