#include "registry_value.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <initializer_list>
#include <vector>

namespace zornavex::registry {
namespace {

constexpr unsigned long kRegExpandSz = 2;
constexpr unsigned long kRegBinary = 3;

// A 1024-byte read buffer holding `bytes` at its start, NULs after.
std::array<std::byte, 1024> Buffer(std::initializer_list<unsigned> bytes) {
  std::array<std::byte, 1024> b{};
  std::size_t i = 0;
  for (unsigned v : bytes) b[i++] = static_cast<std::byte>(v);
  return b;
}

// UTF-16LE bytes of a text, with its terminating NUL when asked.
std::vector<unsigned> Utf16(const std::wstring& text, bool withNul) {
  std::vector<unsigned> out;
  for (wchar_t c : text) {
    out.push_back(static_cast<unsigned>(c) & 0xFF);
    out.push_back((static_cast<unsigned>(c) >> 8) & 0xFF);
  }
  if (withNul) out.insert(out.end(), {0, 0});
  return out;
}

std::array<std::byte, 1024> Buffer(const std::vector<unsigned>& bytes) {
  std::array<std::byte, 1024> b{};
  for (std::size_t i = 0; i < bytes.size(); ++i) b[i] = static_cast<std::byte>(bytes[i]);
  return b;
}

TEST(DecodeText, TerminatingNulIsDroppedAndOnlyDataSizeCounts) {
  const std::wstring path = L"C:\\Programmi\\msinfo32.exe";
  const auto bytes = Utf16(path, true);
  EXPECT_EQ(DecodeValue(kRegSz, Buffer(bytes), bytes.size(), L""), path);
  // Without its NUL the whole text stays.
  const auto bare = Utf16(path, false);
  EXPECT_EQ(DecodeValue(kRegSz, Buffer(bare), bare.size(), L""), path);
  // Bytes beyond the data size are not part of the value.
  EXPECT_EQ(DecodeValue(kRegSz, Buffer(bytes), 4, L""), L"C:");
}

TEST(DecodeText, CharactersOutsideOneCodePageSurvive) {
  const std::wstring path = L"C:\\Strumenti\\\u0160ala\\\u65e5\u672c\\MSINFO32.EXE";
  const auto bytes = Utf16(path, true);
  EXPECT_EQ(DecodeValue(kRegSz, Buffer(bytes), bytes.size(), L""), path);
}

TEST(DecodeText, EmptyStringIsReadAsEmptyText) {
  EXPECT_EQ(DecodeValue(kRegSz, Buffer({0, 0}), 2, L"prima"), L"");
}

TEST(DecodeText, OddByteCountKeepsItsHalfCharacter) {
  EXPECT_EQ(DecodeValue(kRegSz, Buffer({'A', 0, 'B'}), 3, L""), L"AB");
}

TEST(DecodeEmpty, NoDataAtAllIsAnErrorForEveryType) {
  for (unsigned long type : {kRegSz, kRegDword, kRegExpandSz})
    EXPECT_THROW(DecodeValue(type, Buffer({}), 0, L""), EmptyValueError) << type;
}

TEST(DecodeDword, TrailingNulByteIsDroppedAndBytesRunLastToFirst) {
  EXPECT_EQ(DecodeValue(kRegDword, Buffer({0x05, 0x00, 0x01, 0x00}), 4, L""), L"&h010005");
}

TEST(DecodeDword, HighByteSetKeepsAllFourInUpperCase) {
  EXPECT_EQ(DecodeValue(kRegDword, Buffer({0x78, 0xab, 0x0c, 0xfe}), 4, L""), L"&hFE0CAB78");
}

TEST(DecodeDword, ZeroLosesOnlyItsLastByte) {
  EXPECT_EQ(DecodeValue(kRegDword, Buffer({0, 0, 0, 0}), 4, L""), L"&h000000");
}

TEST(DecodeDword, IncomingTextComesAfterThePrefix) {
  EXPECT_EQ(DecodeValue(kRegDword, Buffer({0x01, 0x02}), 2, L"FF"), L"&hFF0201");
}

TEST(DecodeOtherTypes, LeaveTheIncomingText) {
  const auto bytes = Utf16(L"%SystemRoot%\\msinfo32.exe", true);
  EXPECT_EQ(DecodeValue(kRegExpandSz, Buffer(bytes), bytes.size(), L""), L"");
  EXPECT_EQ(DecodeValue(kRegBinary, Buffer({1, 2, 3}), 3, L"invariato"), L"invariato");
}

TEST(DecodeBounds, DataSizeLargerThanTheBufferIsCut) {
  std::array<std::byte, 4> small{std::byte{'O'}, std::byte{0}, std::byte{'K'}, std::byte{0}};
  EXPECT_EQ(DecodeValue(kRegSz, small, 4096, L""), L"OK");
}

TEST(DecodeBounds, DataSizeWithAnEmptyBufferReadsNothingOutsideIt) {
  // Cut to an empty buffer the value has no bytes: nothing to trim, no read before the buffer.
  const std::vector<std::byte> none;
  EXPECT_EQ(DecodeValue(kRegSz, none, 8, L"prima"), L"");
  EXPECT_EQ(DecodeValue(kRegDword, none, 4, L"FF"), L"&hFF");
}

}  // namespace
}  // namespace zornavex::registry
