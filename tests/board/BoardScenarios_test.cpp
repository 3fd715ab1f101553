// The presentation scenarios on a real board: the level start's cells and
// flowers, the hint's swings, the level end's bonus and its wait for
// running flights, the computer's cursor, the flights and the combination
// texts, each on fixed frame steps at the times the rules give.
#include <gtest/gtest.h>

#include "board/CombinationTexts.h"
#include "board/LevelManager.h"
#include "board/ScenarioHintLink.h"
#include "board/ScenarioStartLevel.h"
#include "board/ScenarioTestSupport.h"
#include "board/ZintaraScenario.h"
#include "controls/ControlTestSupport.h"
#include "core/Diagnostics.h"
#include "core/ProcessContext.h"
#include "screens/ScreenSupport.h"
#include "widgets/IWidgetCollection.h"

namespace qv::test {
namespace {

const char kStartFactories[] =
    R"(<widgetfactory type="WidgetFactory" name="scenario_start_level"><widgetstring>)"
    R"(<widget type="ScenarioStartLevel" name="start" visible="yes"/>)"
    R"(</widgetstring></widgetfactory>)"
    R"(<widgetfactory type="WidgetFactory" name="scenario_start_level_Flower_fall"><widgetstring>)"
    R"(<widget type="ScenarioStartLevelFlowerFall" name="%name%" visible="yes" RefCells="%RefCells%" delay="%delay%"/>)"
    R"(</widgetstring></widgetfactory>)"
    R"(<widgetfactory type="WidgetFactory" name="move_Flower"><widgetstring>)"
    R"(<widget type="move_widget" name="copy" visible="yes" timetolive="%lifetime%" start_trans_level="%start_trans_level%" end_trans_level="%end_trans_level%" startposx="%startposx%" startposy="%startposy%" endposx="%endposx%" endposy="%endposy%"/>)"
    R"(</widgetstring></widgetfactory>)";

bool Shown(TGameBoardControl& board, int col, int row) {
  TCellWidget* cell = board.CellWidget(col, row);
  const Ref<IWidget> background = cell ? cell->GetBackgroundWidget() : nullptr;
  return cell && cell->IsVisible() && background && background->IsVisible();
}

bool FlowerShown(TGameBoardControl& board, int col, int row) {
  TCellWidget* cell = board.CellWidget(col, row);
  const Ref<IWidget> flower = cell ? cell->GetFlowerWidget() : nullptr;
  return flower && flower->IsVisible();
}

TEST_F(TBoardScenarioTest, LevelStartShowsCellsRowByRowThenFlowersFromTheMiddle) {
  TGameBoardControl& board = MakeBoard(kStartFactories);
  board.StartLoadedLevel(Level(9, 9), 1, "relax", false, 1);
  ASSERT_TRUE(board.GetLevelManager());
  EXPECT_EQ(board.GetLevelManager()->GetState(), kStateLevelStart);
  const Ref<IWidget> start = Scenario("start");
  ASSERT_TRUE(start);
  auto* scenario = dynamic_cast<TScenarioStartLevel*>(start.get());
  ASSERT_TRUE(scenario);

  // The first frame sets the clock to -2562 and hides every picture.
  Frame(board, 10);
  EXPECT_EQ(scenario->Plan().clockStart, -2562);
  EXPECT_EQ(scenario->GetCurrentTime(), -2562);
  EXPECT_FALSE(Shown(board, 0, 0));
  EXPECT_FALSE(FlowerShown(board, 4, 4));
  EXPECT_FALSE(board.FindWidget("mat_group")->IsVisible());
  EXPECT_EQ(Played("sound_startgame1"), 1);
  int clock = -2562;
  auto runTo = [&](int until) {
    while (clock < until) {
      Frame(board, 1);
      ++clock;
    }
  };
  // Row 0 first, 39 ms apart: (0, 0) at -2493, (1, 0) at -2454.
  runTo(-2494);
  EXPECT_FALSE(Shown(board, 0, 0));
  runTo(-2493);
  EXPECT_TRUE(Shown(board, 0, 0));
  EXPECT_FALSE(Shown(board, 1, 0));
  EXPECT_FALSE(FlowerShown(board, 0, 0));
  runTo(-2455);
  EXPECT_FALSE(Shown(board, 1, 0));
  runTo(-2454);
  EXPECT_TRUE(Shown(board, 1, 0));
  // The last row last, 23 ms apart: (7, 8) at -44, (8, 8) at -21.
  runTo(-45);
  EXPECT_FALSE(Shown(board, 7, 8));
  runTo(-44);
  EXPECT_TRUE(Shown(board, 7, 8));
  EXPECT_FALSE(Shown(board, 8, 8));
  runTo(-21);
  EXPECT_TRUE(Shown(board, 8, 8));
  EXPECT_EQ(scenario->ShownCells(), 81);

  // At 0 the flowers' stage: the mats, and one fall per cell with its delay.
  runTo(0);
  // Still playing (no channel says otherwise), the loop was not restarted.
  EXPECT_EQ(Played("sound_startgame1"), 1);
  EXPECT_EQ(Played("sound_startgame2"), 1);
  EXPECT_TRUE(board.FindWidget("mat_group")->IsVisible());
  EXPECT_EQ(scenario->GetStage(), 2);
  ASSERT_TRUE(Scenario("4_4"));
  ASSERT_TRUE(Scenario("0_0"));
  EXPECT_EQ(VarToInt(Scenario("0_0")->GetPropertyValue("delay")), 932);
  EXPECT_EQ(VarToInt(Scenario("4_0")->GetPropertyValue("delay")), 466);
  EXPECT_EQ(scenario->ChildScenarios().size(), 81u);

  // The middle flower fades in at once and is shown after 200 ms; the
  // corner's waits 932 ms first.
  // Meanwhile a copy of its picture fades in where the flower is drawn.
  runTo(100);
  const Ref<IWidget> copy = Scenario("4_4") ? Scenario("4_4")->GetChild("copy") : nullptr;
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->GetAnchorLeft(), board.CellCentre(4, 4).x - 22);
  EXPECT_EQ(copy->GetAnchorTop(), board.CellCentre(4, 4).y - 22);
  EXPECT_NEAR(copy->GetTransparentLevel(), 127, 3);
  runTo(195);
  EXPECT_FALSE(FlowerShown(board, 4, 4));
  runTo(205);
  EXPECT_TRUE(FlowerShown(board, 4, 4));
  EXPECT_FALSE(FlowerShown(board, 0, 0));
  runTo(932 + 195);
  EXPECT_FALSE(FlowerShown(board, 0, 0));
  EXPECT_EQ(board.GetLevelManager()->GetState(), kStateLevelStart);
  runTo(932 + 205);
  EXPECT_TRUE(FlowerShown(board, 0, 0));
  // The start ends after its 800 ms and its last fall; the first turn starts.
  runTo(1300);
  EXPECT_FALSE(Scenario("start"));
  EXPECT_EQ(board.GetLevelManager()->GetState(), kStateWaiting);
  for (int c = 0; c < 9; ++c)
    for (int r = 0; r < 9; ++r) ASSERT_TRUE(Shown(board, c, r) && FlowerShown(board, c, r)) << c << "," << r;
}

TEST_F(TBoardScenarioTest, LevelStartWithoutTheFallFactoryShowsTheFlowersAtOnce) {
  TDiagnosticsCollector diagnostics;
  TGameBoardControl& board =
      MakeBoard(R"(<widgetfactory type="WidgetFactory" name="scenario_start_level"><widgetstring>)"
                R"(<widget type="ScenarioStartLevel" name="start" visible="yes"/>)"
                R"(</widgetstring></widgetfactory>)");
  board.StartLoadedLevel(Level(3, 3), 1, "relax", false, 1);
  for (int t = 0; t < 3000 && Scenario("start"); t += 10) Frame(board, 10);
  EXPECT_FALSE(Scenario("start"));
  EXPECT_TRUE(FlowerShown(board, 1, 1));
  EXPECT_TRUE(diagnostics.Has("scenario_start_level_Flower_fall"));
  EXPECT_EQ(board.GetLevelManager()->GetState(), kStateWaiting);
}

const char kHintFactory[] =
    R"(<widgetfactory type="WidgetFactory" name="scenario_hint_link"><widgetstring>)"
    R"(<widget type="ScenarioHintLink" name="hint" visible="yes" RefCells="%RefCells%" startdelaytime="%startdelaytime%" cycledelaytime="%cycledelaytime%"/>)"
    R"(</widgetstring></widgetfactory>)";

TEST_F(TBoardScenarioTest, HintSwingsThePairAfterTenSecondsAndAgainFourSecondsLater) {
  TGameBoardControl& board = MakeBoard(kHintFactory);
  board.StartLoadedLevel(Level(6, 6), 1, "relax", false, 1);
  ASSERT_EQ(board.GetLevelManager()->GetState(), kStateWaiting);
  const Ref<IWidget> hint = Scenario("hint");
  ASSERT_TRUE(hint);
  auto* link = dynamic_cast<TScenarioHintLink*>(hint.get());
  ASSERT_TRUE(link);
  ASSERT_EQ(link->GetCells().size(), 2u);
  const TCellPos a = link->GetCells()[0];
  const TCellPos b = link->GetCells()[1];
  const Ref<IWidget> flower = board.CellWidget(a)->GetFlowerWidget();
  ASSERT_TRUE(flower);
  const TPoint ca = board.CellCentre(a), cb = board.CellCentre(b);
  const TFlightPoint middle{(ca.x + cb.x) / 2.0, (ca.y + cb.y) / 2.0};

  RunTo(board, 9990, 10);
  EXPECT_EQ(link->Swings(), 0);
  EXPECT_EQ(flower->GetAnchorLeft(), 0);
  RunTo(board, 10150, 10);
  EXPECT_EQ(link->Swings(), 1);
  const TFlightPoint expected = HintSwingOffset({double(ca.x), double(ca.y)}, middle, 150);
  EXPECT_NEAR(flower->GetAnchorLeft(), expected.x, 1e-9);
  EXPECT_NEAR(flower->GetAnchorTop(), expected.y, 1e-9);
  RunTo(board, 10610, 10);
  EXPECT_FALSE(link->Swinging());
  EXPECT_EQ(flower->GetAnchorLeft(), 0);
  EXPECT_EQ(flower->GetAnchorTop(), 0);
  RunTo(board, 14590, 10);
  EXPECT_EQ(link->Swings(), 1);
  RunTo(board, 14700, 10);
  EXPECT_EQ(link->Swings(), 2);
  EXPECT_NE(flower->GetAnchorLeft(), 0);

  // Killed in the middle of a swing, it puts the flowers back.
  board.KillScenario("hint");
  Frame(board, 10);
  EXPECT_FALSE(Scenario("hint"));
  EXPECT_EQ(flower->GetAnchorLeft(), 0);
  EXPECT_EQ(flower->GetAnchorTop(), 0);
}

TEST_F(TBoardScenarioTest, HintSkipsItsSwingsWhileTheOptionIsOffAndKeepsItsRhythm) {
  TGameBoardControl& board = MakeBoard(kHintFactory);
  // The board under a screen whose game answers the "ShowHints" option.
  const Ref<TControlScreen> owner = MakeRef<TControlScreen>(engine.get());
  const Ref<IWidget> root(&board);
  screen->DetachRoot();
  owner->SetRoot(root);
  board.StartLoadedLevel(Level(6, 6), 1, "relax", false, 1);
  auto* link = dynamic_cast<TScenarioHintLink*>(Scenario("hint").get());
  ASSERT_TRUE(link);
  owner->options["ShowHints"] = "no";
  RunTo(board, 10300, 10);
  EXPECT_EQ(link->Swings(), 0);
  EXPECT_FALSE(link->Swinging());
  owner->options["ShowHints"] = "yes";
  RunTo(board, 14590, 10);
  EXPECT_EQ(link->Swings(), 0);
  RunTo(board, 14610, 10);
  EXPECT_EQ(link->Swings(), 1);
  owner->SetRoot(nullptr);
}

const char kLevelEndFactories[] =
    R"(<widgetfactory type="WidgetFactory" name="scenario_level_failed"><widgetstring>)"
    R"(<widget type="ScenarioLevelFailed" name="level_end" visible="yes" level_complete_status="%level_complete_status%"/>)"
    R"(</widgetstring></widgetfactory>)"
    R"(<widgetfactory type="WidgetFactory" name="widget_level_complete"><widgetstring>)"
    R"(<widget type="rect_widget" name="result" visible="no" width="100" height="40"/>)"
    R"(</widgetstring></widgetfactory>)"
    R"(<widgetfactory type="WidgetFactory" name="widget_no_moves"><widgetstring>)"
    R"(<widget type="rect_widget" name="result" visible="no" width="100" height="40"/>)"
    R"(</widgetstring></widgetfactory>)"
    R"(<widgetfactory type="WidgetFactory" name="widget_time_bonus"><widgetstring>)"
    R"(<widget type="text_widget" name="bonus" visible="no" anchor_left="300" anchor_top="200" width="100" height="20"/>)"
    R"(</widgetstring></widgetfactory>)";

TEST_F(TBoardScenarioTest, WonTimedLevelCountsFliesAndPaysItsTimeBonus) {
  TGameBoardControl& board = MakeBoard(kLevelEndFactories);
  // Every cell already complete: the first turn start wins the level with
  // the whole allowance left, 120 s of nominal time: (120000 * 2000 div
  // 600000) * 10 = 4000 points.
  board.StartLoadedLevel(Level(4, 4, kCellComplete), 1, "classic", false, 1);
  auto* manager = dynamic_cast<TBaseLevelManager*>(board.GetLevelManager());
  ASSERT_TRUE(manager);
  EXPECT_EQ(manager->GetState(), kStateLevelWon);
  EXPECT_EQ(manager->TimeBonus(), 4000);
  const Ref<IWidget> end = Scenario("level_end");
  ASSERT_TRUE(end);
  EXPECT_EQ(VarToInt(end->GetPropertyValue("level_complete_status")), 1);

  RunTo(board, 500, 10);
  EXPECT_EQ(Played("sound_level_win1") + Played("sound_level_win2"), 1);
  const Ref<IWidget> result = end->GetChild("result");
  ASSERT_TRUE(result);
  EXPECT_TRUE(result->IsVisible());
  EXPECT_EQ(result->GetTransparentLevel(), 127);  // 500 * 255 div 1000
  RunTo(board, 2000, 10);
  const Ref<IWidget> bonus = end->GetChild("bonus");
  ASSERT_TRUE(bonus);
  EXPECT_TRUE(bonus->IsVisible());
  EXPECT_EQ(VarToString(bonus->GetPropertyValue("text_utf8")), "2000");  // half of the count
  EXPECT_EQ(board.Model().Score(kPlayerOne), 0);
  // At 3000 the bonus flies; it is paid when the flight has arrived.
  EXPECT_EQ(Played("sound_time_bonus"), 1);
  RunTo(board, 3010, 10);
  EXPECT_EQ(Played("sound_shine2"), 1);
  EXPECT_FALSE(bonus->IsVisible());
  ASSERT_TRUE(Scenario("timebonusscore"));
  EXPECT_EQ(board.Model().Score(kPlayerOne), 0);
  for (int t = 0; t < 2000 && Scenario("timebonusscore"); t += 10) Frame(board, 10);
  Frame(board, 10);
  EXPECT_EQ(board.Model().Score(kPlayerOne), 4000);
  EXPECT_EQ(board.Model().Statistics(kPlayerOne).Get("Score"), 4000);
  // Then the result fades out, the running list (empty) is checked after
  // 600 ms, and the level ends.
  for (int t = 0; t < 3000 && Scenario("level_end"); t += 10) Frame(board, 10);
  EXPECT_FALSE(Scenario("level_end"));
  Frame(board, 10);
  EXPECT_EQ(board.GetBoardMode(), kBoardWon);
}

TEST_F(TBoardScenarioTest, LevelEndWaitsForRunningFlightsInSteps) {
  TGameBoardControl& board = MakeBoard(kLevelEndFactories);
  board.StartLoadedLevel(Level(6, 6), 1, "relax", false, 1);
  ASSERT_EQ(board.GetLevelManager()->GetState(), kStateWaiting);
  // A flight of 2150 ms on the board's running list.
  const Ref<TParamCollection> fly = MakeParams({{"name", "artifact_fly"},
                                                {"text_utf8", "1"},
                                                {"x1", "0"},
                                                {"y1", "0"},
                                                {"x2", "0"},
                                                {"y2", "0"},
                                                {"start_trans_level", "255"},
                                                {"end_trans_level", "255"},
                                                {"lifetime", "2150"},
                                                {"delay", "0"}});
  ASSERT_TRUE(board.RunScenario("move_score", fly.get(), false));
  board.RunningScenarios() = ";artifact_fly";
  const Ref<TParamCollection> params = MakeParams({{"level_complete_status", "0"}});
  const Ref<IWidget> end = board.RunScenario("scenario_level_failed", params.get(), false);
  ASSERT_TRUE(end);

  RunTo(board, 1250, 10);
  const Ref<IWidget> result = end->GetChild("result");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->GetTransparentLevel(), 128);  // fading out from 1000 to 1500
  RunTo(board, 1510, 10);
  EXPECT_FALSE(result->IsVisible());
  // Checked at 2100 (the flight still runs) and at 2700.
  RunTo(board, 2200, 10);
  EXPECT_FALSE(Scenario("artifact_fly"));
  EXPECT_FALSE(end->IsDead());
  RunTo(board, 2690, 10);
  EXPECT_FALSE(end->IsDead());
  RunTo(board, 2700, 10);
  EXPECT_TRUE(end->IsDead());
}

