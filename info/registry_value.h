// Turning the raw data of one registry value into the text the About
// window works with. Portable: the caller does the reading.
#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>

namespace zornavex::registry {

inline constexpr unsigned long kRegSz = 1;
inline constexpr unsigned long kRegDword = 4;

// The data of a value that was read but holds nothing at all: there is no
// text to trim, so the lookup counts as failed.
class EmptyValueError : public std::invalid_argument {
 public:
  EmptyValueError() : std::invalid_argument("registry value without data") {}
};

// The value text for data of `type` read into `buffer`, of which the first
// `dataSize` bytes are the value. Text values are UTF-16; a value ending in
// its terminating NUL loses it. A REG_DWORD becomes "&h" and the hex of its
// bytes, last to first, after the same trimming (05 00 01 00 -> "&h010005"),
// appended to `valueIn`; any other type leaves `valueIn` as it is.
// Throws EmptyValueError when dataSize is 0.
std::wstring DecodeValue(unsigned long type, std::span<const std::byte> buffer, std::size_t dataSize,
                         const std::wstring& valueIn);

}  // namespace zornavex::registry
