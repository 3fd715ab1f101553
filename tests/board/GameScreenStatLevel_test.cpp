// The statistics screen after a level, inside a stand-in game that has a
// player, the level records and the level list: the lines counting up one
// after the other, the records it keeps and the totals of the profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board/BoardRegistration.h"
#include "board/GameScreenStatLevel.h"
#include "controls/ControlsTypes.h"
#include "game/ZinLevelCollection.h"
#include "localisation/MultiLanguages.h"
#include "playerdata/LevelRecords.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/ScreenSupport.h"
#include "screens/ScreenTestSupport.h"
#include "storage/StorageAccess.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

// The game with a current player "Anna", the three record tables and a
// level list in which level 5 has an artifact.
class TRecordsGame : public test::TStackGame {
public:
  explicit TRecordsGame(IInterface* engine) : TStackGame(engine) {
    profiles->Initialize();
    profiles->AddProfile("Anna");
    profiles->SetCurrentProfile("Anna");
    levels->Load(
        LoadStorageText("<levels><level level='1' filename='a'/><level level='5' filename='b' "
                        "artifact='2' DisplayName='The 100% Key'/></levels>"));
  }
  IUserProfileCollection* GetUserProfiles() override { return profiles.get(); }
  ILevelRecords* GetLevelRecords() override { return records.get(); }
  Ref<IInterface> GetContextObject(const std::string& name) override {
    return name == "zinlevels" ? Ref<IInterface>(levels) : nullptr;
  }
  IParamCollection& Profile() { return profiles->GetCurrentProfile()->GetParams(); }

  Ref<TUserProfileCollection> profiles = MakeRef<TUserProfileCollection>();
  Ref<TLevelRecords> records = TLevelRecords::CreateStandard();
  Ref<TZinLevelCollection> levels = MakeRef<TZinLevelCollection>();

protected:
  ~TRecordsGame() override = default;
};

std::string Text(const std::string& name, bool visible = true) {
  return "<widget type='text_widget' name='" + name + "' visible='" + (visible ? "yes" : "no") +
         "' width='100' height='20'/>";
}

// A statistics screen with every widget the screen fills.
std::string StatScreen(const std::string& name) {
  std::string widgets;
  for (const char* w : {"score_level",
                        "color_cells",
                        "total_cells",
                        "max_combo",
                        "max_flowers",
                        "gamemove",
                        "time_level",
                        "score_level_comp",
                        "color_cells_comp",
                        "total_score",
                        "best_score_level",
                        "best_score_level_name",
                        "best_time_level",
                        "best_time_level_name",
                        "Level_player_wins",
                        "Level_computer_wins",
                        "total_player_wins",
                        "total_computer_wins",
                        "lable_title_level_complete",
                        "lable_color_cells",
                        "label_level"})
    widgets += Text(w);
  widgets += Text("lable_title_level_failed", false) + Text("label_artifact", false);
  widgets +=
      "<widget type='ButtonControl' name='button_close' visible='yes' enabled='yes' mousestop='yes' "
      "anchor_left='200' anchor_top='400' width='200' height='44'/>";
  std::string sounds;
  for (const char* s :
       {"sound_score_line", "sound_best_score", "sound_best_time", "sound_level_win", "sound_level_loose"})
    sounds += std::string("<sound name='") + s + "' resourcename='" + s + "'/>";
  return "<gamescreen type='ZintaraGameScreenStatLevel' name='" + name + "'><window><widgets>" + widgets +
         "</widgets><sounds>" + sounds + "</sounds></window></gamescreen>";
}

class StatLevel : public test::TScreenTest {
protected:
  void SetUp() override {
    game = world;
    TScreenTest::SetUp();
    RegisterControlsTypes();
    RegisterBoardTypes();
    // Separators as the bundled language has them; "-" for no record.
    lang.Write("en.lng",
               "<language id='en' name='English'><strings><string name='thousand_separator'>,</string>"
               "<string name='time_separator'>:</string><string name='StatNoRecord'>-</string>"
               "<string name='StatLevel'>Level</string>"
               "</strings></language>");
    ASSERT_TRUE(LoadLanguageFromFile(lang.File("en.lng")));
    SetReadTextHook([](const std::string& text) { return ExpandText(text, true); });
    for (const char* mode : {"relax", "classic", "duel_computer"}) {
      const std::string name = std::string("GS_StatLevel") + mode;
      game->Add(CreateFromNodeAs<TGameScreen>(LoadStorageText(StatScreen(name))));
    }
    game->Add(CreateFromNodeAs<TGameScreen>(LoadStorageText(
        "<gamescreen type='ProbeScreen' name='GS_Game'><window><widgets/></window></gamescreen>")));
    game->ShowScreen("GS_Game", nullptr);
  }
  void TearDown() override {
    ShutdownLanguages();
    TScreenTest::TearDown();
  }

