#include <gtest/gtest.h>

#include "core/Random.h"
#include "game/BoardModel.h"
#include "game/TurnDriver.h"
#include "game/ZinLevel.h"

namespace qv {
namespace {

Ref<TZinLevel> OpenLevel(int cols, int rows, const char* palette = "11,23,35,47,52", int kind = kCellNormal) {
  Ref<TZinLevel> made = MakeRef<TZinLevel>();
  TZinLevel& level = *made;
  level.SetFlowerColors(palette);
  level.SetDefaultKind(kind);
  level.SetDefaultFlower(-1);
  level.SetDefaultColour(-1);
  level.SetTime(120);
  level.Resize(cols, rows);
  return made;
}

std::vector<int32_t> Flowers(const TBoardModel& board) {
  std::vector<int32_t> flowers;
  for (const TCell& cell : board.Cells()) flowers.push_back(cell.flower);
  return flowers;
}

TEST(TurnDriverStart, LastCellsShineOnSomeMoves) {
  EXPECT_TRUE(RemainingCellsShine(4, 9));
  EXPECT_FALSE(RemainingCellsShine(4, 10));
  EXPECT_TRUE(RemainingCellsShine(1, 12));
  EXPECT_TRUE(RemainingCellsShine(2, 19));
  EXPECT_FALSE(RemainingCellsShine(5, 9));
}

TEST(TurnDriverStart, SeedFixesTheWholeBoard) {
  const Ref<TZinLevel> levelRef = OpenLevel(8, 7);
  const TZinLevel& level = *levelRef;
  TBoardModel a, b;
  TTurnDriver da(a), db(b);
  SetRandomSeed(42);
  da.StartLevel(level, "relax", 2);
  SetRandomSeed(42);
  db.StartLevel(level, "relax", 2);
  EXPECT_EQ(a.Palette(), b.Palette());
  EXPECT_EQ(Flowers(a), Flowers(b));
  EXPECT_FALSE(a.AnyLine());
  EXPECT_FALSE(da.Status());
  EXPECT_GT(da.Moves().Count(), 0);
  EXPECT_EQ(a.Counter(kCounterChain), 1);
  EXPECT_EQ(a.Counter(kCounterCellGoal), 56);
  EXPECT_EQ(a.Counter(kCounterColourGoal), 0);
  EXPECT_EQ(a.Counter(kCounterAllowance), 0);
  // Another seed gives another board.
  SetRandomSeed(43);
  db.StartLevel(level, "relax", 2);
  EXPECT_NE(Flowers(a), Flowers(b));
}

TEST(TurnDriverStart, ClassicAllowanceAndDifficulty) {
  const Ref<TZinLevel> levelRef = OpenLevel(5, 5, "11,23,35,47", kCellComplete);
  TZinLevel& level = *levelRef;
  level.SetCell(2, 2, {-1, 7, -1});  // an unknown kind is a hole
  level.SetCell(1, 1, {-1, kCellNormal, 0});
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(1);
  driver.StartLevel(level, "classic", 3);
  EXPECT_EQ(board.Counter(kCounterAllowance), 132000);
  EXPECT_EQ(board.Counter(kCounterTimeLeft), 132000);
  EXPECT_EQ(board.Counter(kCounterDifficulty), 3);
  EXPECT_EQ(board.Cell(2, 2).kind, kCellNone);
  EXPECT_EQ(board.Cell(2, 2).flower, kNoColour);
  EXPECT_EQ(board.Cell(0, 0).kind, kCellNormal);  // complete cells must be coloured again
  EXPECT_EQ(board.Cell(1, 1).colour, board.Palette()[0]);
  EXPECT_EQ(board.Counter(kCounterCellGoal), 24);
  EXPECT_EQ(board.Counter(kCounterColourGoal), 1);
  driver.StartLevel(level, "classic", 1, true);
  EXPECT_EQ(board.Counter(kCounterAllowance), 120000);
  EXPECT_EQ(board.Cell(0, 0).kind, kCellComplete);
}

TEST(TurnDriverStart, NothingToDoWinsAndNoMoveLoses) {
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(5);
  driver.StartLevel(*OpenLevel(4, 4, "11,23,35", kCellComplete), "relax", 2);
  EXPECT_EQ(driver.Status(), kStatusWon);
  // At difficulty 1 only cells with a required colour are to complete.
  driver.StartLevel(*OpenLevel(4, 4, "11,23,35"), "relax", 1);
  EXPECT_EQ(driver.Status(), kStatusWon);
  // One column p0 p1 p0: no swap makes a line.
  const Ref<TZinLevel> stuckRef = OpenLevel(1, 3, "11,23");
  TZinLevel& stuck = *stuckRef;
  stuck.SetCell(0, 0, {0, kCellNormal, -1});
  stuck.SetCell(0, 1, {1, kCellNormal, -1});
  stuck.SetCell(0, 2, {0, kCellNormal, -1});
  driver.StartLevel(stuck, "relax", 2);
  EXPECT_EQ(driver.Status(), kStatusNoMoves);
  driver.StartLevel(stuck, "duel_player", 2);
  EXPECT_EQ(driver.Status(), kStatusWon);  // a duel without moves counts as finished
  driver.StartLevel(stuck, "duel_computer", 2);
  EXPECT_EQ(driver.Status(), kStatusWon);  // decided by the scores: 0 against 0
  EXPECT_FALSE(driver.PlayMove({0, 0}, {0, 1}).accepted);
}

TEST(TurnDriverStart, ImpossibleFillGivesUpAndKeepsItsLastBoard) {
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(9);
  driver.StartLevel(*OpenLevel(3, 3, "11"), "relax", 2);
  EXPECT_EQ(board.LastFillRestarts(), kMaxFillRestarts);
  EXPECT_TRUE(board.AnyLine());
  for (const TCell& cell : board.Cells()) EXPECT_EQ(cell.flower, 11);
  EXPECT_EQ(driver.Status(), kStatusNoMoves);
  // An empty palette leaves the cells empty and the level lost.
  driver.StartLevel(*OpenLevel(3, 3, ""), "relax", 2);
  EXPECT_EQ(board.Cell(1, 1).flower, kNoColour);
  EXPECT_EQ(driver.Status(), kStatusNoMoves);
}

TEST(TurnDriverMove, RejectedAndUnproductiveSwapsChangeNothing) {
  const Ref<TZinLevel> levelRef = OpenLevel(6, 6);
  const TZinLevel& level = *levelRef;
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(77);
  driver.StartLevel(level, "relax", 2);
  const auto before = Flowers(board);
  EXPECT_FALSE(driver.PlayMove({0, 0}, {2, 0}).accepted);   // not neighbours
  EXPECT_FALSE(driver.PlayMove({0, 0}, {0, -1}).accepted);  // outside
  // Find a neighbouring pair whose swap makes no line.
  bool tried = false;
  for (int c = 0; c < 6 && !tried; ++c)
    for (int r = 0; r + 1 < 6 && !tried; ++r) {
      const bool listed = std::any_of(driver.Moves().begin(), driver.Moves().end(), [&](const TLinkCellInfo& m) {
        return (m.first == TCellPos{c, r} && m.second == TCellPos{c, r + 1}) ||
               (m.second == TCellPos{c, r} && m.first == TCellPos{c, r + 1});
      });
      if (listed) continue;
      const TMoveOutcome outcome = driver.PlayMove({c, r}, {c, r + 1}, true);
      EXPECT_TRUE(outcome.accepted);
      EXPECT_FALSE(outcome.productive);
      EXPECT_TRUE(outcome.waves.empty());
      tried = true;
    }
  EXPECT_TRUE(tried);
  EXPECT_EQ(Flowers(board), before);
  EXPECT_EQ(board.Counter(kCounterMoves), 0);
}

TEST(TurnDriverMove, ProductiveMoveRunsTheCascadeToRest) {
  const Ref<TZinLevel> levelRef = OpenLevel(8, 8);
  const TZinLevel& level = *levelRef;
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(2024);
  driver.StartLevel(level, "relax", 2);
  const TLinkCellInfo best = driver.Moves()[0];
  const TMoveOutcome outcome = driver.PlayMove(best.first, best.second, true);
  ASSERT_TRUE(outcome.productive);
  ASSERT_GE(outcome.waves.size(), 2u);
  EXPECT_EQ(outcome.waves[0].chain, 1);
  // Every wave but the last finds lines and is followed by falls; the last
  // finds nothing.
  EXPECT_TRUE(outcome.waves.back().wave.lines.empty());
  EXPECT_FALSE(outcome.waves.back().afterFalls);
  int32_t paid = 0;
  for (size_t i = 0; i + 1 < outcome.waves.size(); ++i) {
    EXPECT_FALSE(outcome.waves[i].wave.lines.empty());
    EXPECT_EQ(outcome.waves[i].chain, static_cast<int>(i) + 1);
    ASSERT_TRUE(outcome.waves[i].afterFalls);
    for (const auto& line : outcome.waves[i].wave.lines) paid += line.points;
  }
  EXPECT_EQ(board.Score(1), paid);
  EXPECT_EQ(board.Counter(kCounterMoves), 1);
  EXPECT_EQ(board.Counter(kCounterChain), 1);
  const auto& stats = board.Statistics(1);
  EXPECT_EQ(stats.Get("move"), 1);
  EXPECT_EQ(stats.Get("Score"), paid);
  EXPECT_EQ(stats.Get("max_score_move"), paid);
  EXPECT_EQ(stats.Get("max_combo"), static_cast<int>(outcome.waves.size()) - 1);
  EXPECT_FALSE(board.AnyLine());
  EXPECT_FALSE(board.NeedsFalls());
}

TEST(TurnDriverMove, DuelPlayersAlternate) {
  const Ref<TZinLevel> levelRef = OpenLevel(8, 8);
  const TZinLevel& level = *levelRef;
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(31);
  driver.StartLevel(level, "duel_player", 2);
  EXPECT_EQ(board.CurrentPlayer(), 1);
  const TLinkCellInfo move = driver.Moves()[0];
  driver.PlayMove(move.first, move.second);
  EXPECT_EQ(board.CurrentPlayer(), 2);
  EXPECT_GT(board.Score(1), 0);
  EXPECT_EQ(board.Score(2), 0);
  const TLinkCellInfo next = driver.Moves()[0];
  driver.PlayMove(next.first, next.second);
  EXPECT_EQ(board.CurrentPlayer(), 1);
  EXPECT_GT(board.Score(2), 0);
  EXPECT_EQ(board.Statistics(2).Get("move"), 1);
}

TEST(TurnDriverGame, WholeGamesEndAndKeepTheBoardSound) {
  const Ref<TZinLevel> levelRef = OpenLevel(7, 6, "11,23,35,47");
  TZinLevel& level = *levelRef;
  level.SetCell(3, 1, {-1, kCellDouble, 1});
  level.SetCell(4, 3, {-1, kCellTriple, -1});
  level.SetCell(0, 5, {-1, kCellNone, -1});
  level.SetCell(2, 0, {-10, kCellComplete, -1});
  for (uint32_t seed = 1; seed <= 5; ++seed) {
    TBoardModel board;
    TTurnDriver driver(board);
    SetRandomSeed(seed);
    driver.StartLevel(level, "relax", 2);
    int moves = 0;
    while (!driver.Status() && moves < 2000) {
      const TLinkCellInfo move = driver.Moves()[0];
      ASSERT_TRUE(driver.PlayMove(move.first, move.second).productive);
      ++moves;
      EXPECT_FALSE(board.NeedsFalls());
      if (!driver.Status()) {
        EXPECT_FALSE(board.AnyLine());
      }
    }
    ASSERT_TRUE(driver.Status()) << seed;
    EXPECT_EQ(driver.CutCascades(), 0);
    if (*driver.Status() == kStatusWon) {
      EXPECT_EQ(board.RemainingCells(), 0);
    }
    EXPECT_EQ(board.Counter(kCounterMoves), moves);
  }
}

}  // namespace
}  // namespace qv
