// The board on screen: how it builds its cells from a level, picks cells
// under the pointer, composes a cell's pictures, takes the player's presses
// and runs whole turns on a fixed frame step with the view catching up with
// the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "board/BoardCursor.h"
#include "board/BoardRegistration.h"
#include "board/GameBoardControl.h"
#include "board/LevelManager.h"
#include "core/Messages.h"
#include "core/Random.h"
#include "core/Trace.h"
#include "game/ZinLevel.h"
#include "storage/XMLStorage.h"
#include "widgets/WidgetTestSupport.h"

namespace qv {
namespace {

std::string Factory(const std::string& name, const std::string& widget) {
  return "<widgetfactory type='WidgetFactory' name='" + name + "'><widgetstring>" + widget +
         "</widgetstring></widgetfactory>";
}

std::string Group(const std::string& name) {
  return "<widget type='group_widget' name='" + name + "' visible='yes'/>";
}

// A board with the pictures as empty named groups and the turn cycle's
// scenarios; the level start, hints and flights are left out (their
// factories are missing, so the board goes on without them).
std::string BoardXml() {
  return "<widget type='GameBoardControl' name='gameboard' visible='yes' mousestop='yes' enabled='yes' "
         "width='640' height='480'><widgets>" +
         Group("mat_group") + "<widget type='group_widget' name='scenaries_group' visible='yes' z='100'/>" +
         "</widgets><widgetfactories>" + Factory("MatCell", Group("mat_%name%")) +
         Factory("CellTypeComplete", Group("complete")) +
         Factory("CellTypeNormal", Group("normal_%Cellcolor%")) +
         Factory("CellTypeFlowerContur", Group("contour_%Celltype%")) +
         Factory("CellTypeDouble", Group("double")) + Factory("CellTypeTriple", Group("triple")) +
         Factory("FlowerColor",
                 "<widget type='FlowerWidget' name='f' visible='yes' Flowercolor='%Flowercolor%'/>") +
         Factory("Artifact",
                 "<widget type='FlowerWidget' name='a' visible='yes' Flowercolor='%Flowercolor%'/>") +
         Factory("scenario_exchange_Flowers",
                 "<widget type='ScenarioExchangeFlowers' name='exchange' visible='yes' RefCells='%RefCells%' "
                 "duration='200'/>") +
         Factory("scenario_explosion", "<widget type='ScenarioExplosion' name='explosion' visible='yes'/>") +
         Factory("scenario_combination_explosion",
                 "<widget type='ScenarioCombinationExplosion' name='line_%name%' visible='yes' "
                 "RefCells='%RefCells%' explosion_num='%explosion_num%'/>") +
         Factory("scenario_falls", "<widget type='ScenarioFalls' name='falls' visible='yes'/>") +
         Factory("ShineEffect", Group("shine")) +
         "</widgetfactories><sounds><sound name='sound_choice' resourcename='choice'/>"
         "<sound name='sound_unchoice' resourcename='unchoice'/></sounds></widget>";
}

Ref<TZinLevel> Level(const std::string& xml) {
  auto level = MakeRef<TZinLevel>();
  level->Load(LoadStorageText(xml));
  return level;
}

// 5 x 4 with a hole, a double lock, a triple lock, a complete cell and
// two required colours, shifted by (40, 30).
constexpr char kLevel[] =
    "<level name='t' Flowercolors='11,22,33,44' shift_x='40' shift_y='30' cols='5' rows='4' "
    "Celltype_default='1' Flowercolor_default='-1' Cellcolor_default='-1'><cells_def>"
    "<cell_def col='0' row='0' Celltype='-1'/><cell_def col='1' row='1' Celltype='2'/>"
    "<cell_def col='3' row='2' Celltype='3'/><cell_def col='2' row='3' Celltype='0'/>"
    "<cell_def col='4' row='1' Cellcolor='0'/><cell_def col='2' row='0' Cellcolor='9'/>"
    "</cells_def></level>";

class BoardTest : public test::TWidgetTest {
protected:
  void SetUp() override {
    TWidgetTest::SetUp();
    RegisterBoardTypes();
    SetRandomSeed(1234);
    root = Attach(BoardXml());
    board = dynamic_cast<TGameBoardControl*>(root.get());
    ASSERT_NE(board, nullptr);
  }

