// ZORNAVEX's own reader of the help files against what the writer writes for
// the Italian guide, its refusals of damaged files, and the rich text of a
// topic.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "cnt_contents.h"
#include "hlp_document.h"
#include "hlp_guide.h"
#include "hlp_rtf.h"
#include "hlp_writer.h"

namespace {

namespace fs = std::filesystem;
using zxhelp::HelpFileError;

zxhelp::Guide ItalianGuide() {
  std::set<fs::path> files;  // by name: contents order
  for (const auto& entry : fs::directory_iterator(fs::path(ZX_HELP_GUIDE_DIR)))
    if (entry.path().extension() == ".txt") files.insert(entry.path());
  zxhelp::Guide guide{"Guida di ZORNAVEX", "ZORNAVEX", {}};
  for (const fs::path& path : files) {
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    guide.topics.push_back(zxhelp::ParseTopic(text, path.filename().string()));
  }
  return guide;
}

// A paragraph as lines, each with the font it is written in.
struct Line {
  std::string text;
  unsigned font;
  bool operator==(const Line&) const = default;
};
std::vector<Line> Lines(const zxhelp::HelpParagraph& p) {
  std::vector<Line> lines{{"", p.spans.empty() ? 0u : p.spans.front().font}};
  for (const zxhelp::HelpSpan& s : p.spans) {
    lines.back().text += s.text;
    lines.back().font = s.font;
    if (s.lineBreak) lines.push_back({"", s.font});
  }
  return lines;
}

// A paragraph as its runs of text: font, and the target's hash for a jump.
struct RunRead {
  std::string text;
  unsigned font;
  bool jump;
  std::int32_t target;
  bool operator==(const RunRead&) const = default;
};
std::vector<RunRead> Runs(const zxhelp::HelpParagraph& p) {
  std::vector<RunRead> runs;
  for (const zxhelp::HelpSpan& s : p.spans) runs.push_back({s.text, s.font, s.jump, s.jump ? s.target : 0});
  return runs;
}
std::vector<RunRead> ExpectedRuns(const zxhelp::Paragraph& written) {
  const unsigned font = written.kind == zxhelp::ParagraphKind::Heading ? 1 : 0;
  std::vector<RunRead> runs;
  if (written.kind == zxhelp::ParagraphKind::Item) runs.push_back({"\x95 ", font, false, 0});
  for (const zxhelp::Run& r : zxhelp::ParseRuns(written.lines[0], "")) {
    const RunRead next{r.text, r.kind == zxhelp::RunKind::Code ? 3u : font, r.kind == zxhelp::RunKind::Jump,
                       r.kind == zxhelp::RunKind::Jump ? zxhelp::ContextHash(r.target) : 0};
    if (!runs.empty() && !next.jump && !runs.back().jump && runs.back().font == next.font) runs.back().text += next.text;
    else runs.push_back(next);
  }
  return runs;
}

// The guide, the file the writer makes of it, and what the reader reads.
struct Written {
  zxhelp::Guide guide = ItalianGuide();
  std::string hlp = zxhelp::WriteHelpFile(guide);
  zxhelp::HelpDocument doc = zxhelp::ReadHelpDocument(hlp);
};
const Written& Guide() {
  static const Written written;
  return written;
}

TEST(ItalianGuideRead, EveryTopicComesBackWithItsTextFontsAndIndents) {
  const auto& [guide, hlp, doc] = Guide();
  EXPECT_EQ(doc.title, "Guida di ZORNAVEX");
  ASSERT_EQ(doc.fonts.size(), 4u);  // body, bold, title, code
  EXPECT_EQ(std::tie(doc.fonts[0].face, doc.fonts[0].bold, doc.fonts[1].bold, doc.fonts[2].halfPoints, doc.fonts[3].face),
            std::make_tuple(std::string("Arial"), false, true, 28u, std::string("Courier New")));
  EXPECT_EQ(std::make_pair(doc.fonts[0].family, doc.fonts[3].family), std::make_pair(3u, 1u));  // swiss, modern
  ASSERT_EQ(doc.topics.size(), guide.topics.size());
  EXPECT_EQ(doc.TopicAt(doc.contentsOffset), &doc.topics.front());
  for (const zxhelp::Topic& topic : guide.topics) {
    SCOPED_TRACE(topic.source);
    const zxhelp::HelpTopic* read = doc.TopicOfContext(topic.context);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->title, topic.title);
    ASSERT_EQ(read->paragraphs.size(), topic.paragraphs.size() + 1);
    EXPECT_EQ(Lines(read->paragraphs[0]), (std::vector<Line>{{topic.title, 2}}));
    for (std::size_t i = 0; i < topic.paragraphs.size(); ++i) {
      const zxhelp::Paragraph& written = topic.paragraphs[i];
      const zxhelp::HelpParagraph& p = read->paragraphs[i + 1];
      if (written.kind == zxhelp::ParagraphKind::Example) {
        std::vector<Line> expected;
        for (const std::string& line : written.lines) expected.push_back({line, 3});
        EXPECT_EQ(Lines(p), expected) << "paragraph " << i;
      } else {
        EXPECT_EQ(Runs(p), ExpectedRuns(written)) << "paragraph " << i;
      }
      // Items hang under their text, examples are indented, headings get air above.
      const int indents[] = {0, 0, 26, 24};  // Body, Heading, Item, Example
      EXPECT_EQ(p.leftIndent, indents[static_cast<int>(written.kind)]);
      EXPECT_EQ(p.firstLineIndent, written.kind == zxhelp::ParagraphKind::Item ? -14 : 0);
      const bool afterList = i > 0 && topic.paragraphs[i - 1].kind == zxhelp::ParagraphKind::Item &&
                             written.kind != zxhelp::ParagraphKind::Item;
      EXPECT_EQ(p.spaceAbove > 0, written.kind == zxhelp::ParagraphKind::Heading || afterList);
      if (afterList) {
        EXPECT_EQ(read->paragraphs[i].spaceBelow + p.spaceAbove, 12) << "the air after a paragraph";
      }
    }
  }
}

