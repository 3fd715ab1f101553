// The rules screen: its pages and their demonstration boards, the check box
// that keeps the "show again" value of the mode, and its closing buttons.
#include <gtest/gtest.h>

#include <string>

#include "board/BoardRegistration.h"
#include "board/GameBoardControl.h"
#include "board/GameScreenHowToPlay.h"
#include "controls/CheckBoxControl.h"
#include "controls/ControlsTypes.h"
#include "core/Diagnostics.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/IClickable.h"
#include "screens/ScreenSupport.h"
#include "screens/ScreenTestSupport.h"

namespace qv {
namespace {

// The stand-in game with a current player "Anna".
class TPlayerGame : public test::TStackGame {
public:
  explicit TPlayerGame(IInterface* engine) : TStackGame(engine) {
    profiles->Initialize();
    profiles->AddProfile("Anna");
    profiles->SetCurrentProfile("Anna");
  }
  IUserProfileCollection* GetUserProfiles() override { return profiles.get(); }
  IParamCollection& Profile() { return profiles->GetCurrentProfile()->GetParams(); }
  Ref<TUserProfileCollection> profiles = MakeRef<TUserProfileCollection>();

protected:
  ~TPlayerGame() override = default;
};

std::string Board(int n) {
  return "<widget type='GameBoardControl' name='howtoplay_gameboard" + std::to_string(n) +
         "' visible='yes' enabled='yes' width='640' height='480'><widgets>"
         "<widget type='group_widget' name='mat_group' visible='yes'/>"
         "<widget type='group_widget' name='scenaries_group' visible='yes'/></widgets></widget>";
}

std::string Button(const std::string& name) {
  return "<widget type='ButtonControl' name='" + name +
         "' visible='yes' enabled='yes' mousestop='yes' width='40' height='20'/>";
}

// 3 x 3 with one cell that waits for the first colour.
std::string Level(const std::string& name) {
  return "<level name='" + name +
         "' Flowercolors='11,22,33,44' shift_x='300' shift_y='100' cols='3' rows='3' Celltype_default='1' "
         "Flowercolor_default='-1' Cellcolor_default='-1'><cells_def><cell_def col='1' row='1' "
         "Cellcolor='0'/>"
         "</cells_def></level>";
}

std::string RulesScreen(const std::string& demolevels) {
  return "<gamescreen type='ZintaraGameScreenHowToPlay' name='GS_HowToPlay'><window><widgets>"
         "<widget type='group_widget' name='page1' visible='yes'/>"
         "<widget type='group_widget' name='page2' visible='yes'/>" +
         Board(1) + Board(2) + Button("button_htp1") + Button("button_htp2") + Button("button_close") +
         Button("button_start") +
         "<widget type='CheckBoxControl' name='checkbox_showagain' visible='yes' enabled='yes' "
         "mousestop='yes' "
         "width='20' height='20'/></widgets></window>" +
         demolevels + "</gamescreen>";
}

const std::string kDemoLevels = "<demolevels><demolevel board='howtoplay_gameboard1' number='90'>" +
                                Level("swap") +
                                "</demolevel><demolevel board='howtoplay_gameboard2' number='91'>" +
                                Level("locks") + "</demolevel></demolevels>";

class HowToPlay : public test::TScreenTest {
protected:
  void SetUp() override {
    game = world;
    TScreenTest::SetUp();
    RegisterControlsTypes();
    RegisterBoardTypes();
  }
  TZintaraGameScreenHowToPlay& Show(const std::string& xml = RulesScreen(kDemoLevels),
                                    const Ref<TParamCollection>& params = nullptr) {
    game->Add(CreateFromNodeAs<TGameScreen>(LoadStorageText(xml)));
    EXPECT_TRUE(game->ShowScreen("GS_HowToPlay", params.get()));
    return *dynamic_cast<TZintaraGameScreenHowToPlay*>(game->stack.back().get());
  }
  TGameBoardControl& BoardOf(TZintaraGameScreenHowToPlay& screen, int n) {
    return *dynamic_cast<TGameBoardControl*>(
        screen.FindWidget("howtoplay_gameboard" + std::to_string(n)).get());
  }
  void Click(TZintaraGameScreenHowToPlay& screen, const std::string& name) {
    ASSERT_TRUE(QueryPtr<IClickable>(screen.FindWidget(name).get())->Click()) << name;
  }
  TCheckBoxControl& Box(TZintaraGameScreenHowToPlay& screen) {
    return *dynamic_cast<TCheckBoxControl*>(screen.FindWidget("checkbox_showagain").get());
  }