  // The board's level-end parameters for a level of `mode`, with the
  // given changes.
  Ref<TParamCollection> Statistics(const std::string& mode, int level, bool complete,
                                   std::initializer_list<std::pair<const char*, std::string>> changes = {}) {
    const Ref<TParamCollection> params = MakeParams({{"PlayMode", mode},
                                                     {"Replay", "no"},
                                                     {"Score", "1200"},
                                                     {"time_level", "95"},
                                                     {"gamemove", "21"},
                                                     {"color_cells", "12/30"},
                                                     {"total_cells", "40/45"},
                                                     {"score_level", "1200"},
                                                     {"max_combo", "3"},
                                                     {"max_flowers", "7"}});
    if (mode == "duel_computer")
      for (const auto& [name, value] : {std::pair<const char*, const char*>{"ScoreComp", "900"},
                                        {"score_level_comp", "900"},
                                        {"color_cells_comp", "9/30"}})
        params->SetParamValue(name, std::string(value));
    params->SetParamValue("level", static_cast<long long>(level));
    params->SetParamValue("complete", complete);
    if (complete) params->SetParamValue("animate_level", static_cast<long long>(level + 1));
    for (const auto& [name, value] : changes) params->SetParamValue(name, value);
    return params;
  }
  TZintaraGameScreenStatLevel& Show(const Ref<TParamCollection>& params) {
    const std::string name = "GS_StatLevel" + VarToString(params->GetParamValueDef("PlayMode", {}));
    engine->played.clear();
    EXPECT_TRUE(game->ShowScreen(name, params.get()));
    return *dynamic_cast<TZintaraGameScreenStatLevel*>(game->stack.back().get());
  }
  std::string Shown(const std::string& widget) {
    return WidgetPropertyText(*dynamic_cast<TGameScreen*>(game->stack.back().get()), widget, "text");
  }
  bool Visible(const std::string& widget) {
    return dynamic_cast<TGameScreen*>(game->stack.back().get())->FindWidget(widget)->IsVisible();
  }
  // Frames of 10 ms until the counting has ended.
  void RunToEnd(TZintaraGameScreenStatLevel& screen) {
    for (int i = 0; i < 2000 && screen.IsCounting(); ++i) game->Frame(10);
  }
  // The sounds played so far, by resource name.
  std::vector<std::string> Sounds() {
    std::vector<std::string> names;
    for (const std::string& entry : engine->played) names.push_back(entry.substr(0, entry.find(' ')));
    return names;
  }
  std::string RecordText(const std::string& mode, int level, const std::string& name) {
    const Ref<TLevelRecord> record = world->records->GetLevelTables().GetTable(mode)->GetRecord(level);
    return record ? record->GetText(name, "<none>") : "<no record>";
  }
  void SetRecord(const std::string& mode, int level,
                 std::initializer_list<std::pair<const char*, std::string>> values) {
    world->records->SetLevelRecord(mode, level, *MakeParams(values));
  }
  std::string ProfileText(const std::string& name) {
    return VarToString(world->Profile().GetParamValueDef(name, std::string("<none>")));
  }

  test::TempDir lang;
  // The stand-in game of the screen fixture, with the player data.
  Ref<TRecordsGame> world = MakeRef<TRecordsGame>(engine.get());
};

