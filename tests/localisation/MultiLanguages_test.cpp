#include "localisation/MultiLanguages.h"

#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

const char kEnglish[] = R"(<?xml version="1.0" encoding="utf-8"?>
<language id="en" name="English">
  <strings>
    <string name="hello">Hello</string>
    <string name="greeting">  %Hello%, %username%!  </string>
    <string name="thousand_separator">,</string>
    <string name="time_separator">:</string>
    <string name="">skipped</string>
    <string name="HELLO">Hi</string>
    <string name="CreateNewUser">New player</string>
  </strings>
</language>)";

class LanguagesTest : public ::testing::Test {
protected:
  void SetUp() override { dir_.Write("en.lng", kEnglish); }
  void TearDown() override { ShutdownLanguages(); }

  TMultiLanguages Loaded() {
    TMultiLanguages l;
    EXPECT_TRUE(l.LoadFile(dir_.File("en.lng")));
    return l;
  }

  test::TempDir dir_;
};

TEST_F(LanguagesTest, LoadingReplacesEntriesCaseInsensitively) {
  TMultiLanguages l = Loaded();
  EXPECT_EQ(l.GetLanguageId(), "en");
  EXPECT_EQ(l.GetLanguageName(), "English");
  EXPECT_EQ(l.StringCount(), 5);  // the empty name is skipped, HELLO replaced hello
  ASSERT_NE(l.FindString("Hello"), nullptr);
  EXPECT_EQ(*l.FindString("Hello"), "Hi");
  EXPECT_FALSE(l.LoadFile(dir_.File("missing.lng")));
  EXPECT_EQ(l.StringCount(), 5);

  // Entries may also sit directly under the root.
  dir_.Write("flat.lng", "<language id='x'><string name='a'>A</string></language>");
  EXPECT_TRUE(l.LoadFile(dir_.File("flat.lng")));
  EXPECT_EQ(l.GetLanguageId(), "x");
  EXPECT_EQ(l.ExpandText("%a%%hello%", true), "AHi");
}

TEST_F(LanguagesTest, Expansion) {
  TMultiLanguages l = Loaded();
  EXPECT_EQ(l.ExpandText("100%% sure", true), "100% sure");
  EXPECT_EQ(l.ExpandText("50% off", true), "50% off");
  EXPECT_EQ(l.ExpandText("a%nothing%b", true), "ab");
  EXPECT_EQ(l.ExpandText("%hello% there", true), "Hi there");
  EXPECT_EQ(l.ExpandText("[%greeting%]", true), "[Hi, !]");
  EXPECT_EQ(l.ExpandText("[%greeting%]", false), "[  Hi, !  ]");
  l.SetTextVariable("username", "Ann");
  l.SetTextVariable("hello", "%not expanded%");
  EXPECT_EQ(l.ExpandText("%greeting%", true), "Hi, Ann!");
  EXPECT_EQ(l.ExpandText("%hello%|%HELLO%", true), "%not expanded%|Hi");  // variables are case-sensitive
  l.SetTextVariable("username", "Bob");
  EXPECT_EQ(l.ExpandText("%username%", true), "Bob");
}

TEST_F(LanguagesTest, SelfReferenceIsCutInsteadOfHanging) {
  TMultiLanguages l;
  l.SetString("loop", "x%loop%");
  l.SetString("ping", "%pong%");
  l.SetString("pong", "%ping%!");
  l.SetString("bomb", "%bomb%%bomb%%bomb%");
  EXPECT_EQ(l.ExpandText("%loop%", true), std::string(TMultiLanguages::kMaxExpandDepth, 'x'));
  EXPECT_EQ(l.ExpandText("%ping%", true), std::string(TMultiLanguages::kMaxExpandDepth / 2, '!'));
  EXPECT_EQ(l.ExpandText("<%bomb%>", true), "<>");
}

