// Writes a WinHelp 4 file (minor version 33, uncompressed) and its contents
// file from a validated guide. Portable: the build runs it on the host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hlp_guide.h"

namespace zxhelp {

// One entry of a B+ tree, both parts already serialised: the key as the
// pages store it (a NUL-terminated string or a 4-byte number), the value as
// the leaf pages store it after the key.
struct BTreeEntry {
  std::string key;
  std::string value;
};

// A B+ tree with its 38-byte header, entries sorted by the caller. Leaf pages
// come first, then the index levels; the root is the last page. firstOnLeaf
// receives, per leaf page, the number of its first entry (for |KWMAP).
std::string BuildBTree(const std::vector<BTreeEntry>& entries, std::uint16_t flags, std::uint16_t pageSize,
                       std::string_view structure, std::vector<std::uint32_t>* firstOnLeaf = nullptr);

// The whole .hlp file. Throws HelpError when a paragraph cannot fit in one
// topic block.
std::string WriteHelpFile(const Guide& guide);

// The .cnt file: ":Base", ":Title", then books and topics, in Windows-1252
// with CR LF line ends.
std::string WriteContentsFile(const Guide& guide);

}  // namespace zxhelp
