// The game screen with its pause menu on a stand-in game: the menu's
// answers (restart, main menu, back to play), the clock standing still
// while paused, the pause on a lost focus, the lamp of the timed mode and
// the background music.
#include "board/GameScreenGame.h"

#include <gtest/gtest.h>

#include <string>

#include "board/PauseTestSupport.h"
#include "screens/ScreenSupport.h"

namespace qv {
namespace {

// The board of the board tests with a level end that lasts 1000 ms.
std::string BoardWithLevelEnd() {
  std::string board = test::BoardXml();
  board.insert(board.find("</widgetfactories>"),
               test::BoardFactory(
                   "scenario_level_failed",
                   R"(<widget type="ZintaraFlyWidget" name="level_end" visible="no" lifetime="1000"/>)"));
  return board;
}

constexpr const char* kThreeMusics = R"(<musics><music name="music_background0" resourcename="res_bg0"/>)"
                                     R"(<music name="music_background1" resourcename="res_bg1"/>)"
                                     R"(<music name="music_background2" resourcename="res_bg2"/></musics>)";

class GameScreenTest : public test::TPauseTest {
protected:
  void MakeScreens(const std::string& musics = kThreeMusics, bool queries = true) {
    Screen(R"(<gamescreen type="ProbeScreen" name="below"><window/></gamescreen>)");
    screen = Ref<TZintaraGameScreenGame>(
        dynamic_cast<TZintaraGameScreenGame*>(Screen(test::GameXml(BoardWithLevelEnd(), musics)).get()));
    ASSERT_TRUE(screen);
    Screen(test::MiniMenuXml());
    if (queries) {
      Screen(test::QueryXml("GS_QueryRestart"));
      Screen(test::QueryXml("GS_QueryMainMenu"));
    }
    game->ShowScreen("below", nullptr);
  }
  void Play(const std::string& mode) {
    const Ref<TParamCollection> params = MakeParams({{"PlayMode", mode}, {"Level", "1"}});
    ASSERT_TRUE(game->ShowScreen("GS_Game", params.get()));
    board = screen->Board();
    ASSERT_TRUE(board);
    Frames(1);
    ASSERT_TRUE(board->GetLevelManager());
  }
  int TimeLeft() const { return board->Model().Counter(kCounterTimeLeft); }
  IWidget& Lamp() { return *screen->FindWidget("quest_mode/OilLamp_control"); }
  long long LampTime() { return VarToInt(Lamp().GetPropertyValue("OilLampCurrentTime"), -1); }
  // Opens the menu with Escape and lets it drop down.
  void Pause() {
    ASSERT_TRUE(game->Key(WM_KEYDOWN, VK_ESCAPE));
    ASSERT_EQ(game->TopName(), "GS_MiniMenu");
    Frames(5, 50);
  }
  // Clicks the pause menu's visible button n (1-based) and lets it close.
  void Choose(int n) {
    Click({320, 100 + 40 * (n - 1) + 15});
    Frames(5, 50);
  }
  void Yes() { Click({210, 295}); }
  void No() { Click({380, 295}); }