TEST_F(LanguagesTest, CutsAreBoundedAndReported) {
  TMultiLanguages l;
  l.SetString("loop", "x%loop%");
  l.SetString("plain", "Hello %name%");
  std::string big = std::string(60, 'x');
  std::string wide;
  for (int i = 0; i < 50; ++i) wide += "\xE2\x82\xAC";  // the euro sign, three bytes
  for (int i = 0; i < 40; ++i) {
    big += "%big%";
    wide += "%wide%";
  }
  l.SetString("big", big);
  l.SetString("wide", wide);
  {
    TDiagnosticsCollector diagnostics;
    EXPECT_EQ(l.ExpandText("%plain%!", true), "Hello!");
    EXPECT_EQ(l.ExpandText("100%% %nothing%", true), "100% ");
    EXPECT_TRUE(diagnostics.Errors().empty());
  }
  {
    // A string naming itself 40 times used to grow to some 16 MB per
    // kilobyte of text; the result now stops at the size cap.
    TDiagnosticsCollector diagnostics;
    const std::string out = l.ExpandText("%big%", true);
    EXPECT_EQ(out.size(), TMultiLanguages::kMaxExpandedSize);
    EXPECT_EQ(out.find_first_not_of('x'), std::string::npos);
    ASSERT_EQ(diagnostics.Errors().size(), 2u);  // the depth cut came first
    EXPECT_EQ(diagnostics.Errors()[1].where, "macro text \"%big%\"");
    EXPECT_EQ(diagnostics.Errors()[1].what, "expansion longer than 65536 bytes; cut there");
    EXPECT_TRUE(diagnostics.Has("string \"big\" nested deeper than 32 levels"));
  }
  {
    // The cut never splits a character: 65536 is not a multiple of 3.
    TDiagnosticsCollector diagnostics;
    const std::string out = l.ExpandText("%wide%", false);
    EXPECT_EQ(out.size(), 65535u);
    EXPECT_EQ(out.substr(out.size() - 3), "\xE2\x82\xAC");
    EXPECT_TRUE(diagnostics.Has("cut there"));
  }
  {
    TDiagnosticsCollector diagnostics;
    EXPECT_EQ(l.ExpandText("%loop%", true), std::string(TMultiLanguages::kMaxExpandDepth, 'x'));
    ASSERT_EQ(diagnostics.Errors().size(), 1u);
    EXPECT_EQ(diagnostics.Errors()[0].what,
              "string \"loop\" nested deeper than 32 levels (it refers to itself?); the deeper part "
              "expands to the empty text");
  }
  {
    // Short strings that branch: the lookup budget ends them first.
    l.SetString("fork", "%fork%%fork%");
    TDiagnosticsCollector diagnostics;
    EXPECT_EQ(l.ExpandText("<%fork%>", true), "<>");
    EXPECT_TRUE(diagnostics.Has("more than 4096 string lookups"));
  }
}

TEST_F(LanguagesTest, UnreadableFilesAndNamelessEntriesAreReported) {
  TDiagnosticsCollector diagnostics;
  TMultiLanguages l;
  EXPECT_TRUE(l.LoadFile(dir_.File("en.lng")));
  ASSERT_EQ(diagnostics.Errors().size(), 1u);  // the entry without a name
  EXPECT_EQ(diagnostics.Errors()[0].what, "string entry 5 has no name and is skipped");
  diagnostics.Clear();
  EXPECT_FALSE(l.LoadFile(dir_.File("missing.lng")));
  EXPECT_TRUE(diagnostics.Has("missing.lng"));
  EXPECT_TRUE(diagnostics.Has("language file not found"));
  diagnostics.Clear();
  for (const char* damaged : {"<language id='x'><string name='a'>A</string>", "not markup at all", ""}) {
    dir_.Write("bad.lng", damaged);
    EXPECT_FALSE(l.LoadFile(dir_.File("bad.lng"))) << damaged;
    EXPECT_TRUE(diagnostics.Has("not a readable storage file")) << damaged;
    diagnostics.Clear();
  }
  EXPECT_EQ(l.GetLanguageId(), "en");  // nothing of the damaged files was taken
  EXPECT_EQ(l.StringCount(), 5);
}

TEST_F(LanguagesTest, Formatting) {
  ASSERT_TRUE(LoadLanguageFromFile(dir_.File("en.lng")));
  EXPECT_EQ(FormatThousands(0), "0");
  EXPECT_EQ(FormatThousands(999), "999");
  EXPECT_EQ(FormatThousands(1000), "1,000");
  EXPECT_EQ(FormatThousands(-1234567), "-1,234,567");
  EXPECT_EQ(FormatThousands(-2147483647 - 1), "-2,147,483,648");
  EXPECT_EQ(FormatTime(65), "1:05");
  EXPECT_EQ(FormatTime(600), "10:00");
  EXPECT_EQ(FormatTime(5), "0:05");
  EXPECT_EQ(FormatTime(0), "0:00");
  // Negative times put one minus in front instead of "0:-5" and "-1:-1".
  EXPECT_EQ(FormatTime(-5), "-0:05");
  EXPECT_EQ(FormatTime(-61), "-1:01");
  EXPECT_EQ(FormatTime(-600), "-10:00");
  EXPECT_EQ(FormatTime(2147483647), "35791394:07");
  EXPECT_EQ(FormatTime(-2147483647 - 1), "-35791394:08");
  // Without the separators the parts are joined.
  dir_.Write("bare.lng", "<language id='b'/>");
  ASSERT_TRUE(LoadLanguageFromFile(dir_.File("bare.lng")));
  EXPECT_EQ(FormatThousands(1234567), "1234567");
  EXPECT_EQ(FormatTime(65), "105");
  EXPECT_EQ(GetLanguageId(), "b");
}