TEST_F(TBoardScenarioTest, ComputerCursorFadesInWaitsMovesAndFadesOut) {
  TGameBoardControl& board = MakeBoard(
      R"(<widgetfactory type="WidgetFactory" name="scenario_computer_click_Flowers"><widgetstring>)"
      R"(<widget type="ScenarioComputerClickFlowers" name="click" visible="yes" RefCells="%RefCells%"><widgets>)"
      R"(<widget type="rect_widget" name="cursor" visible="no" width="8" height="8"/>)"
      R"(</widgets></widget></widgetstring></widgetfactory>)");
  board.StartLoadedLevel(Level(4, 4), 1, "relax", false, 1);
  const Ref<TParamCollection> params = MakeParams({{"RefCells", "1,1,2,1,"}});
  const Ref<IWidget> click = board.RunScenario("scenario_computer_click_Flowers", params.get(), false);
  ASSERT_TRUE(click);
  const Ref<IWidget> cursor = click->GetChild("cursor");
  ASSERT_TRUE(cursor);
  const TPoint from = board.CellCentre(1, 1), to = board.CellCentre(2, 1);

  RunTo(board, 250, 10);
  EXPECT_TRUE(cursor->IsVisible());
  EXPECT_EQ(cursor->GetTransparentLevel(), 127);
  EXPECT_EQ(cursor->GetAnchorLeft(), from.x);
  EXPECT_EQ(cursor->GetAnchorTop(), from.y);
  RunTo(board, 800, 10);
  EXPECT_EQ(cursor->GetTransparentLevel(), 255);
  EXPECT_EQ(cursor->GetAnchorLeft(), from.x);
  RunTo(board, 950, 10);
  EXPECT_DOUBLE_EQ(cursor->GetAnchorLeft(), (from.x + to.x) / 2.0);
  EXPECT_DOUBLE_EQ(cursor->GetAnchorTop(), (from.y + to.y) / 2.0);
  RunTo(board, 1350, 10);
  EXPECT_EQ(cursor->GetAnchorLeft(), to.x);
  EXPECT_EQ(cursor->GetTransparentLevel(), 128);
  RunTo(board, 1590, 10);
  EXPECT_FALSE(click->IsDead());
  RunTo(board, 1600, 10);
  EXPECT_TRUE(click->IsDead());
}