TEST(ItalianGuideRead, KeywordsAndContentsLeadToTheirTopics) {
  const auto& [guide, hlp, doc] = Guide();
  std::set<std::string> expected;
  for (const zxhelp::Topic& topic : guide.topics) expected.insert(topic.keywords.begin(), topic.keywords.end());
  std::set<std::string> read;
  for (const zxhelp::HelpKeyword& k : doc.keywords) {
    read.insert(k.word);
    ASSERT_FALSE(k.offsets.empty()) << k.word;
    for (std::uint32_t offset : k.offsets) {
      const zxhelp::HelpTopic* t = doc.TopicAt(offset);
      ASSERT_NE(t, nullptr);
      EXPECT_EQ(t->offset, offset) << k.word;
    }
  }
  EXPECT_EQ(read, expected);

  const zxhelp::ContentsFile cnt = zxhelp::ReadContentsFile(zxhelp::WriteContentsFile(guide));
  EXPECT_EQ(cnt.title, "Guida di ZORNAVEX");
  EXPECT_EQ(cnt.base, "ZORNAVEX.hlp");
  std::size_t topics = 0;
  for (const zxhelp::ContentsEntry& e : cnt.entries) {
    if (e.IsBook()) continue;
    const zxhelp::HelpTopic* t = doc.TopicOfContext(e.context);
    ASSERT_NE(t, nullptr) << e.context;
    EXPECT_EQ(t->title, e.text);
    ++topics;
  }
  EXPECT_EQ(topics, guide.topics.size());
}

// Every shortened file and a file with any one byte changed is either read
// or refused with HelpFileError; nothing else escapes.
TEST(ItalianGuideRead, DamagedFilesAreRefusedWithoutCrashing) {
  const auto& [guide, hlp, doc] = Guide();
  const std::string& good = hlp;
  for (std::size_t length = 0; length < good.size(); length += 61) {
    EXPECT_THROW(zxhelp::ReadHelpDocument(std::string_view(good).substr(0, length)), HelpFileError) << length;
  }
  int refused = 0;
  for (std::size_t at = 0; at < good.size(); at += 37) {
    for (const unsigned char value : {0x00, 0xFF}) {
      std::string bad = good;
      bad[at] = static_cast<char>(value);
      try {
        zxhelp::ReadHelpDocument(bad);
      } catch (const HelpFileError&) {
        ++refused;
      }
    }
  }
  EXPECT_GT(refused, 0);
  // Foreign files: the contents file, text, a compressed help file.
  EXPECT_THROW(zxhelp::ReadHelpDocument(zxhelp::WriteContentsFile(guide)), HelpFileError);
  EXPECT_THROW(zxhelp::ReadHelpDocument("?_\x03"), HelpFileError);
  const std::size_t system = good.find(std::string("\x6C\x03\x21\x00", 4));
  ASSERT_NE(system, std::string::npos);
  std::string compressed = good;
  compressed[system + 10] = 4;
  EXPECT_THROW(zxhelp::ReadHelpDocument(compressed), HelpFileError);
}

