// The bundled English texts read through the game's own language tables:
// every entry loads, the run-time variables expand, and every character is
// one the bundled bitmap fonts have (Latin-1); the German file over them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "core/Folders.h"
#include "localisation/MultiLanguages.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

fs::path ContentFolder() {
  const char* source = std::getenv("QV_SOURCE_DIR");
  const fs::path root =
      source ? fs::path(source) : fs::path(__FILE__).parent_path().parent_path().parent_path();
  return root / "content";
}

fs::path BundledLanguageFile() {
  return ContentFolder() / "lang" / "default.lng";
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

TEST(BundledLanguageTest, GermanReplacesEveryEnglishEntryWithFontCharactersOnly) {
  TMultiLanguages english;
  ASSERT_TRUE(english.LoadFile(BundledLanguageFile().string()));
  TMultiLanguages german;
  ASSERT_TRUE(german.LoadFile((ContentFolder() / "Languages" / "Deutsch.lng").string()));
  EXPECT_EQ(german.GetLanguageId(), "de");
  EXPECT_EQ(german.GetLanguageName(), "Deutsch");
  EXPECT_EQ(german.StringCount(), english.StringCount()) << "no entry the English file lacks";
  const std::regex macro("%([A-Za-z_0-9]+)%");
  const auto macros = [&](const std::string& text) {
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), macro); it != std::sregex_iterator(); ++it)
      out.push_back((*it)[1]);
    std::sort(out.begin(), out.end());
    return out;
  };
  const std::string text = test::ReadFile(BundledLanguageFile().string());
  const std::regex entry("<string name=\"([^\"]+)\"");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), entry); it != std::sregex_iterator(); ++it) {
    const std::string name = (*it)[1];
    const std::string* translated = german.FindString(name);
    ASSERT_TRUE(translated) << name;
    EXPECT_EQ(macros(*translated), macros(*english.FindString(name))) << name;
    for (int cp : CodePoints(*translated))
      EXPECT_TRUE((cp >= 32 && cp < 127) || (cp >= 160 && cp < 256)) << name << ": character " << cp;
  }
}

TEST(BundledLanguageTest, GermanNumbersAndTextsOverTheDefault) {
  test::TempDir app;
  app.Write("lang/default.lng", test::ReadFile(BundledLanguageFile().string()));
  app.Write("Languages/Deutsch.lng",
            test::ReadFile((ContentFolder() / "Languages" / "Deutsch.lng").string()));
  test::ScopedCurrentDir cwd(app.Path());
  const std::string oldApp = ApplicationPath();
  SetApplicationPath(app.Path().string());
  StartupLanguages();
  EXPECT_EQ(ListLanguages(), std::vector<std::string>{"Deutsch"});
  ASSERT_TRUE(LoadLanguage("Deutsch"));
  SetTextVariable("username", "Ilse");
  EXPECT_EQ(ExpandText("%Welcome%"), "Willkommen, Ilse!");
  EXPECT_EQ(FormatThousands(-1234567), "-1.234.567");
  EXPECT_EQ(FormatTime(65), "1:05");
  EXPECT_EQ(GetCreateNewUserText(), "Neuen Spieler anlegen");
  ShutdownLanguages();
  SetApplicationPath(oldApp);
}

}  // namespace
}  // namespace qv
