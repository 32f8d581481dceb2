// The contents file (.cnt) beside a help file: its title and the books and
// topics of the "Sommario" tab. Portable: no Windows header.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zxhelp {

struct ContentsEntry {
  int level = 1;         // 1 for the top level
  std::string text;      // Windows-1252
  std::string context;   // empty for a book
  bool IsBook() const { return context.empty(); }
};

struct ContentsFile {
  std::string base, title;
  std::vector<ContentsEntry> entries;
};

// Reads "<level> <text>" books and "<level> <text>=<context>[@file][>window]"
// topics; ":Base" and ":Title" are kept, other commands skipped. Throws
// HelpFileError for a line that is neither, or for a level deeper than one
// below the book before it.
ContentsFile ReadContentsFile(std::string_view bytes);

}  // namespace zxhelp
