// The map screen on a stand-in game: the current level from the profile,
// the page it is on, the mascot's walk after a won level (and none after a
// replay), the story on arrival, the round after the last level, and the
// screens its buttons open; the main screen opens it when it exists.
#include "board/GameScreenMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/GameScreenMain.h"
#include "board/MapTestSupport.h"
#include "core/Trace.h"

namespace qv {
namespace {

class MapScreenTest : public test::TMapTest {
protected:
  void MakeScreens() {
    if (!map) {
      map = Query<TZintaraGameScreenMap>(Screen(test::MapScreenXml()));
      for (const char* name :
           {"GS_Game", "GS_LevelRecords", "GS_History", "GS_NewDifficulty", "GS_Trophies", "GS_Main"})
        Screen(test::ProbeXml(name));
    }
  }
  TZintaraGameScreenMap& ShowMap(const std::string& mode = "relax") {
    MakeScreens();
    game->Profile().SetParamValue("current_play_mode", mode);
    game->ShowScreen("GS_Map", nullptr);
    EXPECT_TRUE(map);
    return *map;
  }
  Ref<TQuibControl> Quib(const char* page) {
    return Query<TQuibControl>(map->FindWidget(std::string(page) + "/quib"));
  }
  TPoint QuibAt(const char* page) {
    const Ref<TQuibControl> quib = Quib(page);
    return {static_cast<int>(quib->GetAnchorLeft()), static_cast<int>(quib->GetAnchorTop())};
  }
  bool PageShown(const char* page) { return map->FindWidget(page)->IsVisible(); }