  void Start(const std::string& levelXml = kLevel, const std::string& mode = "relax", int difficulty = 1) {
    board->StartLoadedLevel(Level(levelXml), 1, mode, false, difficulty);
  }
  TBaseLevelManager& Manager() { return *dynamic_cast<TBaseLevelManager*>(board->GetLevelManager()); }
  // One frame as the screen runs it: time, then the dirty pass.
  void Frame(int dt = 10) {
    root->Advance(dt);
    root->UpdateDirtyRegion(false, false);
  }
  // Frames of 10 ms until the manager waits for a move again (or a limit).
  int RunToRest(int limit = 100000) {
    int ms = 0;
    do {
      Frame();
      ms += 10;
    } while (Manager().GetState() != kStateWaiting && ms < limit && board->GetBoardMode() == kBoardPlay);
    return ms;
  }
  void Press(TPoint p) {
    board->OnMouseDown(p, 0, 0);
    board->OnMouseUp(p, 0, 0);
  }

  Ref<IWidget> root;
  TGameBoardControl* board = nullptr;
};

TEST_F(BoardTest, BuildsOneCellWidgetPerCellAtTheRulesGeometry) {
  Start();
  EXPECT_EQ(board->CellWidget(0, 0), nullptr);  // the hole
  EXPECT_EQ(board->CellWidget(5, 0), nullptr);  // outside
  EXPECT_EQ(board->CellWidget(-1, 2), nullptr);
  TCellWidget* cell = board->CellWidget(3, 2);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->GetName(), "Cell3_2");
  // Odd column: 3 * 53 + 40, 2 * 60 + 30; an even column sits 30 lower.
  EXPECT_EQ(cell->GetAnchorLeft(), 199);
  EXPECT_EQ(cell->GetAnchorTop(), 150);
  EXPECT_EQ(board->CellWidget(2, 1)->GetAnchorTop(), 120);
  EXPECT_EQ(board->CellWidget(3, 2)->GetKind(), kCellTriple);
  EXPECT_TRUE(board->CellWidget(3, 2)->GetLockWidget());
  EXPECT_TRUE(board->CellWidget(1, 1)->GetLockWidget());
  EXPECT_TRUE(board->CellWidget(2, 3)->GetBackgroundWidget());
  EXPECT_EQ(board->CellWidget(2, 3)->GetBackgroundWidget()->GetName(), "background");
  // A colour index beyond the palette keeps its raw value (9: colour 0, shape 9).
  EXPECT_EQ(board->CellWidget(2, 0)->GetCellColour(), 9);
  EXPECT_TRUE(board->CellWidget(2, 0)->GetContourWidget());
  // One mat per existing cell.
  EXPECT_EQ(board->GetChild("mat_group")->GetChildren()->GetCount(), 19);
  EXPECT_TRUE(board->CellWidgetsAgree());
  EXPECT_FALSE(board->Model().AnyLine());
}

TEST_F(BoardTest, AtDifficultyThreeCompleteCellsAreBuiltAsNormal) {
  Start(kLevel, "relax", 3);
  EXPECT_EQ(board->CellWidget(2, 3)->GetKind(), kCellNormal);
  EXPECT_TRUE(board->CellWidgetsAgree());
}

TEST_F(BoardTest, ThePointerPicksTheNearestCellCloserThan30Pixels) {
  Start();
  const TPoint centre = board->CellCentre(3, 2);
  EXPECT_EQ(board->NearestCell(centre, kPickDistance), (TCellPos{3, 2}));
  EXPECT_EQ(board->NearestCell({centre.x + 29, centre.y}, kPickDistance), (TCellPos{3, 2}));
  EXPECT_FALSE(board->NearestCell({centre.x, centre.y + 30}, kPickDistance));  // 30 is not closer than 30
  // Halfway between two cells of one column: the first in column-major order.
  EXPECT_EQ(board->NearestCell({centre.x, centre.y - 30}, 31), (TCellPos{3, 1}));
  EXPECT_FALSE(board->NearestCell(board->CellCentre(0, 0), 10));  // the hole has no cell
}

TEST_F(BoardTest, TheContourShowsTheShapeTheCellAsksFor) {
  Start();
  TCellWidget& cell = *board->CellWidget(4, 1);  // asks for palette entry 0
  const int32_t wanted = cell.GetCellColour();
  const Ref<IWidget> contour = cell.GetContourWidget();
  ASSERT_TRUE(contour);
  cell.SetFlower(wanted == 11 ? 22 : 11);
  cell.ShowFlower(true);
  EXPECT_FALSE(contour->IsVisible());  // another flower covers it
  cell.SetFlower(wanted);
  EXPECT_TRUE(contour->IsVisible());
  EXPECT_FALSE(contour->IsPaused());  // the right flower: it runs
  cell.ShowFlower(false);
  EXPECT_TRUE(contour->IsVisible());
  EXPECT_TRUE(contour->IsPaused());  // a still outline
  cell.SetFlower(kNoColour);
  EXPECT_TRUE(contour->IsVisible());
  EXPECT_FALSE(cell.GetFlowerWidget());
}

TEST_F(BoardTest, ReleasedFlowersAreReusedForTheSameCode) {
  Start();
  const Ref<IWidget> taken = board->TakeFlowerWidget(33);
  ASSERT_TRUE(taken);
  board->ReleaseFlowerWidget(taken);
  EXPECT_EQ(board->FlowerPoolSize(), 1u);
  EXPECT_NE(board->TakeFlowerWidget(44), taken);
  EXPECT_EQ(board->TakeFlowerWidget(33), taken);
  EXPECT_EQ(board->FlowerPoolSize(), 0u);
}

TEST_F(BoardTest, PressesSelectDeselectAndSwapNeighbours) {
  Start();
  RunToRest();
  ASSERT_EQ(Manager().GetState(), kStateWaiting);
  const TLinkCellInfo move = board->Driver().Moves()[0];
  const TPoint a = board->CellCentre(move.first);
  const TPoint b = board->CellCentre(move.second);
  // A press on a locked cell is ignored.
  Press(board->CellCentre(3, 2));
  EXPECT_FALSE(board->Selection());
  Press(a);
  EXPECT_EQ(board->Selection(), move.first);
  // The release of the press that selected keeps it; a second click on it
  // deselects.
  Press(a);
  EXPECT_FALSE(board->Selection());
  EXPECT_EQ(engine->played.back().rfind("unchoice", 0), 0u);
  // Dragging from a flower to its neighbour swaps them.
  board->OnMouseDown(a, 0, 0);
  board->OnMouseUp(b, 0, 0);
  EXPECT_EQ(Manager().GetState(), kStateSwap);
  EXPECT_FALSE(board->Selection());
  EXPECT_EQ(Manager().SwapFirst(), move.second);
  EXPECT_EQ(Manager().SwapSecond(), move.first);
}

// Keyboard play: the keys that walk the cursor from one cell to another.
std::vector<unsigned> KeysBetween(TGameBoardControl& board, TCellPos from, TCellPos to) {
  const unsigned keys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, 'Q', 'E', 'A', 'D'};
  const auto exists = [&](TCellPos p) { return board.CellWidget(p.col, p.row) != nullptr; };
  // Breadth first over the cursor's steps.
  std::vector<std::pair<TCellPos, std::vector<unsigned>>> queue{{from, {}}};
  std::vector<TCellPos> seen{from};
  for (size_t i = 0; i < queue.size(); ++i) {
    if (queue[i].first == to) return queue[i].second;
    for (unsigned key : keys) {
      const TCellPos next = StepCursor(queue[i].first, *CursorStepOfKey(key), board.Model().Cols(),
                                       board.Model().Rows(), exists);
      if (std::find(seen.begin(), seen.end(), next) != seen.end()) continue;
      seen.push_back(next);
      auto path = queue[i].second;
      path.push_back(key);
      queue.push_back({next, path});
    }
  }
  ADD_FAILURE() << "no keys lead there";
  return {};
}