TEST_F(TBoardScenarioTest, ColourFlightLetsItsStarterGoOnArrival) {
  TGameBoardControl& board = MakeBoard(
      R"(<widgetfactory type="WidgetFactory" name="starter"><widgetstring>)"
      R"(<widget type="ZintaraScenario" name="wave" visible="yes"/>)"
      R"(</widgetstring></widgetfactory>)"
      R"(<widgetfactory type="WidgetFactory" name="scenario_fly_color_cell0"><widgetstring>)"
      R"(<widget type="ScenarioFlyColorCell" name="%name%" visible="yes" x0="%x0%" y0="%y0%"><widgets>)"
      R"(<widget type="blink_widget" name="glow" firstperiod="100" secondperiod="100"/>)"
      R"(</widgets></widget></widgetstring></widgetfactory>)");
  board.StartLoadedLevel(Level(4, 4), 1, "relax", false, 1);
  const Ref<IWidget> wave = board.RunScenario("starter", nullptr, false);
  const Ref<TParamCollection> params = MakeParams({{"name", "color_cell_1"}, {"x0", "200"}, {"y0", "200"}});
  const Ref<IWidget> fly = board.RunScenario("scenario_fly_color_cell0", params.get(), false);
  ASSERT_TRUE(wave && fly);
  // The wave waits for the flight it started.
  dynamic_cast<TZintaraScenario&>(*wave).AddChildScenario("color_cell_1");
  // 800 ms of burst and 888 of flight (start 200, 200, target 100, 100).
  RunTo(board, 1680, 10);
  EXPECT_FALSE(wave->IsDead());
  RunTo(board, 1700, 10);
  EXPECT_TRUE(wave->IsDead());
  EXPECT_FALSE(fly->IsDead());  // the glow goes on
  RunTo(board, 1900, 10);
  EXPECT_TRUE(fly->IsDead());
}

