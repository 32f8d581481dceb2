#include "hlp_guide.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

#include "cp1252.h"

namespace zxhelp {
namespace {

std::string Hex(char32_t c) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s = "U+";
  for (int shift = (c > 0xFFFF ? 20 : 12); shift >= 0; shift -= 4) s += digits[(c >> shift) & 0xF];
  return s;
}

int Encode1252(char32_t c) {
  if (c >= 0x20 && c < 0x7F) return static_cast<int>(c);
  if (c >= 0xA0 && c <= 0xFF) return static_cast<int>(c);
  for (std::size_t i = 0; i < kWindows1252High.size(); ++i)
    if (kWindows1252High[i] != 0 && kWindows1252High[i] == c) return static_cast<int>(0x80 + i);
  return -1;  // controls (NUL ends strings in the file) and everything else
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string ToWindows1252(std::string_view utf8, const std::string& where) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= utf8.size())
      throw HelpError(where + ": testo non UTF-8 valido");
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) throw HelpError(where + ": testo non UTF-8 valido");
      c = (c << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    static constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kShortest[extra]) throw HelpError(where + ": testo non UTF-8 valido");
    const int byte = Encode1252(c);
    if (byte < 0)
      throw HelpError(where + ": il carattere " + Hex(c) + " non esiste in Windows-1252");
    out += static_cast<char>(byte);
  }
  return out;
}

Topic ParseTopic(std::string_view utf8, const std::string& source) {
  Topic topic;
  topic.source = source;
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start <= utf8.size();) {
    std::size_t end = utf8.find('\n', start);
    if (end == std::string_view::npos) end = utf8.size();
    lines.push_back(utf8.substr(start, end - start));
    start = end + 1;
  }
  if (!lines.empty() && StartsWith(lines[0], "\xEF\xBB\xBF")) lines[0].remove_prefix(3);

  auto where = [&source](std::size_t index) { return source + ":" + std::to_string(index + 1); };
  auto convert = [&](std::string_view text, std::size_t index) { return ToWindows1252(text, where(index)); };

  std::size_t n = 0;
  for (; n < lines.size() && !Trim(lines[n]).empty(); ++n) {
    const std::string_view line = Trim(lines[n]);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) throw HelpError(where(n) + ": intestazione senza \":\"");
    const std::string_view key = Trim(line.substr(0, colon));
    const std::string_view value = Trim(line.substr(colon + 1));
    if (key == "Titolo") {
      topic.title = convert(value, n);
    } else if (key == "Contesto") {
      topic.context = std::string(value);  // checked by Validate, byte for byte
    } else if (key == "Parole chiave") {
      for (std::size_t from = 0; from <= value.size();) {
        std::size_t semi = value.find(';', from);
        if (semi == std::string_view::npos) semi = value.size();
        const std::string_view word = Trim(value.substr(from, semi - from));
        if (!word.empty()) topic.keywords.push_back(convert(word, n));
        from = semi + 1;
      }
    } else if (key == "Capitolo") {
      topic.book = convert(value, n);
    } else {
      throw HelpError(where(n) + ": intestazione sconosciuta \"" + std::string(key) + "\"");
    }
  }
  if (topic.title.empty()) throw HelpError(source + ": manca \"Titolo:\"");
  if (topic.context.empty()) throw HelpError(source + ": manca \"Contesto:\"");

  Paragraph* open = nullptr;  // the paragraph that further lines extend
  std::vector<std::size_t> firstLine;  // of each paragraph, for messages
  for (; n < lines.size(); ++n) {
    std::string_view raw = lines[n];
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    const std::string_view line = Trim(raw);
    if (line.empty()) {
      open = nullptr;
      continue;
    }
    const std::size_t before = topic.paragraphs.size();
    if (StartsWith(raw, "    ")) {
      if (!open || open->kind != ParagraphKind::Example)
        open = &topic.paragraphs.emplace_back(Paragraph{ParagraphKind::Example, {}});
      open->lines.push_back(convert(raw.substr(4), n));
    } else if (StartsWith(raw, "# ")) {
      topic.paragraphs.push_back({ParagraphKind::Heading, {convert(Trim(raw.substr(2)), n)}});
      open = nullptr;
    } else if (StartsWith(raw, "- ")) {
      open = &topic.paragraphs.emplace_back(Paragraph{ParagraphKind::Item, {convert(Trim(raw.substr(2)), n)}});
    } else if (open && (open->kind == ParagraphKind::Body ||
                        (open->kind == ParagraphKind::Item && StartsWith(raw, "  ")))) {
      open->lines[0] += ' ' + convert(line, n);
    } else {
      open = &topic.paragraphs.emplace_back(Paragraph{ParagraphKind::Body, {convert(line, n)}});
    }
    if (topic.paragraphs.size() > before) firstLine.push_back(n);
  }
  for (std::size_t i = 0; i < topic.paragraphs.size(); ++i)
    if (topic.paragraphs[i].kind != ParagraphKind::Example) ParseRuns(topic.paragraphs[i].lines[0], where(firstLine[i]));
  return topic;
}