TEST_F(StatLevel, CountsTheLinesUpOneAfterTheOtherEachWithItsSound) {
  TZintaraGameScreenStatLevel& screen = Show(Statistics("relax", 3, true));
  // Shown: the first line starts at 0 and its sound plays; the others wait empty.
  EXPECT_EQ(Shown("score_level"), "0");
  EXPECT_EQ(Shown("color_cells"), "");
  EXPECT_EQ(Shown("time_level"), "");
  game->Frame(10);
  EXPECT_EQ(Sounds(), std::vector<std::string>{"sound_score_line"});
  // 1200 over 400 ms: 600 at half time, the whole at the end.
  for (int ms = 10; ms < 200; ms += 10) game->Frame(10);
  EXPECT_EQ(Shown("score_level"), "600");
  for (int ms = 200; ms < 400; ms += 10) game->Frame(10);
  EXPECT_EQ(Shown("score_level"), "1,200");
  EXPECT_EQ(Shown("color_cells"), "") << "the pause of 150 ms between lines";
  // The second line, 550 ms in: 12 of "12/30" counts, the 30 stays.
  for (int ms = 400; ms < 550; ms += 10) game->Frame(10);
  EXPECT_EQ(Shown("color_cells"), "0/30");
  EXPECT_EQ(Sounds().size(), 2u);
  for (int ms = 550; ms < 750; ms += 10) game->Frame(10);
  EXPECT_EQ(Shown("color_cells"), "6/30");
  RunToEnd(screen);
  EXPECT_EQ(Shown("total_cells"), "40/45");
  EXPECT_EQ(Shown("max_combo"), "3");
  EXPECT_EQ(Shown("max_flowers"), "7");
  EXPECT_EQ(Shown("gamemove"), "21");
  EXPECT_EQ(Shown("time_level"), "1:35");
  // Seven lines, the total score's line, then the new best score.
  EXPECT_EQ(Sounds(), (std::vector<std::string>{"sound_score_line", "sound_score_line", "sound_score_line",
                                                "sound_score_line", "sound_score_line", "sound_score_line",
                                                "sound_score_line", "sound_score_line", "sound_best_score"}));
  EXPECT_EQ(Shown("score_level_comp"), "") << "no second player in relax";
}

TEST_F(StatLevel, AMousePressOrAKeySkipsTheCountingToItsEndWithoutTheSounds) {
  TZintaraGameScreenStatLevel& screen = Show(Statistics("classic", 3, true));
  game->Frame(10);
  engine->played.clear();
  EXPECT_TRUE(game->Mouse(WM_LBUTTONDOWN, {5, 5}));
  EXPECT_FALSE(screen.IsCounting());
  EXPECT_EQ(Shown("time_level"), "1:35");
  EXPECT_EQ(Shown("best_time_level"), "1:35");
  EXPECT_EQ(Shown("best_time_level_name"), "Anna");
  game->Frame(10);
  EXPECT_TRUE(Sounds().empty());
  // A key does the same on the next level's screen.
  game->stack.back()->Hide();
  game->RemoveClosed();
  TZintaraGameScreenStatLevel& next = Show(Statistics("classic", 4, true));
  EXPECT_TRUE(game->Key(WM_KEYDOWN, 'A'));
  EXPECT_FALSE(next.IsCounting());
  EXPECT_EQ(Shown("score_level"), "1,200");
}

TEST_F(StatLevel, TheTitleAndTheCellsLabelFollowTheResultAndTheLevel) {
  Show(Statistics("relax", 5, false, {{"Replay", "yes"}}));
  EXPECT_FALSE(Visible("lable_title_level_complete"));
  EXPECT_TRUE(Visible("lable_title_level_failed"));
  EXPECT_TRUE(Visible("label_artifact")) << "level 5 has an artifact";
  EXPECT_FALSE(Visible("lable_color_cells"));
  EXPECT_EQ(Shown("label_level"), "Level 5 - The 100% Key") << "the list's name shown as it is";
  game->stack.back()->Hide();
  game->RemoveClosed();
  Show(Statistics("relax", 1, true));
  EXPECT_TRUE(Visible("lable_title_level_complete"));
  EXPECT_FALSE(Visible("lable_title_level_failed"));
  EXPECT_FALSE(Visible("label_artifact"));
  EXPECT_TRUE(Visible("lable_color_cells"));
  EXPECT_EQ(Shown("label_level"), "Level 1");
}

TEST_F(StatLevel, OnlyAHigherScoreOfACompletedLevelReplacesTheBestScoreAndItsHolder) {
  SetRecord("relax", 3, {{"score_level", "1500"}, {"score_levelname", "Ben"}});
  struct TCase {
    const char* score;
    bool complete;
    const char* best;
    const char* holder;
    bool sound;
  };
  const TCase cases[] = {
      {"1500", true, "1500", "Ben", false},   // equal: Ben keeps it
      {"1499", true, "1500", "Ben", false},   // lower
      {"9000", false, "1500", "Ben", false},  // higher, but not completed (a replay that failed)
      {"1501", true, "1501", "Anna", true},   // higher: Anna's now
      {"1501", true, "1501", "Anna", false},  // and her own equal score changes nothing
  };
  for (const TCase& c : cases) {
    TZintaraGameScreenStatLevel& screen = Show(Statistics(
        "relax", 3, c.complete, {{"score_level", c.score}, {"Replay", c.complete ? "no" : "yes"}}));
    const std::string before = Shown("best_score_level");
    RunToEnd(screen);
    EXPECT_EQ(RecordText("relax", 3, "score_level"), c.best) << c.score;
    EXPECT_EQ(RecordText("relax", 3, "score_levelname"), c.holder) << c.score;
    const std::vector<std::string> sounds = Sounds();
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "sound_best_score"), c.sound ? 1 : 0) << c.score;
    if (c.sound) {
      EXPECT_NE(before, Shown("best_score_level")) << "the old best shows until the counting reaches it";
      EXPECT_EQ(Shown("best_score_level"), "1,501");
      EXPECT_EQ(Shown("best_score_level_name"), "Anna");
    }
    game->stack.back()->Hide();
    game->RemoveClosed();
  }
  // A level without a record shows "-" and takes any completed score.
  Show(Statistics("relax", 8, true, {{"score_level", "0"}}));
  EXPECT_EQ(Shown("best_score_level"), "-");
  EXPECT_EQ(Shown("best_score_level_name"), "");
  EXPECT_EQ(RecordText("relax", 8, "score_level"), "0");
}

