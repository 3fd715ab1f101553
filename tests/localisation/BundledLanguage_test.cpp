// The bundled English texts read through the game's own language tables:
// every entry loads, the run-time variables expand, and every character is
// one the bundled bitmap fonts have (Latin-1).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "localisation/MultiLanguages.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

fs::path BundledLanguageFile() {
  const char* source = std::getenv("QV_SOURCE_DIR");
  const fs::path root =
      source ? fs::path(source) : fs::path(__FILE__).parent_path().parent_path().parent_path();
  return root / "content" / "lang" / "default.lng";
}

// Code points of UTF-8 text; -1 for a broken sequence.
std::vector<int> CodePoints(const std::string& text) {
  std::vector<int> out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (n < 0 || i + n >= text.size() + (n == 0 ? 1 : 0)) return {-1};
    int cp = n == 0 ? c : c & (0x3F >> n);
    for (int k = 1; k <= n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out.push_back(cp);
    i += n + 1;
  }
  return out;
}

TEST(BundledLanguageTest, EveryEntryLoadsAndUsesOnlyFontCharacters) {
  const std::string path = BundledLanguageFile().string();
  const std::string text = test::ReadFile(path);
  ASSERT_FALSE(text.empty()) << path;
  TMultiLanguages languages;
  ASSERT_TRUE(languages.LoadFile(path));
  EXPECT_EQ(languages.GetLanguageId(), "en");

  const std::regex entry("<string name=\"([^\"]+)\"");
  int names = 0;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), entry); it != std::sregex_iterator(); ++it) {
    const std::string name = (*it)[1];
    ++names;
    const std::string* value = languages.FindString(name);
    ASSERT_TRUE(value) << name;
    for (int cp : CodePoints(*value))
      EXPECT_TRUE((cp >= 32 && cp < 127) || (cp >= 160 && cp < 256)) << name << ": character " << cp;
  }
  EXPECT_EQ(languages.StringCount(), names) << "each name once";
  EXPECT_GE(names, 90);
  // The entries the running game already asks for.
  EXPECT_EQ(*languages.FindString("CreateNewUser"), "Create a new player");
  EXPECT_EQ(languages.ExpandText("%thousand_separator%", true), ",");
}

TEST(BundledLanguageTest, RunTimeVariablesExpandInsideTexts) {
  TMultiLanguages languages;
  ASSERT_TRUE(languages.LoadFile(BundledLanguageFile().string()));
  languages.SetTextVariable("level_number", "12");
  languages.SetTextVariable("username", "Ilse");
  languages.SetTextVariable("combo_count", "3");
  EXPECT_EQ(languages.ExpandText("%LevelStart%", true), "Level 12");
  EXPECT_EQ(languages.ExpandText("%Welcome%", true), "Welcome, Ilse!");
  EXPECT_EQ(languages.ExpandText("%Combo%", true), "Combo x3!");
  EXPECT_EQ(languages.ExpandText("%OptionsMusicVolume% / %OptionsSoundVolume%", true),
            "Music volume / Sound volume");
}

}  // namespace
}  // namespace qv