  Ref<TZintaraGameScreenMap> map;
};

TEST_F(MapScreenTest, AFirstVisitStartsTheModeAtLevel1AndOffersItsStory) {
  TZintaraGameScreenMap& m = ShowMap("classic");
  EXPECT_EQ(m.GetPlayMode(), "classic");
  EXPECT_EQ(game->ProfileText("classicLevel"), "1");
  EXPECT_EQ(m.GetCurrentLevel(), 1);
  EXPECT_EQ(m.GetDifficulty(), 1);
  // The story waits for the map's first frame.
  EXPECT_EQ(game->TakeShown(), "show GS_Map");
  Frames(1);
  EXPECT_EQ(game->TakeShown(), "show GS_History history=2");
  Frames(1);
  EXPECT_EQ(game->TakeShown(), "");
  // The mascot stands 35 px above level 1 of the first page.
  EXPECT_TRUE(Quib("map1")->IsVisible());
  EXPECT_EQ(QuibAt("map1"), (TPoint{100, 65}));
  EXPECT_FALSE(Quib("map2")->IsVisible());
}

TEST_F(MapScreenTest, AnotherModeBeginsAtItsOwnFirstLevel) {
  game->Profile().SetParamValue("classicLevel", "10");
  ShowMap("classic");
  EXPECT_EQ(map->GetCurrentLevel(), 10);
  game->CloseScreen(map.get(), nullptr);
  ShowMap("relax");
  EXPECT_EQ(map->GetCurrentLevel(), 1);
  EXPECT_EQ(game->ProfileText("relaxLevel"), "1");
  EXPECT_EQ(game->ProfileText("classicLevel"), "10");
}

TEST_F(MapScreenTest, Level36IsOnTheFirstPageAnd37OnTheSecond) {
  EXPECT_EQ(TZintaraGameScreenMap::PageOf(36), 1);
  EXPECT_EQ(TZintaraGameScreenMap::PageOf(37), 2);
  game->Profile().SetParamValue("relaxLevel", "36");
  TZintaraGameScreenMap& m = ShowMap();
  EXPECT_EQ(m.GetPage(), 1);
  EXPECT_TRUE(PageShown("map1"));
  EXPECT_FALSE(PageShown("map2"));
  EXPECT_EQ(game->TakeShown(), "show GS_Map");  // a known level offers no story
  game->Profile().SetParamValue("relaxLevel", "37");
  game->CloseScreen(map.get(), nullptr);
  ShowMap();
  EXPECT_EQ(m.GetPage(), 2);
  EXPECT_FALSE(PageShown("map1"));
  EXPECT_TRUE(PageShown("map2"));
  // The page buttons turn the page.
  Click({5, 445});
  EXPECT_EQ(m.GetPage(), 1);
  EXPECT_TRUE(PageShown("map1"));
  Click({35, 445});
  EXPECT_EQ(m.GetPage(), 2);
}

TEST_F(MapScreenTest, AWonLevelWalksTheMascotToTheNextAndItsArrivalOffersTheStory) {
  game->Profile().SetParamValue("relaxLevel", "2");
  ShowMap();
  Click({610, 450});  // button_start
  EXPECT_EQ(game->TakeShown(), "show GS_Map|show GS_Game Level=2 PlayMode=relax Replay=no");
  // The board advanced the profile and hands its statistics on.
  game->Profile().SetParamValue("relaxLevel", "3");
  CloseTop({{"complete", "yes"}, {"Replay", "no"}, {"level", "2"}, {"animate_level", "3"}});
  EXPECT_EQ(game->TopName(), "GS_Map");
  const Ref<TQuibControl> quib = Quib("map1");
  EXPECT_EQ(quib->GetState(), TQuibControl::kWalking);
  EXPECT_EQ(quib->GetWalkTime(), 3000);  // (160, 180) to (260, 180)
  EXPECT_EQ(QuibAt("map1"), (TPoint{160, 145}));
  Frames(300);
  EXPECT_EQ(game->TakeShown(), "");
  Frames(1);
  EXPECT_EQ(quib->GetState(), TQuibControl::kStanding);
  EXPECT_EQ(QuibAt("map1"), (TPoint{260, 145}));
  // The level left behind has story 5; level 2's button is open now.
  EXPECT_EQ(game->TakeShown(), "show GS_History history=5");
  EXPECT_TRUE(map->FindWidget("map1/maplevel2")->IsEnabled());
  EXPECT_FALSE(map->FindWidget("map1/maplevel3")->IsEnabled());
}

TEST_F(MapScreenTest, AReplayedOrLostLevelDoesNotWalkTheMascot) {
  game->Profile().SetParamValue("relaxLevel", "3");
  ShowMap();
  game->ShowScreen("GS_Game", nullptr);
  CloseTop({{"complete", "yes"}, {"Replay", "yes"}, {"level", "1"}});
  EXPECT_EQ(Quib("map1")->GetState(), TQuibControl::kStanding);
  EXPECT_EQ(QuibAt("map1"), (TPoint{260, 145}));
  game->ShowScreen("GS_Game", nullptr);
  CloseTop({{"complete", "no"}, {"Replay", "no"}, {"level", "3"}});
  EXPECT_EQ(Quib("map1")->GetState(), TQuibControl::kStanding);
  game->TakeShown();
  Frames(400);
  EXPECT_EQ(game->TakeShown(), "");
}

TEST_F(MapScreenTest, LeavingTheGameThroughItsMenuLeavesTheMapToo) {
  game->Profile().SetParamValue("relaxLevel", "3");
  ShowMap();
  game->ShowScreen("GS_Game", nullptr);
  game->CloseScreen(game->stack.back().get(), nullptr);
  EXPECT_EQ(game->TopName(), "");
}

TEST_F(MapScreenTest, AfterLevel71ANewRoundBeginsOneDifficultyUp) {
  game->Profile().SetParamValue("relaxLevel", "71");
  game->Profile().SetParamValue("relaxDifficulty", "1");
  TZintaraGameScreenMap& m = ShowMap();
  EXPECT_FALSE(m.IsNewDifficultyPending());
  game->ShowScreen("GS_Game", nullptr);
  game->Profile().SetParamValue("relaxLevel", "72");
  CloseTop({{"complete", "yes"}, {"Replay", "no"}, {"level", "71"}});
  EXPECT_TRUE(m.IsNewDifficultyPending());
  game->TakeShown();
  Frames(499);
  EXPECT_EQ(game->TakeShown(), "");
  Frames(1);
  EXPECT_EQ(game->TakeShown(), "show GS_NewDifficulty PlayMode=relax");
  CloseTop({});
  EXPECT_EQ(game->ProfileText("relaxLevel"), "1");
  EXPECT_EQ(game->ProfileText("relaxDifficulty"), "2");
  EXPECT_EQ(m.GetCurrentLevel(), 1);
  EXPECT_EQ(m.GetDifficulty(), 2);
  EXPECT_EQ(m.GetPage(), 1);
  EXPECT_EQ(QuibAt("map1"), (TPoint{100, 65}));
  // In the second round every finished level's button stays open.
  const Ref<TZintaraMapControl> page = Query<TZintaraMapControl>(map->FindWidget("map1"));
  EXPECT_EQ(page->GetDifficulty(), 2);
}

TEST_F(MapScreenTest, ALevelButtonOpensItsRecordsAndTheirButtonsReplayIt) {
  game->Profile().SetParamValue("relaxLevel", "3");
  TZintaraGameScreenMap& m = ShowMap();
  game->TakeShown();
  // Level 2's button is centred on (160, 180).
  Click({160, 180});
  EXPECT_EQ(m.GetSelectedLevel(), 2);
  EXPECT_EQ(game->TakeShown(), "show GS_LevelRecords Level=2 PlayMode=relax");
  CloseTop({{"Button", "button_replay"}});
  EXPECT_EQ(game->TakeShown(), "show GS_Game Level=2 PlayMode=relax Replay=yes");
  CloseTop({{"complete", "yes"}, {"Replay", "yes"}});
  Click({160, 180});
  CloseTop({{"Button", "button_duel2players"}});
  EXPECT_EQ(
      game->TakeShown(),
      "show GS_LevelRecords Level=2 PlayMode=relax|show GS_Game Level=2 PlayMode=duel_player Replay=yes");
  CloseTop({{"complete", "no"}, {"Replay", "yes"}});
  // Any other button of the records screen does nothing.
  Click({160, 180});
  CloseTop({{"Button", "button_close"}});
  EXPECT_EQ(game->TakeShown(), "show GS_LevelRecords Level=2 PlayMode=relax");
  EXPECT_EQ(game->TopName(), "GS_Map");
  // The current level's own button is not open.
  EXPECT_FALSE(map->FindWidget("map1/maplevel3")->IsEnabled());
}

TEST_F(MapScreenTest, TheMascotAndTheStartButtonStartTheCurrentLevelAndTrophiesOpen) {
  game->Profile().SetParamValue("duel_computerLevel", "37");
  ShowMap("duel_computer");
  game->TakeShown();
  // The mascot stands on (50, 300) of page 2, its 40 x 50 from (50, 265).
  Click({60, 280});
  EXPECT_EQ(game->TakeShown(), "show GS_Game Level=37 PlayMode=duel_computer Replay=no");
  CloseTop({{"complete", "no"}});
  Click({70, 450});
  EXPECT_EQ(game->TakeShown(), "show GS_Trophies PlayMode=duel_computer");
}

TEST_F(MapScreenTest, ANewlyWonArtifactOpensTheTrophyRoom) {
  game->Profile().SetParamValue("relaxLevel", "3");
  ShowMap();
  Click({610, 450});
  // The board wrote the artifact of level 3 and the next level.
  game->Profile().SetParamValue("relaxartifact", "4");
  game->Profile().SetParamValue("relaxLevel", "4");
  game->TakeShown();
  CloseTop({{"complete", "yes"}, {"Replay", "no"}, {"level", "3"}});
  EXPECT_EQ(game->TakeShown(), "show GS_Trophies PlayMode=relax artifact=4");
  CloseTop({});
  // Playing it again wins nothing new.
  Frames(400);  // the walk to level 4
  Click({260, 180});
  CloseTop({{"Button", "button_replay"}});
  game->TakeShown();
  CloseTop({{"complete", "yes"}, {"Replay", "yes"}, {"level", "3"}});
  EXPECT_EQ(game->TakeShown(), "");
}

TEST_F(MapScreenTest, TheMapIsTracedWithItsPageLevelAndWalk) {
  std::vector<std::string> lines;
  const TTrace::THandle handle = TTrace::Listen([&](const TTraceEvent& event) {
    if (event.event == "map") lines.push_back(event.Line());
  });
  game->Profile().SetParamValue("relaxLevel", "37");
  ShowMap();
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.back().find(R"("page":2,"level":37,"difficulty":1,"walk_from":0,"walk_to":0)"),
            std::string::npos)
      << lines.back();
  game->ShowScreen("GS_Game", nullptr);
  game->Profile().SetParamValue("relaxLevel", "38");
  lines.clear();
  CloseTop({{"complete", "yes"}});
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.back().find(R"("walk_from":37,"walk_to":38)"), std::string::npos) << lines.back();
}

TEST_F(MapScreenTest, TheMainScreensModeButtonsOpenTheMapWhenThereIsOne) {
  Screen("<gamescreen type='ZintaraGameScreenMain' name='GS_MainMenu'><window><widgets>" +
         test::MapButton("button_classic", 10, 10) + "</widgets></window></gamescreen>");
  MakeScreens();
  game->ShowScreen("GS_MainMenu", nullptr);
  Click({15, 15});
  EXPECT_EQ(game->ProfileText("current_play_mode"), "classic");
  EXPECT_EQ(game->TakeShown(), "show GS_MainMenu|show GS_Map PlayMode=classic");
  EXPECT_EQ(map->GetPlayMode(), "classic");
}

}  // namespace
}  // namespace qv