TEST_F(LanguagesTest, StartupLoadsTheDefaultLanguageAndHooksReadText) {
  EXPECT_EQ(ExpandText("%hello%", true), "%hello%");  // no tables yet: text unchanged
  test::TempDir app;
  app.Write("lang/default.lng", kEnglish);
  app.Write("Languages/Deutsch.lng",
            "<language id='de' name='Deutsch'><string name='hello'>Hallo</string></language>");
  test::ScopedCurrentDir cwd(app.Path());
  const std::string oldApp = ApplicationPath();
  SetApplicationPath(app.Path().string());
  StartupLanguages();
  EXPECT_EQ(GetCreateNewUserText(), "New player");
  const auto node = LoadStorageText("<w caption='%hello%!'/>");
  EXPECT_EQ(ReadText(node, "caption"), "Hi!");
  EXPECT_TRUE(LoadLanguage("Deutsch"));
  EXPECT_EQ(GetLanguageId(), "de");
  EXPECT_EQ(ReadText(node, "caption"), "Hallo!");
  EXPECT_EQ(ExpandText("%time_separator%", true), ":");  // the default entries stay underneath
  {
    TDiagnosticsCollector diagnostics;
    EXPECT_TRUE(LoadLanguage("Missing"));  // the default file alone still loads
    EXPECT_TRUE(diagnostics.Has("Missing.lng"));
    diagnostics.Clear();
    EXPECT_TRUE(LoadLanguage(""));  // no per-language file is expected without a name
    for (const auto& error : diagnostics.Errors())
      EXPECT_NE(error.where.find("default.lng"), std::string::npos) << error.where << ": " << error.what;
  }
  ShutdownLanguages();
  EXPECT_EQ(ReadText(node, "caption"), "%hello%!");
  SetApplicationPath(oldApp);
}

TEST_F(LanguagesTest, ALanguageLoadsOverTheDefaultAndListsAmongTheLanguagesFolder) {
  test::TempDir app;
  app.Write("lang/default.lng", kEnglish);
  app.Write("Languages/Deutsch.lng",
            "<language id='de' name='Deutsch'><strings><string name='Hello'>Hallo</string>"
            "<string name='CreateNewUser'>Neuer Spieler</string><string name='extra'>Nur hier</string>"
            "</strings></language>");
  app.Write("Languages/esperanto.LNG", "<language id='eo' name='Esperanto'/>");
  app.Write("Languages/Bairisch.lng", "<language id='bar' name='Boarisch'/>");
  app.Write("Languages/readme.txt", "not a language");
  app.Write("Languages/folder.lng/inside.lng", "<language/>");
  test::ScopedCurrentDir cwd(app.Path());
  const std::string oldApp = ApplicationPath();
  SetApplicationPath(app.Path().string());
  StartupLanguages();
  // Files ending in ".lng" in any case, sorted ignoring case; no folders.
  EXPECT_EQ(ListLanguages(), (std::vector<std::string>{"Bairisch", "Deutsch", "esperanto"}));

  ASSERT_TRUE(LoadLanguage("Deutsch"));
  EXPECT_EQ(GetLanguageName(), "Deutsch");
  EXPECT_EQ(ExpandText("%hello%, %extra%", true), "Hallo, Nur hier");         // replaced and added
  EXPECT_EQ(ExpandText("%greeting%", true), "Hallo, !");                      // kept, over the new entry
  EXPECT_EQ(ExpandText("%thousand_separator%%time_separator%", true), ",:");  // kept
  EXPECT_EQ(GetCreateNewUserText(), "Neuer Spieler");  // the caption follows the language
  // Back to the default alone: the language's own entries are gone.
  ASSERT_TRUE(LoadLanguage(""));
  EXPECT_EQ(GetLanguageName(), "English");
  EXPECT_EQ(ExpandText("%hello%|%extra%", true), "Hi|");
  EXPECT_EQ(GetCreateNewUserText(), "New player");

  SetApplicationPath(app.File("nowhere"));
  EXPECT_TRUE(ListLanguages().empty());
  ShutdownLanguages();
  EXPECT_TRUE(GetLanguageName().empty());
  SetApplicationPath(oldApp);
}

}  // namespace
}  // namespace qv