TEST_F(BoardTest, TheKeyboardMovesACursorSelectsAndSwaps) {
  Start();
  RunToRest();
  ASSERT_EQ(Manager().GetState(), kStateWaiting);
  EXPECT_FALSE(board->Cursor());
  EXPECT_FALSE(board->KeyDown('X'));
  EXPECT_FALSE(board->KeyDown(VK_ESCAPE));  // nothing to take back: the screen pauses
  // The first key shows the cursor on the cell nearest the board's middle
  // (cell 2,1 of the 5 x 4 board) without moving it.
  ASSERT_TRUE(board->KeyDown(VK_DOWN));
  ASSERT_TRUE(board->Cursor());
  EXPECT_EQ(*board->Cursor(), (TCellPos{2, 1}));
  ASSERT_TRUE(board->KeyDown(VK_DOWN));
  EXPECT_EQ(*board->Cursor(), (TCellPos{2, 2}));
  // Return selects, Escape takes the selection back.
  ASSERT_TRUE(board->KeyDown(VK_RETURN));
  EXPECT_EQ(board->Selection(), (TCellPos{2, 2}));
  ASSERT_TRUE(board->KeyDown(VK_ESCAPE));
  EXPECT_FALSE(board->Selection());
  // A listed move played with the keys alone.
  const TLinkCellInfo move = board->Driver().Moves()[0];
  for (unsigned key : KeysBetween(*board, *board->Cursor(), move.first)) ASSERT_TRUE(board->KeyDown(key));
  EXPECT_EQ(*board->Cursor(), move.first);
  ASSERT_TRUE(board->KeyDown(VK_SPACE));
  EXPECT_EQ(board->Selection(), move.first);
  const std::vector<unsigned> step = KeysBetween(*board, move.first, move.second);
  ASSERT_EQ(step.size(), 1u);  // a neighbour is one step away
  ASSERT_TRUE(board->KeyDown(step[0]));
  ASSERT_TRUE(board->KeyDown(VK_SPACE));
  EXPECT_EQ(Manager().GetState(), kStateSwap);
  EXPECT_EQ(Manager().SwapFirst(), move.second);
}

