// The real guide: it builds, every topic is reachable and indexed, and the
// worked examples quote exactly what the calculator gives for their inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "calculations.h"
#include "hlp_guide.h"
#include "hlp_reader.h"
#include "hlp_writer.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::map<std::string, std::string> GuideSources() {
  std::map<std::string, std::string> sources;  // sorted by name: contents order
  for (const auto& entry : fs::directory_iterator(fs::path(ZX_HELP_GUIDE_DIR)))
    if (entry.path().extension() == ".txt") sources[entry.path().filename().string()] = ReadFile(entry.path());
  return sources;
}

zxhelp::Guide RealGuide() {
  zxhelp::Guide guide;
  guide.title = "Guida di ZORNAVEX";
  guide.baseName = "ZORNAVEX";
  for (const auto& [name, text] : GuideSources()) guide.topics.push_back(zxhelp::ParseTopic(text, name));
  return guide;
}

TEST(RealGuide, BuildsAndEveryTopicIsReachableAndIndexed) {
  const zxhelp::Guide guide = RealGuide();
  ASSERT_EQ(guide.topics.size(), 12u);
  const hlptest::HelpReader reader(zxhelp::WriteHelpFile(guide));
  EXPECT_GE(reader.TopicBlocks(), 3u);
  EXPECT_EQ(reader.ContentsOffset(), reader.OffsetOfContext("IDH_INTRODUZIONE"));
  const auto keywords = reader.Keywords();
  for (const zxhelp::Topic& topic : guide.topics) {
    SCOPED_TRACE(topic.source);
    const auto offset = reader.OffsetOfContext(topic.context);
    ASSERT_TRUE(offset.has_value());
    EXPECT_EQ(reader.TopicAt(*offset).title, topic.title);
    ASSERT_FALSE(topic.keywords.empty());
    for (const std::string& word : topic.keywords) {
      const auto offsets = reader.OffsetsOfKeyword(word);
      EXPECT_NE(std::find(offsets.begin(), offsets.end(), *offset), offsets.end()) << word;
    }
  }
}

// Every worked example of the guide: the panel, its inputs, and the words
// with which the guide quotes the result boxes; the quote must stand in the
// topic as it is, and the results, in writing order, must be what the
// calculator gives.
struct Example {
  const char* topic;
  zornavex::PanelOutcome (*calculate)(const zornavex::PanelInputs&, wchar_t);
  zornavex::PanelInputs inputs;
  std::vector<std::wstring> results;
  const char* quote;  // UTF-8, as in the source
};

std::string Narrow(const std::wstring& s) {
  std::string out;
  for (const wchar_t c : s) out += static_cast<char>(c);
  return out;
}

const std::vector<Example>& Examples() {
  using namespace zornavex;
  static const std::vector<Example> examples = {
      {"03_tempo_programma.txt", CalcolaTempoProgramma, {L"4", L"10", L"3"}, {L"16000"}, "\"Tempo di programma\" mostra 16000"},
      {"03_tempo_programma.txt", CalcolaTempoProgramma, {L"4", L"2", L"1"}, {L"4000"}, "ZORNAVEX mostra 4000"},
      {"03_tempo_programma.txt", CalcolaTempoProgramma, {L"6", L"1", L"0"}, {L"666,667"}, "ZORNAVEX mostra 666,667"},
      {"04_tempo_tmr0.txt", CalcolaTempoTMR0, {L"4", L"156", L"2"}, {L"312"}, "\"Tempo del TMR0\" mostra 312"},
      {"04_tempo_tmr0.txt", CalcolaTempoTMR0, {L"4", L"100", L"2"}, {L"200"}, "ZORNAVEX mostrerebbe 200"},
      {"04_tempo_tmr0.txt", CalcolaTempoTMR0, {L"4", L"2", L"256"}, {L"512"}, "ZORNAVEX mostra 512"},
      {"04_tempo_tmr0.txt", CalcolaTempoTMR0, {L"7", L"100", L"2"}, {L"114,286"}, "ZORNAVEX mostra 114,286"},
      {"05_valore_tmr0.txt", CalcolaValoreTMR0, {L"4", L"100", L"1"}, {L"155", L""}, "ZORNAVEX mostra 155 e lascia vuoto"},
      {"05_valore_tmr0.txt", CalcolaValoreTMR0, {L"4", L"1000", L"2"}, {L"0", L"2"}, "ZORNAVEX mostra 0 X 2"},
      {"05_valore_tmr0.txt", CalcolaValoreTMR0, {L"4", L"1000", L"4"}, {L"5", L""}, "ZORNAVEX mostra 5 e lascia vuoto"},
      {"05_valore_tmr0.txt", CalcolaValoreTMR0, {L"4", L"-10", L"1"}, {L"265", L""}, "-10 dà 265"},
      {"06_tempo_wdt.txt", CalcolaTempoWDT, {L"4", L"3", L"1"}, {L"750", L"750"}, "mostrano 750 e 750"},
      {"06_tempo_wdt.txt", CalcolaTempoProgramma, {L"4", L"2", L"1"}, {L"4000"}, "Un passaggio reale dura 4000 ns"},
      {"06_tempo_wdt.txt", CalcolaTempoWDT, {L"10", L"3", L"2"}, {L"600", L"300"},
       "\"Tempo totale\" mostra 600 e \"Tempo di ciclo\" mostra 300"},
      {"06_tempo_wdt.txt", CalcolaTempoWDT, {L"7", L"3", L"2"}, {L"857,142857142857", L"428,571428571429"},
       "ZORNAVEX mostra 857,142857142857 e 428,571428571429"},
      {"07_differenze.txt", CalcolaTempoTMR0, {L"4", L"200", L"1"}, {L"200"}, "caricato con 56 scrivete 200"},
      {"08_firmware.txt", CalcolaValoreTMR0, {L"4", L"100", L"1"}, {L"155", L""}, "mostra 155: caricate 156"},
      {"08_firmware.txt", CalcolaTempoProgramma, {L"4", L"501", L"250"}, {L"1001000"}, "ZORNAVEX mostra 1001000"},
  };
  return examples;
}

