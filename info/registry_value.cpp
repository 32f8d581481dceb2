#include "registry_value.h"

#include <algorithm>

namespace zornavex::registry {

namespace {

// Keeps `count` units, or one less when the last one is NUL. A buffer
// shorter than the data size can leave no unit at all.
template <typename Unit>
std::size_t Trimmed(const Unit* units, std::size_t count) {
  return count > 0 && units[count - 1] == Unit{0} ? count - 1 : count;
}

}  // namespace

std::wstring DecodeValue(unsigned long type, std::span<const std::byte> buffer, std::size_t dataSize,
                         const std::wstring& valueIn) {
  if (dataSize == 0) throw EmptyValueError();
  dataSize = std::min(dataSize, buffer.size());
  if (type == kRegSz) {
    // An odd byte count still counts its last, half-filled character.
    std::wstring units((dataSize + 1) / 2, L'\0');
    for (std::size_t i = 0; i < dataSize; ++i) {
      const auto b = static_cast<unsigned>(buffer[i]);
      units[i / 2] = static_cast<wchar_t>(units[i / 2] | (b << (8 * (i % 2))));
    }
    units.resize(Trimmed(units.data(), units.size()));
    return units;
  }
  if (type == kRegDword) {
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring hex = valueIn;
    for (std::size_t i = Trimmed(buffer.data(), dataSize); i-- > 0;) {
      const auto b = static_cast<unsigned>(buffer[i]);
      hex += kHex[b >> 4];
      hex += kHex[b & 0xF];
    }
    return L"&h" + hex;
  }
  return valueIn;
}

}  // namespace zornavex::registry