TEST_F(StatLevel, TheTimedModeKeepsTheFirstTimeAndThenOnlyASmallerOne) {
  struct TPlay {
    const char* seconds;
    const char* best;
    bool sound;
  };
  const TPlay plays[] = {
      {"95", "95", true},   // no time yet
      {"95", "95", false},  // equal
      {"120", "95", false},
      {"80", "80", true},
  };
  for (const TPlay& play : plays) {
    TZintaraGameScreenStatLevel& screen =
        Show(Statistics("classic", 2, true, {{"time_level", play.seconds}}));
    RunToEnd(screen);
    EXPECT_EQ(RecordText("classic", 2, "time_level"), play.best) << play.seconds;
    EXPECT_EQ(RecordText("classic", 2, "time_levelname"), "Anna");
    const std::vector<std::string> sounds = Sounds();
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "sound_best_time"), play.sound ? 1 : 0)
        << play.seconds;
    game->stack.back()->Hide();
    game->RemoveClosed();
  }
  // A record whose time is not a number counts as one without a time.
  SetRecord("classic", 2, {{"time_level", "soon"}});
  Show(Statistics("classic", 2, true, {{"time_level", "300"}}));
  EXPECT_EQ(Shown("best_time_level"), "-");
  EXPECT_EQ(RecordText("classic", 2, "time_level"), "300");
  // Relax keeps no times.
  game->stack.back()->Hide();
  game->RemoveClosed();
  Show(Statistics("relax", 2, true));
  EXPECT_EQ(RecordText("relax", 2, "time_level"), "<none>");
}

TEST_F(StatLevel, TheModesTotalScoreGrowsByCompletedLevelsThatAreNoReplays) {
  world->Profile().SetParamValue("classicScore", std::string("5000"));
  // A replay: the total stays, and shows as it is.
  TZintaraGameScreenStatLevel& replay = Show(Statistics("classic", 3, true, {{"Replay", "yes"}}));
  EXPECT_EQ(Shown("total_score"), "5,000");
  RunToEnd(replay);
  EXPECT_EQ(Shown("total_score"), "5,000");
  EXPECT_EQ(ProfileText("classicScore"), "5000");
  game->stack.back()->Hide();
  game->RemoveClosed();
  // A lost level adds nothing either.
  Show(Statistics("classic", 3, false, {{"Replay", "yes"}}));
  EXPECT_EQ(ProfileText("classicScore"), "5000");
  game->stack.back()->Hide();
  game->RemoveClosed();
  // A first play: 5000 + 1200, counted up from the old total as a line of its own.
  TZintaraGameScreenStatLevel& play = Show(Statistics("classic", 3, true));
  EXPECT_EQ(ProfileText("classicScore"), "6200");
  EXPECT_EQ(Shown("total_score"), "5,000");
  RunToEnd(play);
  EXPECT_EQ(Shown("total_score"), "6,200");
  EXPECT_EQ(ProfileText("relaxScore"), "<none>") << "each mode has its own total";
}