TEST(RealGuide, WorkedExamplesAreWhatTheProgramShows) {
  using namespace zornavex;
  const auto sources = GuideSources();
  for (const Example& e : Examples()) {
    SCOPED_TRACE(std::string(e.topic) + " " + Narrow(e.inputs.frequency) + "/" + Narrow(e.inputs.first) + "/" +
                 Narrow(e.inputs.second));
    const PanelOutcome out = e.calculate(e.inputs, L',');
    EXPECT_EQ(out.warning, Warning::None);
    EXPECT_EQ(out.fault, Fault::None);
    EXPECT_EQ(out.results, e.results);
    const std::string quote = e.quote;
    EXPECT_NE(sources.at(e.topic).find(quote), std::string::npos) << quote;
    for (const std::wstring& shown : e.results)
      if (!shown.empty()) {
        EXPECT_NE(quote.find(Narrow(shown)), std::string::npos) << "the quote names " << Narrow(shown);
      }
  }
}

// A result the guide quotes ("mostra 312", "mostrano 750 e 750") is one of
// the examples above: a new example without its row fails here.
TEST(RealGuide, EveryQuotedResultHasItsExample) {
  // A number, then "X" and the multiplier or "e" and a second number; not
  // a formula ("mostra 255 - N") nor the rule "mostra 0 e il moltiplicatore".
  const std::string number = "-?[0-9]+(?:,[0-9]+)?";
  const std::regex quoted("mostr\\w* " + number + "(?![0-9]| -| e [^-0-9])(?: X [0-9]+| e " + number + ")?");
  std::size_t found = 0;
  for (const auto& [name, text] : GuideSources()) {
    for (auto it = std::sregex_iterator(text.begin(), text.end(), quoted); it != std::sregex_iterator(); ++it) {
      const std::string phrase = (*it)[0];
      SCOPED_TRACE(name + ": " + phrase);
      ++found;
      const bool covered = std::any_of(Examples().begin(), Examples().end(), [&](const Example& e) {
        return name == e.topic && std::string(e.quote).find(phrase) != std::string::npos;
      });
      EXPECT_TRUE(covered);
    }
  }
  EXPECT_GE(found, 12u);
}

// Every jump of the guide leads to a topic of the written file, and every
// panel topic leads to the summary of the differences.
TEST(RealGuide, JumpsLeadToTopicsAndThePanelsToTheDifferences) {
  const zxhelp::Guide guide = RealGuide();
  const hlptest::HelpReader reader(zxhelp::WriteHelpFile(guide));
  const std::int32_t differences = hlptest::Hash("IDH_DIFFERENZE");
  std::size_t jumps = 0;
  for (const zxhelp::Topic& topic : guide.topics) {
    SCOPED_TRACE(topic.source);
    bool toDifferences = false;
    for (const hlptest::ReadParagraph& p : reader.TopicAt(*reader.OffsetOfContext(topic.context)).paragraphs)
      for (const hlptest::ReadJump& j : p.jumps) {
        ++jumps;
        toDifferences |= j.target == differences;
        const auto target = std::find_if(guide.topics.begin(), guide.topics.end(),
                                         [&](const zxhelp::Topic& t) { return hlptest::Hash(t.context) == j.target; });
        EXPECT_NE(target, guide.topics.end()) << j.text;
      }
    for (const char* panel : {"IDH_TEMPO_TMR0", "IDH_VALORE_TMR0", "IDH_CALCOLO_WDT"})
      if (topic.context == panel) {
        EXPECT_TRUE(toDifferences) << panel;
      }
  }
  EXPECT_GE(jumps, 20u);
}