TEST_F(BoardTest, AProductiveSwapRunsItsCascadeAndTheViewEndsWhereTheRulesAre) {
  Start();
  RunToRest();
  std::vector<TTraceEvent> events;
  const TTrace::THandle listen = TTrace::Listen([&](const TTraceEvent& e) { events.push_back(e); });
  const TLinkCellInfo move = board->Driver().Moves()[0];
  Press(board->CellCentre(move.first));
  Press(board->CellCentre(move.second));
  ASSERT_EQ(Manager().GetState(), kStateSwap);
  // The swap lasts its 200 ms; only then do the rules exchange the flowers.
  const int32_t before = board->Model().Cell(move.first.col, move.first.row).flower;
  for (int t = 0; t < 190; t += 10) Frame();
  EXPECT_EQ(board->Model().Cell(move.first.col, move.first.row).flower, before);
  RunToRest();
  EXPECT_EQ(Manager().GetState(), kStateWaiting);
  EXPECT_EQ(board->Model().Counter(kCounterMoves), 1);
  EXPECT_GT(board->Model().Score(1), 0);
  EXPECT_TRUE(board->CellWidgetsAgree());
  EXPECT_FALSE(board->Model().AnyLine());
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].event, "move");
  EXPECT_EQ(*events[0].Field("productive"), "true");
  EXPECT_EQ(*events[0].Field("swap"),
            "[" + std::to_string(move.second.col) + "," + std::to_string(move.second.row) + "," +
                std::to_string(move.first.col) + "," + std::to_string(move.first.row) + "]");
}

TEST_F(BoardTest, ASwapWithoutALineIsSwappedBackAndNotCounted) {
  Start();
  RunToRest();
  // Two movable neighbours with different flowers whose swap is not listed.
  const TBoardModel& model = board->Model();
  std::optional<std::pair<TCellPos, TCellPos>> dud;
  for (int c = 0; c < model.Cols() && !dud; ++c)
    for (int r = 0; r + 1 < model.Rows() && !dud; ++r) {
      const TCellPos a{c, r}, b{c, r + 1};
      if (!model.Movable(a.col, a.row) || !model.Movable(b.col, b.row)) continue;
      if (model.Cell(a.col, a.row).flower == model.Cell(b.col, b.row).flower) continue;
      bool listed = false;
      for (const auto& m : board->Driver().Moves())
        listed |= (m.first == a && m.second == b) || (m.first == b && m.second == a);
      if (!listed) dud = std::make_pair(a, b);
    }
  ASSERT_TRUE(dud);
  const auto flowers = [&] {
    std::vector<int32_t> out;
    for (const TCell& cell : model.Cells()) out.push_back(cell.flower);
    return out;
  };
  const std::vector<int32_t> before = flowers();
  Press(board->CellCentre(dud->first));
  Press(board->CellCentre(dud->second));
  ASSERT_EQ(Manager().GetState(), kStateSwap);
  RunToRest();
  EXPECT_EQ(Manager().GetState(), kStateWaiting);
  EXPECT_EQ(model.Counter(kCounterMoves), 0);
  EXPECT_EQ(flowers(), before);
  EXPECT_TRUE(board->CellWidgetsAgree());
}

