#include "cnt_contents.h"

#include "hlp_document.h"

namespace zxhelp {
namespace {

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

ContentsFile ReadContentsFile(std::string_view bytes) {
  ContentsFile out;
  int bookLevel = 0;  // level of the innermost open book
  while (!bytes.empty()) {
    const auto end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = Trim(line);
    if (line.empty()) continue;
    if (line.front() == ':') {
      const auto space = line.find(' ');
      const std::string_view command = line.substr(0, space);
      const std::string_view value = space == std::string_view::npos ? "" : Trim(line.substr(space));
      if (command == ":Base") out.base = value;
      if (command == ":Title") out.title = value;
      continue;
    }
    const int level = line.front() - '0';
    if (level < 1 || level > 9 || line.size() < 2 || (line[1] != ' ' && line[1] != '\t'))
      throw HelpFileError("riga del sommario non valida");
    if (level > bookLevel + 1) throw HelpFileError("livello del sommario senza capitolo");
    ContentsEntry entry;
    entry.level = level;
    const std::string_view rest = Trim(line.substr(2));
    const auto equals = rest.find('=');
    entry.text = Trim(rest.substr(0, equals));
    if (equals != std::string_view::npos) {
      const std::string_view target = rest.substr(equals + 1);
      entry.context = Trim(target.substr(0, target.find_first_of("@>")));
      if (entry.context.empty()) throw HelpFileError("argomento del sommario senza contesto");
      bookLevel = level - 1;
    } else {
      bookLevel = level;
    }
    if (entry.text.empty()) throw HelpFileError("voce del sommario senza testo");
    out.entries.push_back(std::move(entry));
  }
  return out;
}

}  // namespace zxhelp
