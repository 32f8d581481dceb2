// The real guide: it builds, every topic is reachable and indexed, and the
// worked examples quote exactly what the calculator gives for their inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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
  ASSERT_GE(guide.topics.size(), 10u);
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

struct Example {
  const char* topic;
  zornavex::PanelOutcome (*calculate)(const zornavex::PanelInputs&, wchar_t);
  zornavex::PanelInputs inputs;
  std::vector<std::wstring> results;  // as the result boxes show them, in writing order
};

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

TEST(RealGuide, WorkedExamplesAreWhatTheProgramShows) {
  using namespace zornavex;
  const Example examples[] = {
      {"02_tempo_programma.txt", CalcolaTempoProgramma, {L"4", L"10", L"3"}, {L"16000"}},
      {"02_tempo_programma.txt", CalcolaTempoProgramma, {L"6", L"1", L"0"}, {L"666,667"}},
      {"03_tempo_tmr0.txt", CalcolaTempoTMR0, {L"4", L"100", L"2"}, {L"200"}},
      {"03_tempo_tmr0.txt", CalcolaTempoTMR0, {L"7", L"100", L"2"}, {L"114,286"}},
      {"04_valore_tmr0.txt", CalcolaValoreTMR0, {L"4", L"100", L"1"}, {L"155", L""}},
      {"04_valore_tmr0.txt", CalcolaValoreTMR0, {L"4", L"1000", L"2"}, {L"0", L"2"}},
      {"04_valore_tmr0.txt", CalcolaValoreTMR0, {L"4", L"-10", L"1"}, {L"265", L""}},
      {"05_tempo_wdt.txt", CalcolaTempoWDT, {L"10", L"3", L"2"}, {L"600", L"300"}},
      {"05_tempo_wdt.txt", CalcolaTempoWDT, {L"7", L"3", L"2"}, {L"857,142857142857", L"428,571428571429"}},
      // "per un TMR0 caricato con 56 scrivete 200": 256 - 56 counts.
      {"06_differenze.txt", CalcolaTempoTMR0, {L"4", L"200", L"1"}, {L"200"}},
  };
  const auto sources = GuideSources();
  for (const Example& e : examples) {
    SCOPED_TRACE(std::string(e.topic) + " " + Narrow(e.inputs.frequency) + "/" + Narrow(e.inputs.first) + "/" +
                 Narrow(e.inputs.second));
    const PanelOutcome out = e.calculate(e.inputs, L',');
    EXPECT_EQ(out.warning, Warning::None);
    EXPECT_EQ(out.fault, Fault::None);
    EXPECT_EQ(out.results, e.results);
    const std::string& text = sources.at(e.topic);
    for (const std::wstring& shown : e.results)
      if (!shown.empty()) {
        EXPECT_NE(text.find(Narrow(shown)), std::string::npos) << Narrow(shown);
      }
  }
}

// What the guide says of faults and number forms, checked against the program.
TEST(RealGuide, StatementsOnFaultsAndNumberFormsHold) {
  using namespace zornavex;
  EXPECT_EQ(CalcolaValoreTMR0({L"4", L"100", L"0"}, L',').fault, Fault::DivisionByZero);
  EXPECT_TRUE(CalcolaValoreTMR0({L"4", L"100", L"0"}, L',').results.empty());
  EXPECT_EQ(CalcolaTempoWDT({L"4", L"1E200", L"1E200"}, L',').fault, Fault::Overflow);
  EXPECT_EQ(CalcolaTempoWDT({L"4", L"tre", L"2"}, L',').fault, Fault::TypeMismatch);
  EXPECT_EQ(FaultText(Fault::DivisionByZero), L"Divisione per zero");
  EXPECT_EQ(FaultText(Fault::Overflow), L"Overflow");
  EXPECT_EQ(FaultText(Fault::TypeMismatch), L"Tipo non corrispondente");
  EXPECT_EQ(NumberToText(1.2e15, L','), L"1,2E+15");
  EXPECT_EQ(RoundHalfEven(2.5, 0), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5, 0), 4.0);
  EXPECT_EQ(CalcolaTempoProgramma({L"4", L"007", L"0"}, L',').results, std::vector<std::wstring>{L"7000"});
  const std::string intro = GuideSources().at("01_introduzione.txt");
  for (const char* quoted : {"1,2E+15", "2,5 diventa 2 e 3,5 diventa 4", "1E3 vale 1000"})
    EXPECT_NE(intro.find(quoted), std::string::npos) << quoted;
  EXPECT_EQ(TextToNumber(L"1E3", L',').value, 1000.0);
}

TEST(RealGuide, QuotesTheProgramsMessagesExactly) {
  const auto sources = GuideSources();
  const std::string messages = sources.at("08_messaggi.txt");
  for (const char* m : {"\"Inserire tutti i campi\"", "\"Il valore inserito è troppo alto\"",
                        "\"Deve essere compreso tra 0 e 255\"", "\"Deve essere compreso tra 0 e 256\"",
                        "\"Tipo non corrispondente\"", "\"Divisione per zero\"", "\"Overflow\""})
    EXPECT_NE(messages.find(m), std::string::npos) << m;
  EXPECT_NE(sources.at("10_installazione.txt").find("C:\\Programmi\\Mardol\\ZORNAVEX\\Help\\ZORNAVEX.hlp"),
            std::string::npos);
}

}  // namespace
