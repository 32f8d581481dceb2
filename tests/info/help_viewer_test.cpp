#include "help_viewer_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zornavex::help {
namespace {

const ViewerFile kPlaceholder{true, {L"Windows Winhlp32 Stub"}, 6, 9728};
const ViewerFile kViewer{true, {L"Windows Help"}, 6, 903253};
const ViewerFile kAbsent{false, {}, 0};

TEST(HelpViewerChoice, ThePlaceholderIsKnownByItsDescriptionInAnyLanguageBlock) {
  EXPECT_TRUE(IsPlaceholder(kPlaceholder));
  EXPECT_TRUE(IsPlaceholder({true, {L"Guida di Windows", L"  windows WINHLP32 stub "}}));
  EXPECT_FALSE(IsPlaceholder(kViewer));
  EXPECT_FALSE(IsPlaceholder({true, {}, 0}));  // no version resource: not known as the placeholder
  EXPECT_FALSE(IsPlaceholder({true, {L"Windows Winhlp32 Stub v2"}, 6}));
  // Version 10 and later: Windows 10 and 11 ship only the placeholder, whatever its description's language.
  EXPECT_TRUE(IsPlaceholder({true, {L"Stub di Winhlp32 di Windows"}, 10}));
  EXPECT_FALSE(IsPlaceholder({true, {L"Guida di Windows"}, 6}));  // 8.1's download, also copied onto 10
  // Italian 7 and 8.1: a translated description and version 6; only the size tells.
  EXPECT_TRUE(IsPlaceholder({true, {L"Stub di Winhlp32 di Windows"}, 6, 9728}));
  EXPECT_TRUE(IsPlaceholder({true, {}, 6, kLargestPlaceholder}));
  EXPECT_FALSE(IsPlaceholder({true, {L"Stub di Winhlp32 di Windows"}, 6, kLargestPlaceholder + 1}));
}

TEST(HelpViewerChoice, AViewerIsUsedOnlyWhenThereIsOneAndNoPlaceholder) {
  struct Case {
    std::vector<ViewerFile> files;  // Windows folder, system folder
    bool real;
  };
  const Case cases[] = {
      {{kPlaceholder, kAbsent}, false},  // Windows 10 and 11; Vista to 8.1 before the download
      {{kViewer, kAbsent}, true},        // Windows 7 to 8.1 with Microsoft's download
      {{kAbsent, kViewer}, true},        // Wine
      {{kViewer, kPlaceholder}, false},  // the placeholder could still be the one started
      {{kAbsent, kAbsent}, false},
      {{}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(HasRealViewer(c.files), c.real);
}

TEST(HelpIndex, TheListFollowsTheTypedStart) {
  const std::vector<std::wstring> words = {L"calcolo", L"Chiudi", L"\u00C8sempio", L"esecuzione", L"F1", L"prescaler",
                                           L"TMR0"};
  EXPECT_EQ(KeywordToFollow(words, L""), 0u);
  EXPECT_EQ(KeywordToFollow(words, L"ch"), 1u);
  EXPECT_EQ(KeywordToFollow(words, L"CHIU"), 1u);
  EXPECT_EQ(KeywordToFollow(words, L"es"), 2u);       // accent and case ignored: "Èsempio"
  EXPECT_EQ(KeywordToFollow(words, L"\u00E9sec"), 3u);
  EXPECT_EQ(KeywordToFollow(words, L"d"), 2u);        // nothing starts so: the next one
  EXPECT_EQ(KeywordToFollow(words, L"zz"), 6u);       // past the end: the last
  EXPECT_EQ(KeywordToFollow({}, L"a"), std::wstring::npos);
}

}  // namespace
}  // namespace zornavex::help