  Ref<TPlayerGame> world = MakeRef<TPlayerGame>(engine.get());
};

TEST_F(HowToPlay, EachPageShowsItsBoardPlayingItsLevelInTheTutorialMode) {
  TZintaraGameScreenHowToPlay& screen = Show();
  EXPECT_EQ(screen.GetPage(), 1);
  EXPECT_TRUE(screen.FindWidget("page1")->IsVisible());
  EXPECT_FALSE(screen.FindWidget("page2")->IsVisible());
  for (int n : {1, 2}) {
    EXPECT_EQ(BoardOf(screen, n).GetLevelNumber(), 89 + n);
    EXPECT_EQ(BoardOf(screen, n).GetPlayMode(), "how_to_play");
    EXPECT_EQ(BoardOf(screen, n).GetLevelManager() != nullptr, true);
  }
  EXPECT_TRUE(BoardOf(screen, 1).IsVisible());
  EXPECT_FALSE(BoardOf(screen, 2).IsVisible());
  Click(screen, "button_htp2");
  EXPECT_EQ(screen.GetPage(), 2);
  EXPECT_FALSE(screen.FindWidget("page1")->IsVisible());
  EXPECT_TRUE(screen.FindWidget("page2")->IsVisible());
  EXPECT_FALSE(BoardOf(screen, 1).IsVisible());
  EXPECT_TRUE(BoardOf(screen, 2).IsVisible());
  // Page numbers beyond the pages stay at the last.
  screen.ShowPage(7);
  EXPECT_EQ(screen.GetPage(), 2);
}

TEST_F(HowToPlay, TheCheckBoxKeepsTheModesShowAgainValue) {
  world->Profile().SetParamValue("show_how_to_playduel_computer", std::string("no"));
  TZintaraGameScreenHowToPlay& duel =
      Show(RulesScreen(kDemoLevels), MakeParams({{"PlayMode", "duel_computer"}}));
  EXPECT_EQ(duel.ShowAgainValueName(), "show_how_to_playduel_computer");
  EXPECT_FALSE(Box(duel).IsChecked());
  Click(duel, "checkbox_showagain");
  EXPECT_EQ(VarToString(world->Profile().GetParamValueDef("show_how_to_playduel_computer", {})), "yes");
  EXPECT_TRUE(world->Profile().GetParamValueDef("show_how_to_play", {}).index() == 0)
      << "relax and classic's";
  Click(duel, "checkbox_showagain");
  EXPECT_EQ(VarToString(world->Profile().GetParamValueDef("show_how_to_playduel_computer", {})), "no");
}

TEST_F(HowToPlay, WithoutAModeTheProfilesModeDecidesAndAMissingValueShowsChecked) {
  world->Profile().SetParamValue("current_play_mode", std::string("classic"));
  TZintaraGameScreenHowToPlay& screen = Show();
  EXPECT_EQ(screen.ShowAgainValueName(), "show_how_to_play");
  EXPECT_TRUE(Box(screen).IsChecked());
}

TEST_F(HowToPlay, CloseAndStartCloseTheScreenWithTheirName) {
  TZintaraGameScreenHowToPlay& screen = Show();
  for (const char* button : {"button_close", "button_start"}) {
    if (game->stack.empty()) {
      ASSERT_TRUE(game->ShowScreen("GS_HowToPlay", nullptr));
    }
    Click(screen, button);
    game->Frame(10);
    EXPECT_TRUE(game->stack.empty()) << button;
    ASSERT_TRUE(game->closeParams);
    EXPECT_EQ(VarToString(game->closeParams->GetParamValueDef("Button", {})), button);
  }
}

TEST_F(HowToPlay, ADemonstrationLevelThatDoesNotLoadIsReportedAndItsBoardStaysEmpty) {
  TDiagnosticsCollector errors;
  TZintaraGameScreenHowToPlay& screen = Show(
      RulesScreen("<demolevels><demolevel board='howtoplay_gameboard1' number='90'><level name='x' cols='3'/>"
                  "</demolevel><demolevel board='howtoplay_gameboard2' number='91'/></demolevels>"));
  EXPECT_TRUE(errors.Has("demolevels")) << errors.Errors().size();
  EXPECT_EQ(BoardOf(screen, 1).GetLevelManager(), nullptr);
  EXPECT_EQ(BoardOf(screen, 2).GetLevelManager(), nullptr);
}

}  // namespace
}  // namespace qv