TEST_F(TBoardScenarioTest, ArtifactFlightLeavesTheRunningList) {
  TGameBoardControl& board = MakeBoard(
      R"(<widgetfactory type="WidgetFactory" name="scenario_fly_artifact"><widgetstring>)"
      R"(<widget type="ScenarioFlyArtifact" name="%name%" visible="yes" x1="%x1%" y1="%y1%" x2="300" y2="100" artifact="%artifact%"/>)"
      R"(</widgetstring></widgetfactory>)");
  board.StartLoadedLevel(Level(4, 4), 1, "relax", false, 1);
  const Ref<TParamCollection> params =
      MakeParams({{"name", "art"}, {"x1", "100"}, {"y1", "300"}, {"artifact", "2"}});
  const Ref<IWidget> fly = board.RunScenario("scenario_fly_artifact", params.get(), false);
  ASSERT_TRUE(fly);
  board.RunningScenarios() = ";art;other";
  RunTo(board, 750, 10);
  const Ref<IWidget> picture = fly->GetChild("flower");
  ASSERT_TRUE(picture);
  EXPECT_EQ(VarToInt(picture->GetPropertyValue("Flowercolor")), kArtifact);
  EXPECT_EQ(picture->GetAnchorLeft(), 200);  // half way on the curve over (200, -50)
  EXPECT_EQ(picture->GetAnchorTop(), 75);
  EXPECT_EQ(board.RunningScenarios(), ";art;other");
  RunTo(board, 1500, 10);
  EXPECT_TRUE(fly->IsDead());
  EXPECT_EQ(board.RunningScenarios(), ";other");
}