TEST_F(BoardTest, ShineWavePatternsDelayEachCell) {
  // cols 9, rows 7; cell (4, 2).
  EXPECT_EQ(ShineDelay(0, 4, 2, 9, 7), ((9 - 1 - 4) / 2 + 2) * 120);
  EXPECT_EQ(ShineDelay(1, 4, 2, 9, 7), 420);
  EXPECT_EQ(ShineDelay(2, 4, 2, 9, 7), 480);
  EXPECT_EQ(ShineDelay(3, 4, 2, 9, 7), 500);
  EXPECT_EQ(ShineDelay(3, 5, 2, 9, 7), 250);
  EXPECT_EQ(ShineDelay(4, 5, 2, 9, 7), (7 + 2 - 1 - 2) * 125);
  EXPECT_EQ(ShineDelay(5, 4, 2, 9, 7), 400);
  EXPECT_EQ(ShineDelay(6, 5, 2, 9, 7), (7 + 3 - 1 - 2) * 100);
  EXPECT_EQ(ShineDelay(9, 5, 2, 9, 7), 0);
}

TEST_F(BoardTest, AShineWaveCreatesEachCellsEffectWhenItsDelayComesDue) {
  Start(
      "<level name='s' Flowercolors='11,22,33' shift_x='40' shift_y='30' cols='4' rows='3' "
      "Celltype_default='1' Flowercolor_default='-1' Cellcolor_default='-1'/>");
  RunToRest();
  const auto shining = [&](int col) {
    int count = 0;
    for (int r = 0; r < 3; ++r)
      if (TCellWidget* cell = board->CellWidget(col, r); cell && cell->FindWidget("shine")) ++count;
    return count;
  };
  Frame();
  // Pattern 1 waits 105 ms per column; on a 10 ms step a column's effects
  // go in on the frame before the one their delay ends in.
  board->ShineWave(1, 1);
  EXPECT_EQ(shining(0), 3);
  EXPECT_EQ(shining(1), 0);
  for (int i = 0; i < 9; ++i) Frame();
  EXPECT_EQ(shining(1), 0);
  Frame();
  EXPECT_EQ(shining(1), 3);
  EXPECT_EQ(shining(2), 0);
  for (int i = 0; i < 11; ++i) Frame();
  EXPECT_EQ(shining(2), 3);
  // A level started again drops the effects still to come.
  Start(
      "<level name='s' Flowercolors='11,22,33' shift_x='40' shift_y='30' cols='4' rows='3' "
      "Celltype_default='1' Flowercolor_default='-1' Cellcolor_default='-1'/>");
  for (int i = 0; i < 40; ++i) Frame();
  EXPECT_EQ(shining(3), 0);
}

TEST_F(BoardTest, ALevelPlayedToItsEndReachesTheLevelEndStep) {
  // One row of three colours: every move clears cells until none remains
  // or no move is left; either way the level ends and the board says so.
  Start(
      "<level name='s' Flowercolors='11,22,33' shift_x='40' shift_y='30' cols='4' rows='4' "
      "Celltype_default='1' Flowercolor_default='-1' Cellcolor_default='-1'/>");
  std::vector<std::string> ends;
  const TTrace::THandle listen = TTrace::Listen([&](const TTraceEvent& e) {
    if (e.event == "level_end") ends.push_back(*e.Field("status"));
  });
  for (int moves = 0; moves < 200 && ends.empty(); ++moves) {
    RunToRest();
    if (board->GetBoardMode() != kBoardPlay) {
      Frame();
      break;
    }
    const TLinkCellInfo move = board->Driver().Moves()[0];
    Press(board->CellCentre(move.first));
    Press(board->CellCentre(move.second));
  }
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_TRUE(ends[0] == "0" || ends[0] == "1") << ends[0];
}

TEST_F(BoardTest, TheTutorialPlaysItselfAndStartsAgainAtItsEnd) {
  std::vector<std::string> events;
  const TTrace::THandle listen = TTrace::Listen([&](const TTraceEvent& e) {
    if (e.event != "save") events.push_back(e.event);
  });
  Start(
      "<level name='s' Flowercolors='11,22,33' shift_x='40' shift_y='30' cols='4' rows='4' "
      "Celltype_default='1' Flowercolor_default='-1' Cellcolor_default='-1'/>",
      "how_to_play", 2);
  int frames = 0;
  while (std::count(events.begin(), events.end(), "level_start") < 2 && frames++ < 200000) Frame();
  ASSERT_EQ(std::count(events.begin(), events.end(), "level_start"), 2);
  EXPECT_EQ(std::count(events.begin(), events.end(), "level_end"), 1);
  EXPECT_GT(std::count(events.begin(), events.end(), "move"), 0);
  // Nobody pressed anything: the tutorial's player moved.
  EXPECT_EQ(board->Model().CurrentPlayer(), kTutorialPlayer);
  EXPECT_TRUE(board->CellWidgetsAgree());
}

}  // namespace
}  // namespace qv
