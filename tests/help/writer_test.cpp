// The help writer against an independent reader: a guide large enough for
// many topic blocks and multi-level trees comes back topic by topic, and bad
// sources are refused with a message that says where and why.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hlp_guide.h"
#include "hlp_reader.h"
#include "hlp_writer.h"

namespace {

using zxhelp::Guide;
using zxhelp::HelpError;
using zxhelp::Paragraph;
using zxhelp::ParagraphKind;
using zxhelp::Topic;

std::string Cp(const char* utf8) { return zxhelp::ToWindows1252(utf8, "test"); }

Topic MakeTopic(int n) {
  Topic t;
  t.source = "argomento" + std::to_string(n) + ".txt";
  t.title = Cp("Argomento ") + std::to_string(n) + Cp(" – perché sì");
  t.context = "IDH_ARGOMENTO_NUMERO_" + std::to_string(n);
  t.keywords = {"comune", "parola " + std::to_string(n)};
  if (n % 3 == 0) t.keywords.push_back(Cp("Èsempio"));
  std::string body;
  for (int i = 0; i <= n % 7; ++i) body += Cp("Il periodo è (1 ÷ f) × 1000 ns; ") + std::to_string(n * 100 + i) + ". ";
  // A jump back to the topic before and a word of code in every body.
  body += "Vedere [l'argomento prima](IDH_ARGOMENTO_NUMERO_" + std::to_string(n > 0 ? n - 1 : 0) + ") e `CLRF TMR0`.";
  t.paragraphs = {
      {ParagraphKind::Heading, {"Sezione " + std::to_string(n)}},
      {ParagraphKind::Body, {body}},
      {ParagraphKind::Item, {Cp("voce con € e µs")}},
      {ParagraphKind::Example, {"a = " + std::to_string(n), "b = a × 4", ""}},
  };
  return t;
}

Guide LargeGuide(int topics) {
  Guide g;
  g.title = Cp("Guida di prova è");
  g.baseName = "PROVA";
  for (int n = 0; n < topics; ++n) g.topics.push_back(MakeTopic(n));
  return g;
}

class LargeGuideTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    guide_ = new Guide(LargeGuide(300));
    reader_ = new hlptest::HelpReader(zxhelp::WriteHelpFile(*guide_));
  }
  static void TearDownTestSuite() {
    delete reader_;
    delete guide_;
  }
  static Guide* guide_;
  static hlptest::HelpReader* reader_;
};
Guide* LargeGuideTest::guide_ = nullptr;
hlptest::HelpReader* LargeGuideTest::reader_ = nullptr;

TEST_F(LargeGuideTest, EveryTopicComesBackThroughItsContextId) {
  const auto fonts = reader_->Fonts();
  ASSERT_EQ(fonts.size(), 4u);  // body, bold, title, code
  EXPECT_EQ(fonts[0].face, "Arial");
  EXPECT_EQ(fonts[3].face, "Courier New");
  for (std::size_t i = 0; i < guide_->topics.size(); ++i) {
    const Topic& source = guide_->topics[i];
    SCOPED_TRACE(source.context);
    const auto offset = reader_->OffsetOfContext(source.context);
    ASSERT_TRUE(offset.has_value());
    const hlptest::ReadTopic read = reader_->TopicAt(*offset);
    EXPECT_EQ(read.title, source.title);
    EXPECT_EQ(read.number, i);
    EXPECT_EQ(reader_->TitleAt(*offset), source.title);

    // The title is drawn first, large and bold; then the paragraphs in order.
    ASSERT_EQ(read.paragraphs.size(), source.paragraphs.size() + 1);
    EXPECT_EQ(read.paragraphs[0].lines, std::vector<std::string>{source.title});
    ASSERT_EQ(read.paragraphs[0].fonts.size(), 1u);
    EXPECT_TRUE(fonts[read.paragraphs[0].fonts[0]].bold);
    EXPECT_GT(fonts[read.paragraphs[0].fonts[0]].halfPoints, fonts[0].halfPoints);
    for (std::size_t p = 0; p < source.paragraphs.size(); ++p) {
      const Paragraph& want = source.paragraphs[p];
      const hlptest::ReadParagraph& got = read.paragraphs[p + 1];
      std::vector<std::string> shown;
      for (std::size_t l = 0; l < want.lines.size(); ++l) shown.push_back(zxhelp::ShownText(want, l));
      if (want.kind == ParagraphKind::Item) shown[0] = "\x95 " + shown[0];
      EXPECT_EQ(got.lines, shown);
      ASSERT_FALSE(got.fonts.empty());
      EXPECT_EQ(fonts[got.fonts[0]].bold, want.kind == ParagraphKind::Heading);
      EXPECT_EQ(fonts[got.fonts[0]].face, want.kind == ParagraphKind::Example ? "Courier New" : "Arial");
      if (want.kind != ParagraphKind::Body) {
        EXPECT_TRUE(got.jumps.empty());
        continue;
      }
      // The jump, its target found through the hash; the code in its own face, then back.
      const std::string target = "IDH_ARGOMENTO_NUMERO_" + std::to_string(i > 0 ? i - 1 : 0);
      EXPECT_EQ(got.jumps, (std::vector<hlptest::ReadJump>{{"l'argomento prima", hlptest::Hash(target)}}));
      EXPECT_EQ(reader_->OffsetOfContext(target).has_value(), true);
      ASSERT_EQ(got.fonts.size(), 3u);
      EXPECT_EQ(std::vector<std::string>({fonts[got.fonts[1]].face, fonts[got.fonts[2]].face}),
                std::vector<std::string>({"Courier New", "Arial"}));
    }
  }
}