TEST(ContentsFile, CommandsBooksTopicsAndRefusals) {
  const auto cnt = zxhelp::ReadContentsFile(
      ":Base X.hlp\r\n:Title Guida\r\n:Index Altro=altro.hlp\r\n\r\n1 Libro\n2 Uno=ID_1@X.hlp>main\n"
      "2 Sotto\n3 Due = ID_2 \n1 Tre=ID_3\n");
  EXPECT_EQ(cnt.title, "Guida");
  ASSERT_EQ(cnt.entries.size(), 5u);
  EXPECT_TRUE(cnt.entries[0].IsBook());
  EXPECT_EQ(cnt.entries[1].context, "ID_1");
  EXPECT_EQ(cnt.entries[3].text, "Due");
  EXPECT_EQ(cnt.entries[3].context, "ID_2");
  EXPECT_EQ(cnt.entries[4].level, 1);
  for (const char* bad : {"2 Orfano=ID\n", "1 Libro\n3 Troppo=ID\n", "x Testo\n", "1 Vuoto=\n", "1 =ID\n", "10 A\n",
                          "1Attaccato\n"})
    EXPECT_THROW(zxhelp::ReadContentsFile(bad), HelpFileError) << bad;
}

TEST(TopicRtf, FontsSpacingEscapesAndLineBreaks) {
  zxhelp::HelpDocument doc;
  doc.fonts = {{"Arial", 20}, {"Times New Roman", 28, true, false, false, 0, 0, 0x80}, {"Arial", 20, true}};
  zxhelp::HelpTopic topic;
  zxhelp::HelpParagraph item;
  item.leftIndent = 26;
  item.firstLineIndent = -14;
  item.spaceBelow = 4;
  item.spans = {{1, "Titolo {x}", true}, {0, "\x95 c:\\ \xE8 fine", false}, {2, "!", false}};
  topic.paragraphs.push_back(item);
  zxhelp::HelpParagraph jump;
  jump.spans = {{0, "vedi ", false}, {0, "altro", false, true, 1234}, {0, ".", false}};
  topic.paragraphs.push_back(jump);
  std::vector<zxhelp::RtfJump> jumps;
  const std::string rtf = zxhelp::TopicToRtf(doc, topic, true, &jumps);
  // After 10 + 1 (line break) + 12 + 1 characters and the paragraph end.
  EXPECT_EQ(jumps, (std::vector<zxhelp::RtfJump>{{30, 35, 1234}}));
  EXPECT_NE(rtf.find("{\\plain\\f0\\fs20\\cf4\\b0\\i0\\ul altro}"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\red0\\green128\\blue0;}"), std::string::npos) << "the jumps' colour, last";
  doc.fonts[1].family = 1;  // modern: fixed pitch
  EXPECT_NE(zxhelp::TopicToRtf(doc, topic).find("{\\f1\\fmodern\\fprq1\\fcharset0 Times New Roman;}"), std::string::npos);
  doc.fonts[1].family = 0;
  // One font table entry per face; size, weight and colour go with the text.
  EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Times New Roman;}}"), std::string::npos)
      << rtf;
  for (const char* part : {"\\ansicpg1252", "{\\plain\\f0\\fs20\\cf3\\b\\i0\\ulnone !}\\par", "\\red0\\green0\\blue128;",
                           "\\pard\\sb0\\sa40\\li260\\ri0\\fi-140", "{\\plain\\f1\\fs28\\cf2\\b\\i0\\ulnone Titolo \\{x\\}\\line}",
                           "{\\plain\\f0\\fs20\\cf1\\b0\\i0\\ulnone \\'95 c:\\\\ \\'e8 fine}"})
    EXPECT_NE(rtf.find(part), std::string::npos) << part << "\n" << rtf;
  EXPECT_EQ(rtf.back(), '}');
  // In high contrast every span takes the automatic colour, the window text.
  const std::string plain = zxhelp::TopicToRtf(doc, topic, /*fileColours=*/false);
  EXPECT_NE(plain.find("{\\plain\\f1\\fs28\\cf0\\b\\i0\\ulnone Titolo"), std::string::npos) << plain;
  EXPECT_NE(plain.find("{\\plain\\f0\\fs20\\cf0\\b0\\i0\\ul altro}"), std::string::npos) << "underlined still";
  EXPECT_EQ(plain.find("\\cf1"), std::string::npos) << plain;
}

TEST(HelpText, Windows1252ToWideCharacters) {
  EXPECT_EQ(zxhelp::FromWindows1252("\x95 perch\xE9 \x80"), std::wstring(L"\u2022 perch\u00E9 \u20AC"));
}

}  // namespace
