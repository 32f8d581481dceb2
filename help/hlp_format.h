// The numbers of the WinHelp 4 file format that the writer, ZORNAVEX's own
// reader and the tests' reader all depend on, and the hash of a context id.
// One place, so that a jump the writer hashes is the jump the readers find.
// Portable: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zxhelp::format {

constexpr std::uint32_t kFileMagic = 0x00035F3F;
constexpr unsigned kBTreeMagic = 0x293B;
constexpr unsigned kSystemMagic = 0x036C;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

// |TOPIC, uncompressed: 4 KB blocks, each opened by three TOPICPOS values.
constexpr std::size_t kBlockSize = 4096;
constexpr std::size_t kBlockHeader = 12;
constexpr std::uint32_t kPosPerBlock = 0x4000;     // TOPICPOS: block * 0x4000 + byte
constexpr std::uint32_t kOffsetPerBlock = 0x8000;  // TOPICOFFSET: block * 0x8000 + characters
constexpr std::size_t kLinkHeader = 21;            // TOPICLINK before its data

// Record types of a TOPICLINK.
constexpr unsigned kTopicHeader = 0x02;
constexpr unsigned kDisplayText = 0x20;

// Commands of a paragraph's format part; each follows one string of text.
constexpr unsigned kFontChange = 0x80;      // + 2-byte font number
constexpr unsigned kLineBreak = 0x81;
constexpr unsigned kParagraphEnd = 0x82;
constexpr unsigned kTab = 0x83;
constexpr unsigned kHotspotEnd = 0x89;
constexpr unsigned kNonBreakingSpace = 0x8B;
constexpr unsigned kNonBreakingHyphen = 0x8C;
// Jumps of WinHelp 3.1 and later, + the 4-byte hash of the target's context
// id: popup and topic jump (green, underlined), then both without the
// font change.
constexpr unsigned kPopupJump = 0xE2;
constexpr unsigned kTopicJump = 0xE3;
constexpr unsigned kPopupJumpPlain = 0xE6;
constexpr unsigned kTopicJumpPlain = 0xE7;
constexpr unsigned kEnd = 0xFF;

constexpr bool IsJump(unsigned command) {
  return command == kPopupJump || command == kTopicJump || command == kPopupJumpPlain || command == kTopicJumpPlain;
}

// WinHelp's hash of a context id, as a signed 32-bit number: letters
// without case 17 to 42, digits 1 to 9 as themselves, 0 as 10, "." 12 and
// "_" 13; other characters add 0. The arithmetic wraps as the viewers' does.
constexpr std::int32_t ContextHash(std::string_view id) {
  std::uint32_t hash = 0;
  for (const char ch : id) {
    std::uint32_t x = 0;
    if (ch >= 'A' && ch <= 'Z') x = static_cast<std::uint32_t>(ch - 'A' + 17);
    else if (ch >= 'a' && ch <= 'z') x = static_cast<std::uint32_t>(ch - 'a' + 17);
    else if (ch >= '1' && ch <= '9') x = static_cast<std::uint32_t>(ch - '0');
    else if (ch == '0') x = 10;
    else if (ch == '.') x = 12;
    else if (ch == '_') x = 13;
    hash = hash * 43 + x;
  }
  return static_cast<std::int32_t>(hash);
}

}  // namespace zxhelp::format
