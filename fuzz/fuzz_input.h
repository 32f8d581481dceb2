// Turns fuzzer bytes into the inputs of the portable entry points, and the
// one way a target reports a broken property.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zxfuzz {

// UTF-8 where it is valid; any other byte stands for itself (Latin-1), so
// every input is some text. Code points above U+FFFF become a surrogate
// pair, as they would in a Windows text box.
std::wstring Widen(std::string_view bytes);

// The first `count - 1` lines and the rest (newlines included) as the last
// field; missing fields are empty.
std::vector<std::string_view> Fields(std::string_view bytes, std::size_t count);

// A separator chosen by a byte: "." for '.', "," for anything else.
wchar_t SeparatorFrom(std::string_view field);

// Prints what failed, with the inputs, and aborts so that libFuzzer keeps
// the input as a crash.
[[noreturn]] void Fail(const char* what, const std::wstring& detail);

// Checks `text` as the number-to-text format writes it: optional "-",
// digits with at most one separator between digits, no superfluous zeros,
// an optional "E+NN"/"E-NN" exponent for magnitudes from 1E+15 and below
// 0.0001, at most 15 significant digits, never "-0". Returns what is wrong,
// or an empty string.
std::string NumberTextProblem(std::wstring_view text, wchar_t separator);

}  // namespace zxfuzz

#define ZX_REQUIRE(cond, detail)                     \
  do {                                               \
    if (!(cond)) ::zxfuzz::Fail(#cond, (detail));    \
  } while (0)
