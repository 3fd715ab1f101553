// The options screen's round of languages.
#include <gtest/gtest.h>

#include "screens/GameScreenOptions.h"

namespace qv {
namespace {

TEST(OptionRounds, TheLanguageGoesFromEnglishThroughEachFileBackToEnglish) {
  const std::vector<std::string> files = {"Bairisch", "Deutsch", "esperanto"};
  std::vector<std::string> round{""};
  for (int i = 0; i < 4; ++i) round.push_back(NextLanguage(round.back(), files));
  EXPECT_EQ(round, (std::vector<std::string>{"", "Bairisch", "Deutsch", "esperanto", ""}));
  // Stored names ignore case; a file gone since goes back to English.
  EXPECT_EQ(NextLanguage("DEUTSCH", files), "esperanto");
  EXPECT_EQ(NextLanguage("Klingon", files), "");
  // Without language files English stays.
  EXPECT_EQ(NextLanguage("", {}), "");
  EXPECT_EQ(NextLanguage("Deutsch", {}), "");
  EXPECT_EQ(NextLanguage("", {"Deutsch"}), "Deutsch");
  EXPECT_EQ(NextLanguage("Deutsch", {"Deutsch"}), "");
}

}  // namespace
}  // namespace qv
