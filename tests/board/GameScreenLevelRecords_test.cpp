// The records screen of a level: the level's line from the level list,
// the mode's group alone, its texts from the level record (scores with
// thousands separators, times in minutes and seconds, a duel's wins out of
// those played), nothing without a record, and the closing button handed
// back.
#include "board/GameScreenLevelRecords.h"

#include <gtest/gtest.h>

#include <string>

#include "board/MapTestSupport.h"
#include "localisation/MultiLanguages.h"
#include "storage/StorageAccess.h"

namespace qv {
namespace {

std::string Text(const std::string& name) {
  return "<widget type='text_widget' name='" + name + "' visible='yes' width='100' height='20'/>";
}

std::string Group(const std::string& name, std::initializer_list<const char*> texts) {
  std::string widgets;
  for (const char* text : texts) widgets += Text(text);
  return "<widget type='group_widget' name='" + name + "' visible='yes'><widgets>" + widgets +
         "</widgets></widget>";
}

std::string RecordsXml() {
  return "<gamescreen type='ZintaraGameScreenLevelRecords' name='GS_LevelRecords'><window><widgets>" +
         Text("level_info") + Group("relax", {"best_score_level", "best_score_level_name"}) +
         Group("classic",
               {"best_score_level", "best_score_level_name", "best_time_level", "best_time_level_name"}) +
         Group("duel_computer", {"Level_player_wins"}) + test::MapButton("button_replay", 100, 400) +
         test::MapButton("button_duel2players", 200, 400) + "</widgets></window></gamescreen>";
}

class LevelRecordsTest : public test::TMapTest {
protected:
  void SetUp() override {
    TMapTest::SetUp();
    screen = Query<TZintaraGameScreenLevelRecords>(Screen(RecordsXml()));
    ASSERT_TRUE(screen);
    Screen(test::ProbeXml("GS_Map"));
    game->ShowScreen("GS_Map", nullptr);
  }
  void Record(const char* mode, int level,
              std::initializer_list<std::pair<const char*, std::string>> values) {
    game->records->SetLevelRecord(mode, level, *MakeParams(values));
  }
  void Open(const std::string& level, const std::string& mode) {
    game->ShowScreen("GS_LevelRecords", MakeParams({{"Level", level}, {"PlayMode", mode}}).get());
  }
  std::string TextOf(const std::string& path) { return WidgetPropertyText(*screen, path, "text"); }
  bool GroupShown(const char* name) { return screen->FindWidget(name)->IsVisible(); }

  Ref<TZintaraGameScreenLevelRecords> screen;
};

TEST_F(LevelRecordsTest, ClassicShowsTheBestScoreAndTimeOfTheLevel) {
  Record("classic", 3,
         {{"score_level", "12345"},
          {"score_levelname", "Anna"},
          {"time_level", "75"},
          {"time_levelname", "Ben 100%"}});
  Open("3", "classic");
  EXPECT_EQ(TextOf("level_info"), "%label_level%: The Ford");
  EXPECT_TRUE(GroupShown("classic"));
  EXPECT_FALSE(GroupShown("relax"));
  EXPECT_FALSE(GroupShown("duel_computer"));
  EXPECT_EQ(TextOf("classic/best_score_level"), FormatThousands(12345));
  EXPECT_EQ(TextOf("classic/best_score_level_name"), "Anna");
  EXPECT_EQ(TextOf("classic/best_time_level"), FormatTime(75));
  EXPECT_EQ(TextOf("classic/best_time_level_name"), "Ben 100%%");
  // The relax group of the same level is left alone.
  EXPECT_EQ(TextOf("relax/best_score_level"), "");
}

TEST_F(LevelRecordsTest, AScoreWithoutATimeLeavesTheTimeEmpty) {
  Record("classic", 2, {{"score_level", "0"}, {"score_levelname", "Anna"}});
  Open("2", "classic");
  EXPECT_EQ(TextOf("classic/best_score_level"), "0");
  EXPECT_EQ(TextOf("classic/best_time_level"), "");
  EXPECT_EQ(TextOf("classic/best_time_level_name"), "");
  // A level the list does not hold has no line.
  Record("relax", 9, {{"score_levelname", "Anna"}});
  game->CloseScreen(screen.get(), nullptr);
  Open("9", "relax");
  EXPECT_EQ(TextOf("level_info"), "");
  EXPECT_EQ(TextOf("relax/best_score_level"), "");  // no score stored
  EXPECT_EQ(TextOf("relax/best_score_level_name"), "");
}

TEST_F(LevelRecordsTest, ADuelShowsThePlayersWinsOfTheDuelsPlayed) {
  Record("duel_computer", 3, {{"player_wins", "3"}, {"computer_wins", "2"}});
  Record("duel_computer", 2, {{"computer_wins", "4"}});
  Open("3", "duel_computer");
  EXPECT_TRUE(GroupShown("duel_computer"));
  EXPECT_FALSE(GroupShown("classic"));
  EXPECT_EQ(TextOf("duel_computer/Level_player_wins"), "3/5");
  game->CloseScreen(screen.get(), nullptr);
  Open("2", "duel_computer");
  EXPECT_EQ(TextOf("duel_computer/Level_player_wins"), "0/4");
}

TEST_F(LevelRecordsTest, ALevelWithoutARecordFillsNothing) {
  Open("1", "duel_computer");
  EXPECT_EQ(TextOf("duel_computer/Level_player_wins"), "");
  EXPECT_EQ(TextOf("level_info"), "%label_level%: ");
}

TEST_F(LevelRecordsTest, AButtonClosesTheScreenAndIsHandedBack) {
  Open("3", "relax");
  Click({105, 405});
  EXPECT_EQ(game->TopName(), "GS_Map");
  ASSERT_TRUE(game->closeParams);
  EXPECT_EQ(VarToString(game->closeParams->GetParamValueDef("Button", {})), "button_replay");
}

TEST_F(LevelRecordsTest, ParametersThatCannotBeReadCloseTheScreenOnItsFirstFrame) {
  for (const auto& [level, mode] : {std::pair<std::string, std::string>{"x", "relax"}, {"0", "relax"}}) {
    Open(level, mode);
    EXPECT_EQ(game->TopName(), "GS_LevelRecords");
    Frames(1);
    EXPECT_EQ(game->TopName(), "GS_Map") << level;
  }
  game->ShowScreen("GS_LevelRecords", MakeParams({{"Level", "3"}}).get());
  Frames(1);
  EXPECT_EQ(game->TopName(), "GS_Map");
  game->ShowScreen("GS_LevelRecords", nullptr);
  Frames(1);
  EXPECT_EQ(game->TopName(), "GS_Map");
}

}  // namespace
}  // namespace qv
