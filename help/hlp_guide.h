// The guide as the help writer sees it: topics read from our plain-text
// sources, every string already in Windows-1252. No Windows header here: the
// writer runs on the build machine.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zxhelp {

// A refusal of the sources, worded for the build log ("file:line: why").
class HelpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ParagraphKind {
  Body,     // ordinary text, lines joined with spaces
  Heading,  // a bold line
  Item,     // a list entry, drawn with a bullet
  Example,  // lines kept as typed (formulas, worked examples)
};

struct Paragraph {
  ParagraphKind kind = ParagraphKind::Body;
  std::vector<std::string> lines;  // Windows-1252; one entry unless Example
};

struct Topic {
  std::string source;  // file name, for messages
  std::string title;
  std::string context;  // context id: letters, digits, "." and "_"
  std::vector<std::string> keywords;
  std::string book;  // the contents book that holds it; empty: top level
  std::vector<Paragraph> paragraphs;
};

struct Guide {
  std::string title;     // help window title and :Title of the contents file
  std::string baseName;  // "ZORNAVEX": gives ZORNAVEX.hlp and ZORNAVEX.cnt
  std::vector<Topic> topics;  // the first one is the contents topic
};

// UTF-8 to Windows-1252; throws HelpError naming `where` for malformed UTF-8
// and for any character that Windows-1252 cannot hold.
std::string ToWindows1252(std::string_view utf8, const std::string& where);

// Reads one topic source (UTF-8 text):
//   Titolo: <title>
//   Contesto: <context id>
//   Parole chiave: <keyword>; <keyword>...
//   Capitolo: <book>            (optional)
//   <blank line>
//   # heading | - list item | four-space example line | body text
// Blank lines separate paragraphs; item lines go on with two-space indents.
Topic ParseTopic(std::string_view utf8, const std::string& source);

// The WinHelp hash of a context id, as a signed 32-bit number.
std::int32_t ContextHash(std::string_view id);

// Refuses a guide without topics, empty titles, "=" in titles or books,
// bad id characters, ids that repeat (the hash ignores case) and ids whose
// hashes collide.
void Validate(const Guide& guide);

}  // namespace zxhelp
