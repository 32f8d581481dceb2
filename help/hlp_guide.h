// The guide as the help writer sees it: topics read from our plain-text
// sources, every string already in Windows-1252. No Windows header here: the
// writer runs on the build machine.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "hlp_format.h"

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

// What a body, heading or item line holds: text, `code` in the fixed-pitch
// face and [text](CONTEXT_ID) jumps to another topic. Example lines are all
// code and carry no markup.
enum class RunKind { Text, Code, Jump };
struct Run {
  RunKind kind = RunKind::Text;
  std::string text;    // Windows-1252, markup removed
  std::string target;  // context id of a jump
  bool operator==(const Run&) const = default;
};

struct Paragraph {
  ParagraphKind kind = ParagraphKind::Body;
  std::vector<std::string> lines;  // Windows-1252 as typed; one entry unless Example
};

// The runs of a line; throws HelpError naming `where` for a "`" or a "["
// left open, and for a jump without a target.
std::vector<Run> ParseRuns(std::string_view line, const std::string& where);
// The line as shown: runs joined, markup removed (examples unchanged).
std::string ShownText(const Paragraph& paragraph, std::size_t line);

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

using format::ContextHash;

// Refuses a guide without topics, empty titles, "=" in titles or books,
// bad id characters, ids that repeat (the hash ignores case), ids whose
// hashes collide and jumps to a context that no topic has.
void Validate(const Guide& guide);

}  // namespace zxhelp