  Ref<TZintaraGameScreenGame> screen;
  TGameBoardControl* board = nullptr;
};

TEST_F(GameScreenTest, TheClockStandsWhilePausedAndARestartPlaysTheSameLevelAgain) {
  MakeScreens();
  Play("classic");
  // 40 s on first play: 40000 x (1.0 + 0.1) on the lamp, which runs with
  // the clock.
  EXPECT_TRUE(Lamp().IsVisible());
  EXPECT_EQ(VarToInt(Lamp().GetPropertyValue("OilLampLevelTime"), 0), 44000);
  Frames(100);
  EXPECT_LT(TimeLeft(), 44000);
  EXPECT_EQ(LampTime(), TimeLeft());

  Pause();
  const int paused = TimeLeft();
  Frames(100);
  EXPECT_EQ(TimeLeft(), paused);

  // Restart, answered no: back to the same play.
  TAbstractLevelManager* first = board->GetLevelManager();
  Choose(2);
  ASSERT_EQ(game->TopName(), "GS_QueryRestart");
  No();
  EXPECT_EQ(game->TopName(), "GS_Game");
  EXPECT_EQ(board->GetLevelManager(), first);
  Frames(10);
  EXPECT_LT(TimeLeft(), paused);

  // Restart, answered yes: the level starts again in the same mode, with
  // the full time.
  Pause();
  Choose(2);
  Yes();
  EXPECT_EQ(game->TopName(), "GS_Game");
  EXPECT_NE(board->GetLevelManager(), first);
  EXPECT_EQ(board->GetPlayMode(), "classic");
  EXPECT_EQ(board->GetLevelNumber(), 1);
  EXPECT_FALSE(board->IsReplay());
  EXPECT_EQ(board->Model().Counter(kCounterAllowance), TimeLeft());
  EXPECT_EQ(LampTime(), TimeLeft());

  // Back to play: nothing else happens.
  Pause();
  Choose(1);
  EXPECT_EQ(game->TopName(), "GS_Game");
}

TEST_F(GameScreenTest, TheMainMenuIsAskedForOrLeftForAtOnceWithoutTheQuery) {
  MakeScreens();
  Play("relax");
  EXPECT_FALSE(Lamp().IsVisible());  // untimed
  Pause();
  Choose(5);
  ASSERT_EQ(game->TopName(), "GS_QueryMainMenu");
  No();
  EXPECT_EQ(game->TopName(), "GS_Game");
  Pause();
  Choose(5);
  Yes();
  EXPECT_EQ(game->TopName(), "below");
}

TEST_F(GameScreenTest, WithoutTheQueriesTheAnswersActAtOnce) {
  MakeScreens(kThreeMusics, false);
  Play("relax");
  TAbstractLevelManager* first = board->GetLevelManager();
  Pause();
  Choose(2);
  EXPECT_EQ(game->TopName(), "GS_Game");
  EXPECT_NE(board->GetLevelManager(), first);
  Pause();
  Choose(5);
  EXPECT_EQ(game->TopName(), "below");
}

TEST_F(GameScreenTest, ALostFocusPausesTimedAndDuelLevelsButNotTheLevelEnd) {
  MakeScreens();
  Play("relax");
  screen->WindowFocusChanged(false);
  EXPECT_EQ(game->TopName(), "GS_Game");  // nothing runs out in relax
  game->CloseScreen(screen.get(), nullptr);

  Play("classic");
  screen->WindowFocusChanged(true);
  EXPECT_EQ(game->TopName(), "GS_Game");
  screen->WindowFocusChanged(false);
  EXPECT_EQ(game->TopName(), "GS_MiniMenu");
  const int paused = TimeLeft();
  Frames(50);
  EXPECT_EQ(TimeLeft(), paused);
  Choose(1);
  EXPECT_EQ(game->TopName(), "GS_Game");

  // During the level end the menu button is hidden: neither Escape nor a
  // lost focus opens the menu.
  dynamic_cast<TBaseLevelManager*>(board->GetLevelManager())->FinishLevel(ELevelStatus::NoMoves);
  screen->WindowFocusChanged(false);
  EXPECT_EQ(game->TopName(), "GS_Game");
  Frames(1);
  EXPECT_FALSE(screen->FindWidget("button_menu")->IsVisible());
  EXPECT_FALSE(game->Key(WM_KEYDOWN, VK_ESCAPE));
  EXPECT_EQ(game->TopName(), "GS_Game");
  // The lost level starts again, and the button is back.
  Frames(120);
  EXPECT_FALSE(board->InLevelEnd());
  EXPECT_TRUE(screen->FindWidget("button_menu")->IsVisible());
  game->CloseScreen(screen.get(), nullptr);

  Play("duel_computer");
  screen->WindowFocusChanged(false);
  EXPECT_EQ(game->TopName(), "GS_MiniMenu");
}

// The duel panel tells the player when to move and when to wait.
TEST_F(GameScreenTest, TheDuelPanelReadsWaitWhileTheComputerMoves) {
  const std::string panel =
      R"(<widget type="group_widget" name="duel_panel" visible="no"><widgets>)"
      R"(<widget type="rect_widget" name="duel_prompt" visible="no"/>)"
      R"(<widget type="rect_widget" name="duel_wait" visible="no"/></widgets></widget>)";
  Screen(R"(<gamescreen type="ProbeScreen" name="below"><window/></gamescreen>)");
  screen = Ref<TZintaraGameScreenGame>(dynamic_cast<TZintaraGameScreenGame*>(
      Screen(test::GameXml(test::BoardXml() + panel, kThreeMusics)).get()));
  ASSERT_TRUE(screen);
  game->ShowScreen("below", nullptr);
  IWidget& prompt = *screen->FindWidget("duel_panel/duel_prompt");
  IWidget& wait = *screen->FindWidget("duel_panel/duel_wait");
  Play("duel_computer");
  EXPECT_TRUE(screen->FindWidget("duel_panel")->IsVisible());
  auto* manager = dynamic_cast<TBaseLevelManager*>(board->GetLevelManager());
  auto PlayerOne = [&] { return board->Model().CurrentPlayer() == kPlayerOne; };
  for (int i = 0; i < 400 && !(manager->GetState() == kStateWaiting && PlayerOne()); ++i) Frames(1);
  ASSERT_TRUE(PlayerOne());
  EXPECT_TRUE(prompt.IsVisible());
  EXPECT_FALSE(wait.IsVisible());
  // The player's move hands the turn to the computer, which waits its
  // thinking time before it swaps.
  const TLinkCellInfo move = board->Driver().Moves()[0];
  board->OnMouseDown(board->CellCentre(move.first), 0, 0);
  board->OnMouseUp(board->CellCentre(move.second), 0, 0);
  for (int i = 0; i < 400 && PlayerOne(); ++i) Frames(1);
  ASSERT_FALSE(PlayerOne());
  EXPECT_TRUE(wait.IsVisible());
  EXPECT_FALSE(prompt.IsVisible());
  for (int i = 0; i < 1000 && !(manager->GetState() == kStateWaiting && PlayerOne()); ++i) Frames(1);
  ASSERT_TRUE(PlayerOne());
  EXPECT_TRUE(prompt.IsVisible());
  EXPECT_FALSE(wait.IsVisible());
}

TEST_F(GameScreenTest, OneOfTheThreeMusicsPlaysWhileTheScreenIsShown) {
  MakeScreens();
  Play("relax");
  ASSERT_EQ(engine->musicPlayed.size(), 1u);
  const std::string music = engine->musicPlayed[0];
  EXPECT_EQ(music, "res_bg" + screen->GetMusicName().substr(16));
  game->CloseScreen(screen.get(), nullptr);
  EXPECT_EQ(engine->musicStopped, (std::vector<std::string>{music}));
}

TEST_F(GameScreenTest, ThePlainBackgroundMusicStandsInForTheThree) {
  MakeScreens(R"(<musics><music name="music_background" resourcename="res_plain"/></musics>)");
  Play("relax");
  EXPECT_EQ(engine->musicPlayed, (std::vector<std::string>{"res_plain"}));
}

}  // namespace
}  // namespace qv