// What the guide says of faults and number forms, checked against the program.
TEST(RealGuide, StatementsOnFaultsAndNumberFormsHold) {
  using namespace zornavex;
  EXPECT_EQ(CalcolaValoreTMR0({L"4", L"100", L"0"}, L',').fault, Fault::DivisionByZero);
  EXPECT_TRUE(CalcolaValoreTMR0({L"4", L"100", L"0"}, L',').results.empty());
  EXPECT_EQ(CalcolaValoreTMR0({L"4", L"0", L"0"}, L',').fault, Fault::Overflow);        // 0 / 0
  EXPECT_EQ(CalcolaValoreTMR0({L"4", L"0.5", L"1"}, L',').fault, Fault::TypeMismatch);  // a point, not a comma
  EXPECT_EQ(CalcolaTempoWDT({L"4", L"0.5", L"1"}, L',').fault, Fault::TypeMismatch);
  EXPECT_EQ(CalcolaTempoWDT({L"4", L"1E200", L"1E200"}, L',').fault, Fault::Overflow);
  EXPECT_EQ(CalcolaTempoWDT({L"4", L"tre", L"2"}, L',').fault, Fault::TypeMismatch);
  EXPECT_EQ(CalcolaTempoTMR0({L"4", L"256", L"2"}, L',').warning, Warning::TMR0Alto);  // why V = 0 is swapped
  EXPECT_EQ(FaultText(Fault::DivisionByZero), L"Divisione per zero");
  EXPECT_EQ(FaultText(Fault::Overflow), L"Overflow");
  EXPECT_EQ(FaultText(Fault::TypeMismatch), L"Tipo non corrispondente");
  EXPECT_EQ(NumberToText(1.2e15, L','), L"1,2E+15");
  EXPECT_EQ(RoundHalfEven(2.5, 0), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5, 0), 4.0);
  EXPECT_EQ(CalcolaTempoProgramma({L"4", L"007", L"0"}, L',').results, std::vector<std::wstring>{L"7000"});
  EXPECT_EQ(4 / 3.2768, 1.220703125);
  const auto sources = GuideSources();
  const std::pair<const char*, const char*> quoted[] = {
      {"01_introduzione.txt", "1,2E+15"},
      {"01_introduzione.txt", "2,5 diventa 2 e 3,5 diventa 4"},
      {"01_introduzione.txt", "1E3 vale 1000"},
      {"02_come_si_usa.txt", "0.5 dà il messaggio \"Tipo non corrispondente\""},
      {"02_come_si_usa.txt", "4 ÷ 3,2768 = 1,220703125"},
      {"05_valore_tmr0.txt", "temporizzazione 0 il calcolo è 0 ÷ 0 e il messaggio è \"Overflow\""},
      {"10_messaggi.txt", "prescaler 0 e temporizzazione 0 insieme"},
  };
  for (const auto& [topic, text] : quoted) EXPECT_NE(sources.at(topic).find(text), std::string::npos) << text;
  EXPECT_EQ(TextToNumber(L"1E3", L',').value, 1000.0);
}

TEST(RealGuide, QuotesTheProgramsMessagesExactly) {
  const auto sources = GuideSources();
  const std::string messages = sources.at("10_messaggi.txt");
  for (const char* m : {"\"Inserire tutti i campi\"", "\"Il valore inserito è troppo alto\"",
                        "\"Deve essere compreso tra 0 e 255\"", "\"Deve essere compreso tra 0 e 256\"",
                        "\"Tipo non corrispondente\"", "\"Divisione per zero\"", "\"Overflow\""})
    EXPECT_NE(messages.find(m), std::string::npos) << m;
  EXPECT_NE(sources.at("12_installazione.txt").find("C:\\Programmi\\Mardol\\ZORNAVEX\\Help\\ZORNAVEX.hlp"),
            std::string::npos);
}

}  // namespace
