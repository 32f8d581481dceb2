// ZORNAVEX's own reader of its help file, for the help window it shows where
// the platform has no WinHelp viewer. It reads what our writer produces:
// uncompressed WinHelp 4 with |SYSTEM, |FONT, |TOPIC, |CONTEXT and the
// keyword index. Anything else is refused with HelpFileError, never a crash.
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "hlp_format.h"

namespace zxhelp {

class HelpFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct HelpFont {
  std::string face;
  unsigned halfPoints = 0;
  bool bold = false, italic = false, underline = false;
  std::uint8_t red = 0, green = 0, blue = 0;
  unsigned family = 0;  // 1 modern (fixed pitch), 2 roman, 3 swiss, 4 script, 5 decorative
};

// Text in one font; lineBreak ends the line after it. A jump's text is a
// span of its own that names the hash of the target's context id.
struct HelpSpan {
  unsigned font = 0;
  std::string text;  // Windows-1252
  bool lineBreak = false;
  bool jump = false;
  std::int32_t target = 0;
};

enum class HelpAlign { Left, Right, Centre };

// Spacing and indents in half-points, as the file stores them.
struct HelpParagraph {
  int spaceAbove = 0, spaceBelow = 0, lineSpacing = 0;
  int leftIndent = 0, rightIndent = 0, firstLineIndent = 0;
  HelpAlign align = HelpAlign::Left;
  std::vector<HelpSpan> spans;
};

struct HelpTopic {
  std::uint32_t offset = 0;  // what |CONTEXT and the keywords point at
  std::string title;
  std::vector<HelpParagraph> paragraphs;
};

struct HelpKeyword {
  std::string word;
  std::vector<std::uint32_t> offsets;
};

struct HelpDocument {
  std::string title;
  std::uint32_t contentsOffset = 0;
  std::vector<HelpFont> fonts;
  std::vector<HelpTopic> topics;             // in file order
  std::vector<HelpKeyword> keywords;         // in index order
  std::map<std::int32_t, std::uint32_t> contexts;  // context hash to topic offset

  // The topic that holds this offset; nullptr when there is none.
  const HelpTopic* TopicAt(std::uint32_t offset) const;
  const HelpTopic* TopicOfContext(std::string_view id) const;
  const HelpTopic* TopicOfHash(std::int32_t hash) const;
};

// Reads a whole .hlp file.
HelpDocument ReadHelpDocument(std::string_view bytes);

// WinHelp's hash of a context id.
inline std::int32_t HelpContextHash(std::string_view id) { return format::ContextHash(id); }

// Windows-1252 text as wide characters.
std::wstring FromWindows1252(std::string_view text);

}  // namespace zxhelp