TEST_F(LargeGuideTest, SpansManyBlocksWithoutSplittingARecord) {
  EXPECT_GE(reader_->TopicBlocks(), 10u);
  const auto spans = reader_->RecordSpans();
  std::size_t lastBlock = 0, lastEnd = 0;
  for (const auto& span : spans) {
    EXPECT_LE(span.end, 4096u);
    if (span.block != lastBlock) {
      EXPECT_EQ(span.block, lastBlock + 1);
      EXPECT_EQ(span.start, 12u) << "a block starts with a record right after its header";
      lastBlock = span.block;
    } else {
      EXPECT_GE(span.start, lastEnd);
    }
    lastEnd = span.end;
  }
  EXPECT_EQ(lastBlock + 1, reader_->TopicBlocks());
}

TEST_F(LargeGuideTest, ContextHashesAreSortedAsSignedNumbers) {
  const auto hashes = reader_->ContextHashes();
  ASSERT_EQ(hashes.size(), guide_->topics.size());
  EXPECT_TRUE(std::is_sorted(hashes.begin(), hashes.end()));
  // Both signs occur, so unsigned order would differ.
  EXPECT_LT(hashes.front(), 0);
  EXPECT_GT(hashes.back(), 0);
}

TEST_F(LargeGuideTest, SystemRecordsAndDirectory) {
  EXPECT_EQ(reader_->Minor(), 33u);
  EXPECT_EQ(reader_->Flags(), 0u);
  EXPECT_EQ(reader_->Title(), guide_->title);
  EXPECT_EQ(reader_->Lcid(), 0x0410u);
  EXPECT_EQ(reader_->Charset(), 0u);
  EXPECT_EQ(reader_->ContentsOffset(), reader_->OffsetOfContext(guide_->topics[0].context));

  const std::vector<std::string> names = reader_->InternalFileNames();
  const std::vector<std::string> expected = {"|CONTEXT", "|FONT",   "|KWBTREE", "|KWDATA",
                                             "|KWMAP",   "|SYSTEM", "|TOPIC",   "|TTLBTREE"};
  EXPECT_EQ(names, expected);  // byte order, every file reachable
  for (const std::string& name : names) EXPECT_TRUE(reader_->InternalFile(name).has_value()) << name;
  EXPECT_FALSE(reader_->InternalFile("|CTXOMAP").has_value());
}

TEST_F(LargeGuideTest, KeywordsLeadToTheirTopics) {
  std::vector<std::uint32_t> all;
  for (const Topic& t : guide_->topics) all.push_back(*reader_->OffsetOfContext(t.context));
  EXPECT_EQ(reader_->OffsetsOfKeyword("comune"), all);
  EXPECT_EQ(reader_->OffsetsOfKeyword("parola 7"), std::vector<std::uint32_t>{all[7]});
  const auto accented = reader_->OffsetsOfKeyword(Cp("Èsempio"));
  ASSERT_EQ(accented.size(), 100u);
  EXPECT_EQ(accented[1], all[3]);

  // Listed once each; the accented keyword sorts among the "e" words.
  const auto words = reader_->Keywords();
  EXPECT_EQ(words.size(), 302u);
  const auto it = std::find(words.begin(), words.end(), Cp("Èsempio"));
  ASSERT_NE(it, words.end());
  ASSERT_NE(it + 1, words.end());
  EXPECT_EQ(*(it - 1), "comune");
  EXPECT_EQ(*(it + 1), "parola 0");
}

TEST(HelpWriter, OutputIsTheSameForTheSameGuide) {
  const Guide g = LargeGuide(5);
  EXPECT_EQ(zxhelp::WriteHelpFile(g), zxhelp::WriteHelpFile(g));
}

