// Little-endian fields and the variable-length numbers of the topic records,
// for the writer's record builders. Portable.
#pragma once

#include <cstdint>
#include <string>

namespace zxhelp::bytes {

inline void Put8(std::string& out, unsigned v) { out += static_cast<char>(v & 0xFF); }
inline void Put16(std::string& out, unsigned v) {
  Put8(out, v);
  Put8(out, v >> 8);
}
inline void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
inline void Set32(std::string& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline std::string Le32(std::uint32_t v) {
  std::string s;
  Put32(s, v);
  return s;
}

// The low bit of the first byte says whether the long form follows.
inline void PutCompressedLong(std::string& out, std::uint32_t v) {
  if (v < 0x4000) Put16(out, 2 * v + 0x8000);
  else Put32(out, 0x80000000u + 2 * v + 1);
}
inline void PutCompressedUShort(std::string& out, unsigned v) {
  if (v < 0x80) Put8(out, 2 * v);
  else Put16(out, 2 * v + 1);
}
inline void PutCompressedShort(std::string& out, int v) {  // small values only
  Put8(out, static_cast<unsigned>(2 * v + 0x80));
}

}  // namespace zxhelp::bytes
