#include "help_sequence.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace zornavex::help {
namespace {

// Records the commands sent and answers from a fixed list of results.
struct Viewer {
  explicit Viewer(std::vector<bool> a) : answers(std::move(a)) {}
  std::vector<bool> answers;
  std::vector<unsigned> sent;
  bool operator()(unsigned c) {
    sent.push_back(c);
    return sent.size() <= answers.size() && answers[sent.size() - 1];
  }
};

TEST(HelpFallback, TabAcceptedSendsNothingElse) {
  Viewer v({true});
  EXPECT_TRUE(SendWithFallback(kHelpTab, std::ref(v)));
  EXPECT_EQ(v.sent, (std::vector<unsigned>{15}));
}

TEST(HelpFallback, RefusedTabFallsBackToFinderThenContents) {
  Viewer finder({false, true});
  EXPECT_TRUE(SendWithFallback(kHelpTab, std::ref(finder)));
  EXPECT_EQ(finder.sent, (std::vector<unsigned>{15, 11}));

  Viewer contents({false, false, true});
  EXPECT_TRUE(SendWithFallback(kHelpTab, std::ref(contents)));
  EXPECT_EQ(contents.sent, (std::vector<unsigned>{15, 11, 3}));
}

TEST(HelpFallback, AllRefusedReportsFailureAfterThreeTries) {
  Viewer v({false, false, false, true});
  EXPECT_FALSE(SendWithFallback(kHelpTab, std::ref(v)));
  EXPECT_EQ(v.sent.size(), 3u);
}

TEST(HelpFallback, OtherCommandsAreNotReplaced) {
  Viewer context({false});
  EXPECT_FALSE(SendWithFallback(1u /*HELP_CONTEXT*/, std::ref(context)));
  EXPECT_EQ(context.sent, (std::vector<unsigned>{1}));

  Viewer finder({false, false});
  EXPECT_FALSE(SendWithFallback(kHelpFinder, std::ref(finder)));
  EXPECT_EQ(finder.sent, (std::vector<unsigned>{11, 3}));
}

}  // namespace
}  // namespace zornavex::help