TEST(HelpWriter, ParagraphTooLongForABlockIsRefused) {
  Guide g = LargeGuide(1);
  g.topics[0].paragraphs.push_back({ParagraphKind::Body, {std::string(4100, 'x')}});
  try {
    zxhelp::WriteHelpFile(g);
    FAIL() << "no refusal";
  } catch (const HelpError& e) {
    EXPECT_NE(std::string(e.what()).find("argomento0.txt"), std::string::npos) << e.what();
  }
}

TEST(HelpWriter, ContextHashFollowsTheDocumentedTable) {
  EXPECT_EQ(zxhelp::ContextHash("A"), 17);
  EXPECT_EQ(zxhelp::ContextHash("a"), 17);
  EXPECT_EQ(zxhelp::ContextHash("z.0_9"), 144562784);
  EXPECT_EQ(zxhelp::ContextHash("IDH_INTRODUZIONE"), 1819950174);
  EXPECT_EQ(zxhelp::ContextHash("IDH_HZYLGVAND"), 0x707D1187);
  EXPECT_EQ(zxhelp::ContextHash("IDH_GRXPQHMJZ"), 0x707D1187);
}

// Refusals --------------------------------------------------------------

std::string RefusalOf(const Guide& g) {
  try {
    zxhelp::WriteHelpFile(g);
  } catch (const HelpError& e) {
    return e.what();
  }
  return "";
}

Guide TwoTopics(const std::string& first, const std::string& second) {
  Guide g = LargeGuide(2);
  g.topics[0].context = first;
  g.topics[1].context = second;
  for (Topic& t : g.topics) t.paragraphs[1].lines[0] = "testo";  // no jumps to the ids replaced
  return g;
}

TEST(HelpRefusals, DuplicateContextIdsIgnoringCase) {
  EXPECT_NE(RefusalOf(TwoTopics("IDH_A", "IDH_A")).find("argomento1.txt: il contesto \"IDH_A\" è già usato in argomento0.txt"),
            std::string::npos);
  EXPECT_NE(RefusalOf(TwoTopics("IDH_A", "idh_a")).find("già usato"), std::string::npos);
}

TEST(HelpRefusals, CollidingContextIds) {
  const std::string message = RefusalOf(TwoTopics("IDH_HZYLGVAND", "IDH_GRXPQHMJZ"));
  EXPECT_NE(message.find("stesso codice di \"IDH_HZYLGVAND\""), std::string::npos) << message;
}

TEST(HelpRefusals, BadCharactersInContextIds) {
  for (const std::string bad : {"IDH-A", "IDH A", "IDH_\xC8", "IDH/A", ""}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(RefusalOf(TwoTopics("IDH_OK", bad)).empty());
  }
  EXPECT_EQ(RefusalOf(TwoTopics("IDH_OK", "a.b_9")), "");
}

TEST(HelpRefusals, CharactersOutsideWindows1252) {
  const std::string source = "Titolo: T\nContesto: IDH_T\n\nriga uno\nvale \xE2\x89\xA4 3\n";  // U+2264
  try {
    zxhelp::ParseTopic(source, "t.txt");
    FAIL() << "no refusal";
  } catch (const HelpError& e) {
    EXPECT_EQ(std::string(e.what()), "t.txt:5: il carattere U+2264 non esiste in Windows-1252");
  }
  EXPECT_THROW(zxhelp::ToWindows1252("\xF0\x9F\x98\x80", "x"), HelpError);    // outside the BMP
  EXPECT_THROW(zxhelp::ToWindows1252(std::string("a\0b", 3), "x"), HelpError); // NUL ends strings
  EXPECT_THROW(zxhelp::ToWindows1252("a\tb", "x"), HelpError);
  EXPECT_THROW(zxhelp::ToWindows1252("\xC2\x81", "x"), HelpError);            // unassigned byte 0x81
  EXPECT_THROW(zxhelp::ToWindows1252("\xC3", "x"), HelpError);                // cut short
  EXPECT_THROW(zxhelp::ToWindows1252("\xC1\x81", "x"), HelpError);            // overlong "A"
  EXPECT_THROW(zxhelp::ToWindows1252("\xE0\x80\x80", "x"), HelpError);
  EXPECT_EQ(zxhelp::ToWindows1252("€ • – è ÷ × µ ÿ", "x"), "\x80 \x95 \x96 \xE8 \xF7 \xD7 \xB5 \xFF");
}

TEST(HelpRefusals, EqualsSignInTitleOrBook) {
  Guide g = LargeGuide(2);
  g.topics[1].title = "a = b";
  EXPECT_NE(RefusalOf(g).find("argomento1.txt"), std::string::npos);
  g = LargeGuide(2);
  g.topics[0].book = "x=y";
  EXPECT_THROW(zxhelp::WriteContentsFile(g), HelpError);
}

