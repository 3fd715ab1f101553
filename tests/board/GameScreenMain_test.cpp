// The main screen on a stand-in game: the player's progress in the mode
// buttons' texts, the duel closed until "LevelMax" is above 3, and the
// rules that open over the map on entering a mode.
#include "board/GameScreenMain.h"

#include <gtest/gtest.h>

#include <string>

#include "board/MapTestSupport.h"
#include "localisation/MultiLanguages.h"
#include "support/TestSupport.h"
#include "widgets/TextWidget.h"

namespace qv {
namespace {

std::string ModeButton(const std::string& name, int y) {
  return "<widget type='ButtonControl' name='" + name +
         "' visible='yes' mousestop='yes' enabled='yes' anchor_left='10' anchor_top='" + std::to_string(y) +
         "' width='200' height='40'><widgets><widget type='text_widget' name='info' visible='yes' "
         "anchor_left='0' anchor_top='20' width='200' height='20'/></widgets></widget>";
}

class MainScreenTest : public test::TMapTest {
protected:
  void SetUp() override {
    TMapTest::SetUp();
    lang.Write("en.lng",
               "<language id='en' name='English'><strings><string name='thousand_separator'>,</string>"
               "<string name='welcome'>Hello, %username%!</string>"
               "<string name='relax_text_current_level'>L%pattern_level% R%pattern_difficulty% "
               "S%pattern_score%</string>"
               "<string name='classic_text_current_level'>classic %pattern_level%</string>"
               "<string name='duel_text_current_level'>duel %pattern_level%/%pattern_difficulty%</string>"
               "<string name='duel_mode_not_available'>closed</string></strings></language>");
    ASSERT_TRUE(LoadLanguageFromFile(lang.File("en.lng")));
    main = Query<TZintaraGameScreenMain>(
        Screen("<gamescreen type='ZintaraGameScreenMain' name='GS_Main'><window><widgets>"
               "<widget type='text_widget' name='welcome' visible='yes' anchor_left='0' anchor_top='0' "
               "width='200' height='20'/>" +
               ModeButton("button_relax", 100) + ModeButton("button_classic", 150) +
               ModeButton("button_duel", 200) + "</widgets></window></gamescreen>"));
    for (const char* name : {"GS_Map", "GS_HowToPlay"}) Screen(test::ProbeXml(name));
  }
  void TearDown() override {
    ShutdownLanguages();
    TMapTest::TearDown();
  }
  std::string Text(const std::string& path) {
    const Ref<TTextWidget> text = Query<TTextWidget>(main->FindWidget(path));
    return text ? text->GetText() : "(none)";
  }
  bool Enabled(const std::string& path) { return main->FindWidget(path)->IsEnabled(); }
  // Closes the screens above the main screen.
  void BackToMain() {
    while (game->stack.size() > 1) game->CloseScreen(game->stack.back().get(), nullptr);
  }

  test::TempDir lang;
  Ref<TZintaraGameScreenMain> main;
};

TEST_F(MainScreenTest, TheButtonsShowEachModesProgressAndTheDuelOpensAfterLevel3) {
  game->Profile().SetParamValue("relaxLevel", "12");
  game->Profile().SetParamValue("relaxDifficulty", "2");
  game->Profile().SetParamValue("relaxScore", "1234567");
  game->Profile().SetParamValue("duel_computerLevel", "5");
  game->Profile().SetParamValue("LevelMax", "3");
  game->ShowScreen("GS_Main", nullptr);
  EXPECT_EQ(Text("welcome"), "Hello, Anna!");
  EXPECT_EQ(Text("button_relax/info"), "L12 R2 S1,234,567");
  // A mode never played: level 1.
  EXPECT_EQ(Text("button_classic/info"), "classic 1");
  EXPECT_FALSE(Enabled("button_duel"));
  EXPECT_EQ(Text("button_duel/info"), "closed");
  // A press on the closed duel opens nothing.
  Click({20, 210});
  EXPECT_EQ(game->TakeShown(), "show GS_Main");
  EXPECT_EQ(game->ProfileText("current_play_mode"), "-");

  // Level 4 reached somewhere: back from the map, the duel is open.
  Click({20, 110});
  game->Profile().SetParamValue("LevelMax", "4");
  BackToMain();
  EXPECT_TRUE(Enabled("button_duel"));
  EXPECT_EQ(Text("button_duel/info"), "duel 5/1");
  game->TakeShown();
  Click({20, 210});
  EXPECT_EQ(game->ProfileText("current_play_mode"), "duel_computer");
  EXPECT_EQ(game->TakeShown(),
            "show GS_Map PlayMode=duel_computer|show GS_HowToPlay PlayMode=duel_computer first_run=yes");
}

TEST_F(MainScreenTest, ANewLanguageRewritesTheTextsBeforeTheNextPicture) {
  game->Profile().SetParamValue("relaxLevel", "7");
  game->ShowScreen("GS_Main", nullptr);
  game->ShowScreen("GS_Map", nullptr);
  EXPECT_EQ(Text("button_relax/info"), "L7 R1 S0");
  lang.Write("de.lng",
             "<language id='de' name='Deutsch'><strings><string name='welcome'>Hallo, %username%!</string>"
             "<string name='relax_text_current_level'>Stufe %pattern_level%</string></strings></language>");
  ASSERT_TRUE(LoadLanguageFromFile(lang.File("de.lng")));
  // Still under the map, which has the time: the main screen catches up
  // in the frame's dirty pass.
  Frames(1);
  EXPECT_EQ(Text("welcome"), "Hallo, Anna!");
  EXPECT_EQ(Text("button_relax/info"), "Stufe 7");
}

TEST_F(MainScreenTest, TheRulesOpenOnEnteringAModeUntilThePlayerTurnsThemOff) {
  game->ShowScreen("GS_Main", nullptr);
  game->TakeShown();
  Click({20, 110});
  EXPECT_EQ(game->ProfileText("show_how_to_play"), "yes");
  EXPECT_EQ(game->ProfileText("show_how_to_playduel_computer"), "-");
  EXPECT_EQ(game->TakeShown(), "show GS_Map PlayMode=relax|show GS_HowToPlay PlayMode=relax first_run=yes");
  // Back from the rules to the main screen (the map stays): no second
  // showing for the next mode chosen.
  game->CloseScreen(game->stack.back().get(), nullptr);
  game->CloseScreen(game->stack.back().get(), nullptr);
  EXPECT_EQ(game->TopName(), "GS_Main");
  // Leaving the map is coming back: the rules again, until "no".
  Click({20, 160});
  EXPECT_EQ(game->TakeShown(),
            "show GS_Map PlayMode=classic|show GS_HowToPlay PlayMode=classic first_run=yes");
  BackToMain();
  game->Profile().SetParamValue("show_how_to_play", "no");
  Click({20, 110});
  EXPECT_EQ(game->TakeShown(), "show GS_Map PlayMode=relax");
  EXPECT_EQ(game->ProfileText("show_how_to_play"), "no");
}

}  // namespace
}  // namespace qv