std::vector<Run> ParseRuns(std::string_view line, const std::string& where) {
  std::vector<Run> runs;
  auto add = [&runs](RunKind kind, std::string_view text, std::string_view target = {}) {
    if (text.empty()) return;
    if (kind == RunKind::Text && !runs.empty() && runs.back().kind == RunKind::Text) runs.back().text += text;
    else runs.push_back({kind, std::string(text), std::string(target)});
  };
  for (std::size_t at = 0; at < line.size();) {
    const std::size_t mark = line.find_first_of("`[", at);
    add(RunKind::Text, line.substr(at, mark == std::string_view::npos ? std::string_view::npos : mark - at));
    if (mark == std::string_view::npos) break;
    if (line[mark] == '`') {
      const std::size_t close = line.find('`', mark + 1);
      if (close == std::string_view::npos) throw HelpError(where + ": \"`\" senza chiusura");
      add(RunKind::Code, line.substr(mark + 1, close - mark - 1));
      at = close + 1;
      continue;
    }
    const std::size_t close = line.find("](", mark + 1);
    const std::size_t paren = close == std::string_view::npos ? close : line.find(')', close + 2);
    if (paren == std::string_view::npos) throw HelpError(where + ": collegamento \"[testo](CONTESTO)\" incompleto");
    const std::string_view text = line.substr(mark + 1, close - mark - 1);
    const std::string_view target = Trim(line.substr(close + 2, paren - close - 2));
    if (text.empty() || target.empty()) throw HelpError(where + ": collegamento senza testo o senza contesto");
    runs.push_back({RunKind::Jump, std::string(text), std::string(target)});
    at = paren + 1;
  }
  return runs;
}

std::string ShownText(const Paragraph& paragraph, std::size_t line) {
  if (paragraph.kind == ParagraphKind::Example) return paragraph.lines[line];
  std::string shown;
  for (const Run& run : ParseRuns(paragraph.lines[line], "")) shown += run.text;
  return shown;
}

void Validate(const Guide& guide) {
  if (guide.topics.empty()) throw HelpError("la guida non ha argomenti");
  if (guide.title.empty()) throw HelpError("la guida non ha titolo");
  std::map<std::int32_t, const Topic*> byHash;
  for (const Topic& topic : guide.topics) {
    // A contents line reads "<level> <title>=<context>": an "=" in the
    // title or the book would move the split.
    if (topic.title.find('=') != std::string::npos || topic.book.find('=') != std::string::npos)
      throw HelpError(topic.source + ": titolo e capitolo non possono contenere \"=\"");
    const std::string& id = topic.context;
    if (id.empty()) throw HelpError(topic.source + ": contesto vuoto");
    for (const char ch : id) {
      const bool ok = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
                      ch == '.' || ch == '_';
      if (!ok)
        throw HelpError(topic.source + ": il contesto \"" + id +
                        "\" contiene caratteri diversi da lettere, cifre, \".\" e \"_\"");
    }
    const auto [it, inserted] = byHash.emplace(ContextHash(id), &topic);
    if (!inserted) {
      std::string a = it->second->context, b = id;
      const auto upper = [](unsigned char c) { return static_cast<char>(std::toupper(c)); };
      std::transform(a.begin(), a.end(), a.begin(), upper);
      std::transform(b.begin(), b.end(), b.begin(), upper);
      if (a == b)
        throw HelpError(topic.source + ": il contesto \"" + id + "\" è già usato in " + it->second->source);
      throw HelpError(topic.source + ": il contesto \"" + id + "\" ha lo stesso codice di \"" +
                      it->second->context + "\" (" + it->second->source + ")");
    }
  }
  for (const Topic& topic : guide.topics)
    for (const Paragraph& p : topic.paragraphs) {
      if (p.kind == ParagraphKind::Example) continue;
      for (const Run& run : ParseRuns(p.lines[0], topic.source))
        if (run.kind == RunKind::Jump && byHash.count(ContextHash(run.target)) == 0)
          throw HelpError(topic.source + ": il collegamento \"" + run.text + "\" porta al contesto \"" + run.target +
                          "\", che nessun argomento ha");
    }
}

}  // namespace zxhelp