TEST(HelpRefusals, MarkupLeftOpenAndJumpsToNowhere) {
  const char* bad[] = {"un `codice senza fine", "[testo senza](contesto", "[testo](", "[](IDH_A)", "[testo]( )"};
  for (const char* line : bad) {
    SCOPED_TRACE(line);
    try {
      zxhelp::ParseTopic(std::string("Titolo: T\nContesto: IDH_T\n\nprima\n\n- ") + line + "\n", "t.txt");
      ADD_FAILURE() << "no refusal";
    } catch (const HelpError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("t.txt:6: ", 0), 0u) << e.what();
    }
  }
  Guide g = LargeGuide(2);
  g.topics[1].paragraphs[1].lines[0] = "vedere [altrove](IDH_ALTROVE)";
  EXPECT_NE(RefusalOf(g).find("argomento1.txt: il collegamento \"altrove\" porta al contesto \"IDH_ALTROVE\""),
            std::string::npos);
  EXPECT_EQ(zxhelp::ParseRuns("a `b` [c](D) e", "x"),
            (std::vector<zxhelp::Run>{{zxhelp::RunKind::Text, "a ", ""},
                                      {zxhelp::RunKind::Code, "b", ""},
                                      {zxhelp::RunKind::Text, " ", ""},
                                      {zxhelp::RunKind::Jump, "c", "D"},
                                      {zxhelp::RunKind::Text, " e", ""}}));
}

TEST(HelpRefusals, EmptyGuideAndMissingHeaders) {
  Guide empty;
  empty.title = "T";
  empty.baseName = "T";
  EXPECT_FALSE(RefusalOf(empty).empty());
  EXPECT_THROW(zxhelp::ParseTopic("Contesto: A\n\ntesto\n", "a.txt"), HelpError);
  EXPECT_THROW(zxhelp::ParseTopic("Titolo: A\n\ntesto\n", "a.txt"), HelpError);
  EXPECT_THROW(zxhelp::ParseTopic("Titolo: A\nContesto: A\nAutore: io\n\ntesto\n", "a.txt"), HelpError);
}

// Sources and contents file ---------------------------------------------------

TEST(HelpSource, ParagraphKindsAndHeader) {
  const std::string source =
      "\xEF\xBB\xBFTitolo: Perché\r\nContesto: IDH_P\r\nParole chiave:  uno ; due;;tre \r\nCapitolo: Libro\r\n\r\n"
      "# Intestazione\r\nprima riga\r\nseconda riga\r\n\r\n- voce\r\n  continua\r\n- altra\r\n"
      "    a = 1\r\n    b = 2\r\ndopo\r\n";
  const Topic t = zxhelp::ParseTopic(source, "p.txt");
  EXPECT_EQ(t.title, "Perch\xE9");
  EXPECT_EQ(t.context, "IDH_P");
  EXPECT_EQ(t.keywords, (std::vector<std::string>{"uno", "due", "tre"}));
  EXPECT_EQ(t.book, "Libro");
  ASSERT_EQ(t.paragraphs.size(), 6u);
  EXPECT_EQ(t.paragraphs[0].kind, ParagraphKind::Heading);
  EXPECT_EQ(t.paragraphs[0].lines[0], "Intestazione");
  EXPECT_EQ(t.paragraphs[1].kind, ParagraphKind::Body);
  EXPECT_EQ(t.paragraphs[1].lines[0], "prima riga seconda riga");
  EXPECT_EQ(t.paragraphs[2].kind, ParagraphKind::Item);
  EXPECT_EQ(t.paragraphs[2].lines[0], "voce continua");
  EXPECT_EQ(t.paragraphs[3].lines[0], "altra");
  EXPECT_EQ(t.paragraphs[4].kind, ParagraphKind::Example);
  EXPECT_EQ(t.paragraphs[4].lines, (std::vector<std::string>{"a = 1", "b = 2"}));
  EXPECT_EQ(t.paragraphs[5].kind, ParagraphKind::Body);
  EXPECT_EQ(t.paragraphs[5].lines[0], "dopo");
}

TEST(HelpContents, BooksGatherTheirTopicsInOrder) {
  Guide g = LargeGuide(4);
  g.baseName = "X";
  g.title = "T";
  for (int i = 0; i < 4; ++i) {
    g.topics[i].title = std::string(1, static_cast<char>('A' + i));
    g.topics[i].context = "ID_" + g.topics[i].title;
    g.topics[i].paragraphs[1].lines[0] = "testo";
  }
  g.topics[1].book = g.topics[3].book = Cp("Libro è");
  EXPECT_EQ(zxhelp::WriteContentsFile(g),
            ":Base X.hlp\r\n:Title T\r\n1 A=ID_A\r\n1 Libro \xE8\r\n2 B=ID_B\r\n2 D=ID_D\r\n1 C=ID_C\r\n");
}

}  // namespace
