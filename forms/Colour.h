// Colour values as the forms keep them: 0x00BBGGRR for a fixed colour, or
// 0x80000000 plus the index of a system colour.
#pragma once

#include <windows.h>

#include <cstdint>

namespace forms {

using ColourValue = std::uint32_t;

constexpr ColourValue kSystemColourFlag = 0x80000000u;
constexpr ColourValue SystemColour(int index) { return kSystemColourFlag | static_cast<ColourValue>(index); }
constexpr bool IsSystemColour(ColourValue c) { return (c & kSystemColourFlag) != 0; }

inline COLORREF ToColorRef(ColourValue c) {
  return IsSystemColour(c) ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c & 0x00FFFFFF);
}

}  // namespace forms