TEST_F(TBoardScenarioTest, CombinationTextsFlyInRowsAboveTheWave) {
  TGameBoardControl& board = MakeBoard(
      R"(<widgetfactory type="WidgetFactory" name="info_text"><widgetstring>)"
      R"(<widget type="text_widget" name="info_text" visible="yes" anchor_left="-200" width="400" height="34"/>)"
      R"(</widgetstring></widgetfactory>)");
  board.StartLoadedLevel(Level(5, 5), 1, "relax", false, 1);
  ProcessContext().textHook = [](const std::string& text) {
    if (text == "%COMBO x%") return std::string("Combo x");
    if (text == "%PERFECT!%") return std::string("Perfect!");
    if (text == "%DOUBLE%") return std::string("Double");
    return text;
  };
  // A second wave (chain level 2) of two lines, one of them 4 long.
  TWaveStep wave;
  wave.chainLevel = 2;
  wave.lines.push_back({{{0, 0}, {0, 1}, {0, 2}}, 0});
  wave.lines.push_back({{{2, 0}, {2, 1}, {2, 2}, {2, 3}}, 0});
  std::vector<TPoint> centres;
  for (const TWaveLine& line : wave.lines)
    for (const TCellPos& cell : line.cells) {
      TCellExplosion e;
      e.cell = cell;
      e.exploded = true;
      wave.cells.push_back(e);
      centres.push_back(board.CellCentre(cell));
    }
  const TPoint mean = MeanPoint(centres);
  const int before = board.ScenariesGroup()->GetChildren()->GetCount();
  ShowCombinationTexts(board, wave);
  IWidgetCollection* flights = board.ScenariesGroup()->GetChildren();
  ASSERT_EQ(flights->GetCount(), before + 3);
  const char* texts[] = {"Combo x2", "Perfect!", "Double"};
  const char* fonts[] = {"font_combo1", "font_combo2", "font_combo3"};
  for (int i = 0; i < 3; ++i) {
    const Ref<IWidget> row = flights->GetWidget(before + i);
    const int y = mean.y - 51 + 34 * i;  // three rows of 34 centred on the mean
    EXPECT_EQ(VarToInt(row->GetPropertyValue("x1")), mean.x) << i;
    EXPECT_EQ(VarToInt(row->GetPropertyValue("y1")), y) << i;
    EXPECT_EQ(VarToInt(row->GetPropertyValue("y2")), y - 50) << i;
    EXPECT_EQ(VarToInt(row->GetPropertyValue("lifetime")), 1000) << i;
    EXPECT_EQ(VarToInt(row->GetPropertyValue("delay")), 200) << i;
    const Ref<IWidget> text = row->GetChild("text");
    ASSERT_TRUE(text);
    EXPECT_EQ(VarToString(text->GetPropertyValue("text_utf8")), texts[i]) << i;
    EXPECT_EQ(VarToString(text->GetPropertyValue("resourcename")), fonts[i]) << i;
  }
  // A first wave with one line of 3 shows nothing.
  TWaveStep plain;
  plain.chainLevel = 1;
  plain.lines.push_back({{{0, 0}, {0, 1}, {0, 2}}, 0});
  ShowCombinationTexts(board, plain);
  EXPECT_EQ(flights->GetCount(), before + 3);
  ResetProcessContext();
}

}  // namespace
}  // namespace qv::test
