// Registry value decoding from any type, data size and buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "registry_value.h"

using namespace zornavex::registry;

namespace {

std::wstring Describe(unsigned long type, std::size_t bufferSize, std::size_t dataSize, const std::wstring& in) {
  return L"type " + std::to_wstring(type) + L" buffer " + std::to_wstring(bufferSize) + L" bytes, data size " +
         std::to_wstring(dataSize) + L", incoming [" + in + L"]";
}

const wchar_t kHex[] = L"0123456789ABCDEF";

void Check(unsigned long type, const std::vector<std::byte>& buffer, std::size_t dataSize, const std::wstring& in) {
  const std::wstring where = Describe(type, buffer.size(), dataSize, in);
  std::wstring text;
  try {
    text = DecodeValue(type, buffer, dataSize, in);
  } catch (const EmptyValueError&) {
    ZX_REQUIRE(dataSize == 0, where);
    return;
  }
  ZX_REQUIRE(dataSize != 0, where);

  // The bytes that are the value: the data size, cut to the buffer.
  const std::size_t n = dataSize < buffer.size() ? dataSize : buffer.size();
  auto byteAt = [&](std::size_t i) { return i < n ? static_cast<unsigned>(buffer[i]) : 0u; };

  if (type == kRegSz) {
    // Written back as UTF-16LE the text is the value's bytes (an odd last
    // byte as a whole character); at most one NUL character is dropped,
    // and only from the end.
    const std::size_t units = (n + 1) / 2;
    ZX_REQUIRE(text.size() == units || (text.size() + 1 == units && byteAt(n - 1) == 0 && byteAt(2 * text.size()) == 0 &&
                                        byteAt(2 * text.size() + 1) == 0),
               where);
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto unit = static_cast<unsigned>(text[i]);
      ZX_REQUIRE(unit == (byteAt(2 * i) | (byteAt(2 * i + 1) << 8)), where);
    }
  } else if (type == kRegDword) {
    // "&h", the incoming text, then two upper-case digits per byte from the
    // last to the first, a last NUL byte dropped.
    const std::wstring head = L"&h" + in;
    ZX_REQUIRE(text.compare(0, head.size(), head) == 0, where + L" -> [" + text + L"]");
    const std::wstring hex = text.substr(head.size());
    const std::size_t kept = hex.size() / 2;
    ZX_REQUIRE(hex.size() % 2 == 0 && (kept == n || (kept + 1 == n && byteAt(n - 1) == 0)), where + L" -> [" + text + L"]");
    for (std::size_t k = 0; k < kept; ++k) {
      const unsigned b = byteAt(kept - 1 - k);
      ZX_REQUIRE(hex[2 * k] == kHex[b >> 4] && hex[2 * k + 1] == kHex[b & 0xF], where + L" -> [" + text + L"]");
    }
  } else {
    ZX_REQUIRE(text == in, where);
  }
}

}  // namespace

// Bytes 0-3: the type; 4-7: the data size; 8: length of the incoming text;
// then that text (as Latin-1) and the buffer, which is all the rest, copied
// to an allocation of its own so that any read beyond it is caught.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  std::uint32_t type = 0;
  std::uint32_t dataSize = 0;
  std::memcpy(&type, data, 4);
  std::memcpy(&dataSize, data + 4, 4);
  const std::size_t inLength = data[8] < size - 9 ? data[8] : size - 9;
  const std::wstring in(data + 9, data + 9 + inLength);
  const std::vector<std::byte> buffer(reinterpret_cast<const std::byte*>(data + 9 + inLength),
                                      reinterpret_cast<const std::byte*>(data + size));
  Check(type, buffer, dataSize, in);
  return 0;
}