TEST_F(StatLevel, DuelWinsAreCountedOnTheLevelAndInThePlayersTotals) {
  SetRecord("duel_computer", 4, {{"player_wins", "3"}, {"computer_wins", "2"}});
  world->Profile().SetParamValue("player_wins", std::string("10"));
  world->Profile().SetParamValue("computer_wins", std::string("4"));
  TZintaraGameScreenStatLevel& won = Show(Statistics("duel_computer", 4, true));
  EXPECT_EQ(Shown("Level_player_wins"), "3");
  EXPECT_EQ(Shown("total_player_wins"), "10");
  RunToEnd(won);
  EXPECT_EQ(Shown("score_level_comp"), "900");
  EXPECT_EQ(Shown("color_cells_comp"), "9/30");
  EXPECT_EQ(Shown("Level_player_wins"), "4");
  EXPECT_EQ(Shown("total_player_wins"), "11");
  EXPECT_EQ(Shown("Level_computer_wins"), "2");
  EXPECT_EQ(Sounds().back(), "sound_level_win");
  EXPECT_EQ(RecordText("duel_computer", 4, "player_wins"), "4");
  EXPECT_EQ(ProfileText("player_wins"), "11");
  game->stack.back()->Hide();
  game->RemoveClosed();

  TZintaraGameScreenStatLevel& lost = Show(Statistics("duel_computer", 4, false));
  RunToEnd(lost);
  EXPECT_EQ(Shown("Level_computer_wins"), "3");
  EXPECT_EQ(Shown("total_computer_wins"), "5");
  EXPECT_EQ(Sounds().back(), "sound_level_loose");
  EXPECT_EQ(RecordText("duel_computer", 4, "computer_wins"), "3");
  EXPECT_EQ(RecordText("duel_computer", 4, "player_wins"), "4");
  EXPECT_EQ(ProfileText("computer_wins"), "5");
  EXPECT_EQ(ProfileText("player_wins"), "11");
  // A level without a record starts both at 0; the duel keeps no best score.
  game->stack.back()->Hide();
  game->RemoveClosed();
  Show(Statistics("duel_computer", 6, true));
  EXPECT_EQ(Shown("Level_computer_wins"), "0");
  EXPECT_EQ(RecordText("duel_computer", 6, "player_wins"), "1");
  EXPECT_EQ(RecordText("duel_computer", 6, "score_level"), "<none>");
  // A replayed duel counts on the level, never in the player's totals.
  game->stack.back()->Hide();
  game->RemoveClosed();
  TZintaraGameScreenStatLevel& replay = Show(Statistics("duel_computer", 4, true, {{"Replay", "yes"}}));
  RunToEnd(replay);
  EXPECT_EQ(RecordText("duel_computer", 4, "player_wins"), "5");
  EXPECT_EQ(ProfileText("player_wins"), "12");  // 10, the win on 4 and the one on 6
  EXPECT_EQ(Shown("total_player_wins"), "12");
}

TEST_F(StatLevel, ItsButtonClosesItWithTheResultsTheGameScreenPassesOn) {
  Show(Statistics("relax", 3, true));
  const Ref<IWidget> button =
      dynamic_cast<TGameScreen*>(game->stack.back().get())->FindWidget("button_close");
  ASSERT_TRUE(button);
  ASSERT_TRUE(QueryPtr<IClickable>(button.get())->Click());
  game->Frame(10);
  ASSERT_EQ(game->stack.size(), 1u);
  ASSERT_TRUE(game->closeParams);
  EXPECT_EQ(VarToString(game->closeParams->GetParamValueDef("Button", {})), "button_close");
  EXPECT_EQ(VarToString(game->closeParams->GetParamValueDef("animate_level", {})), "4");
  EXPECT_EQ(VarToString(game->closeParams->GetParamValueDef("complete", {})), "yes");
  EXPECT_EQ(VarToString(game->closeParams->GetParamValueDef("PlayMode", {})), "relax");
  // Everything was stored before the counting ended.
  EXPECT_EQ(RecordText("relax", 3, "score_level"), "1200");
  EXPECT_EQ(ProfileText("relaxScore"), "1200");
}

TEST_F(StatLevel, APlayersNameIsShownAsTyped) {
  world->profiles->AddProfile("100%sure%");
  world->profiles->SetCurrentProfile("100%sure%");
  TZintaraGameScreenStatLevel& screen = Show(Statistics("classic", 3, true));
  RunToEnd(screen);
  EXPECT_EQ(Shown("best_score_level_name"), "100%sure%");
  EXPECT_EQ(Shown("best_time_level_name"), "100%sure%");
  EXPECT_EQ(RecordText("classic", 3, "score_levelname"), "100%sure%");
}

TEST_F(StatLevel, WithoutAPlayerNothingIsStored) {
  world->profiles->DeleteProfile("Anna");
  TZintaraGameScreenStatLevel& screen = Show(Statistics("classic", 3, true));
  RunToEnd(screen);
  EXPECT_EQ(Shown("score_level"), "1,200");
  EXPECT_EQ(Shown("best_score_level"), "-");
  EXPECT_TRUE(world->records->GetLevelTables().GetTable("classic")->GetRecords().Count() == 0);
}

}  // namespace
}  // namespace qv
