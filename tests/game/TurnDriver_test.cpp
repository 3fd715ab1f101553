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

// Starts the level and runs its first turn start (what the level-start
// scenario's end does in the game).
void Start(TTurnDriver& driver, const TZinLevel& level, EPlayMode mode, int difficulty, bool replay = false) {
  driver.StartLevel(level, mode, difficulty, replay);
  driver.RunToRest();
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
  Start(da, level, EPlayMode::Relax, 2);
  SetRandomSeed(42);
  Start(db, level, EPlayMode::Relax, 2);
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
  Start(db, level, EPlayMode::Relax, 2);
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
  Start(driver, level, EPlayMode::Classic, 3);
  EXPECT_EQ(board.Counter(kCounterAllowance), 132000);
  EXPECT_EQ(board.Counter(kCounterTimeLeft), 132000);
  EXPECT_EQ(board.Counter(kCounterDifficulty), 3);
  EXPECT_EQ(board.Cell(2, 2).kind, kCellNone);
  EXPECT_EQ(board.Cell(2, 2).flower, kNoColour);
  EXPECT_EQ(board.Cell(0, 0).kind, kCellNormal);  // complete cells must be coloured again
  EXPECT_EQ(board.Cell(1, 1).colour, board.Palette()[0]);
  EXPECT_EQ(board.Counter(kCounterCellGoal), 24);
  EXPECT_EQ(board.Counter(kCounterColourGoal), 1);
  Start(driver, level, EPlayMode::Classic, 1, true);
  EXPECT_EQ(board.Counter(kCounterAllowance), 120000);
  EXPECT_EQ(board.Cell(0, 0).kind, kCellComplete);
}

TEST(TurnDriverStart, NothingToDoWinsAndNoMoveLoses) {
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(5);
  Start(driver, *OpenLevel(4, 4, "11,23,35", kCellComplete), EPlayMode::Relax, 2);
  EXPECT_EQ(driver.Status(), ELevelStatus::Won);
  // At difficulty 1 only cells with a required colour are to complete.
  Start(driver, *OpenLevel(4, 4, "11,23,35"), EPlayMode::Relax, 1);
  EXPECT_EQ(driver.Status(), ELevelStatus::Won);
  // One column p0 p1 p0: no swap makes a line.
  const Ref<TZinLevel> stuckRef = OpenLevel(1, 3, "11,23");
  TZinLevel& stuck = *stuckRef;
  stuck.SetCell(0, 0, {0, kCellNormal, -1});
  stuck.SetCell(0, 1, {1, kCellNormal, -1});
  stuck.SetCell(0, 2, {0, kCellNormal, -1});
  Start(driver, stuck, EPlayMode::Relax, 2);
  EXPECT_EQ(driver.Status(), ELevelStatus::NoMoves);
  Start(driver, stuck, EPlayMode::DuelPlayer, 2);
  EXPECT_EQ(driver.Status(), ELevelStatus::Won);  // a duel without moves counts as finished
  Start(driver, stuck, EPlayMode::DuelComputer, 2);
  EXPECT_EQ(driver.Status(), ELevelStatus::Won);  // decided by the scores: 0 against 0
  EXPECT_FALSE(driver.PlayMove({0, 0}, {0, 1}).accepted);
}

TEST(TurnDriverStart, ImpossibleFillGivesUpAndKeepsItsLastBoard) {
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(9);
  Start(driver, *OpenLevel(3, 3, "11"), EPlayMode::Relax, 2);
  EXPECT_EQ(board.LastFillRestarts(), kMaxFillRestarts);
  EXPECT_TRUE(board.AnyLine());
  for (const TCell& cell : board.Cells()) EXPECT_EQ(cell.flower, 11);
  EXPECT_EQ(driver.Status(), ELevelStatus::NoMoves);
  // An empty palette leaves the cells empty and the level lost.
  Start(driver, *OpenLevel(3, 3, ""), EPlayMode::Relax, 2);
  EXPECT_EQ(board.Cell(1, 1).flower, kNoColour);
  EXPECT_EQ(driver.Status(), ELevelStatus::NoMoves);
}

TEST(TurnDriverMove, RejectedAndUnproductiveSwapsChangeNothing) {
  const Ref<TZinLevel> levelRef = OpenLevel(6, 6);
  const TZinLevel& level = *levelRef;
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(77);
  Start(driver, level, EPlayMode::Relax, 2);
  const auto before = Flowers(board);
  EXPECT_FALSE(driver.PlayMove({0, 0}, {2, 0}).accepted);   // not neighbours
  EXPECT_FALSE(driver.PlayMove({0, 0}, {0, -1}).accepted);  // outside
  // Find a neighbouring pair whose swap makes no line.
  bool tried = false;
  for (int c = 0; c < 6 && !tried; ++c)
    for (int r = 0; r + 1 < 6 && !tried; ++r) {
      const bool listed =
          std::any_of(driver.Moves().begin(), driver.Moves().end(), [&](const TLinkCellInfo& m) {
            return (m.first == TCellPos{c, r} && m.second == TCellPos{c, r + 1}) ||
                   (m.second == TCellPos{c, r} && m.first == TCellPos{c, r + 1});
          });
      if (listed) continue;
      const TMoveOutcome outcome = driver.PlayMove({c, r}, {c, r + 1});
      EXPECT_TRUE(outcome.accepted);
      EXPECT_FALSE(outcome.productive);
      ASSERT_EQ(outcome.steps.size(), 2u);
      EXPECT_EQ(outcome.steps[1].kind, ETurnStepKind::SwapBack);
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
  Start(driver, level, EPlayMode::Relax, 2);
  const TLinkCellInfo best = driver.Moves()[0];
  const TMoveOutcome outcome = driver.PlayMove(best.first, best.second);
  ASSERT_TRUE(outcome.productive);
  std::vector<const TWaveStep*> waves;
  for (const TTurnStep& step : outcome.steps)
    if (step.kind == ETurnStepKind::ExplosionWave) waves.push_back(&step.wave);
  ASSERT_GE(waves.size(), 2u);
  // Every wave but the last finds lines and is followed by falls; the last
  // finds nothing.
  EXPECT_TRUE(waves.back()->lines.empty());
  EXPECT_EQ(outcome.steps[outcome.steps.size() - 2].kind, ETurnStepKind::ExplosionWave);
  EXPECT_EQ(outcome.steps.back().kind, ETurnStepKind::TurnStart);
  EXPECT_TRUE(outcome.steps.back().turn.closesMove);
  int32_t paid = 0;
  for (size_t i = 0; i + 1 < waves.size(); ++i) {
    EXPECT_FALSE(waves[i]->lines.empty());
    EXPECT_EQ(waves[i]->chainLevel, static_cast<int>(i) + 1);
    EXPECT_EQ(outcome.steps[2 * i + 2].kind, ETurnStepKind::Falls);
    paid += waves[i]->Points();
  }
  EXPECT_EQ(board.Score(1), paid);
  EXPECT_EQ(board.Counter(kCounterMoves), 1);
  EXPECT_EQ(board.Counter(kCounterChain), 1);
  const auto& stats = board.Statistics(1);
  EXPECT_EQ(stats.Get("move"), 1);
  EXPECT_EQ(stats.Get("Score"), paid);
  EXPECT_EQ(stats.Get("max_score_move"), paid);
  EXPECT_EQ(stats.Get("max_combo"), static_cast<int>(waves.size()) - 1);
  EXPECT_FALSE(board.AnyLine());
  EXPECT_FALSE(board.NeedsFalls());
}

// The board on screen draws each new flower's colour when it starts to
// move; drawn in start order, the falls end exactly as when the driver
// draws them all at once.
TEST(TurnDriverMove, DeferredNewFlowersMatchTheDriversOwnDraws) {
  const Ref<TZinLevel> level = OpenLevel(8, 8);
  TBoardModel now, later;
  TTurnDriver direct(now), deferred(later);
  deferred.SetDeferNewFlowers(true);
  SetRandomSeed(77);
  Start(direct, *level, EPlayMode::Relax, 2);
  ASSERT_FALSE(direct.Moves().Empty());
  const TLinkCellInfo best = direct.Moves()[0];
  direct.PlayMove(best.first, best.second);
  SetRandomSeed(77);
  Start(deferred, *level, EPlayMode::Relax, 2);
  ASSERT_FALSE(deferred.Moves().Empty());
  ASSERT_EQ(deferred.Moves()[0], best);
  deferred.Swap(best.first, best.second);
  int falls = 0;
  while (deferred.Waiting() == ETurnWait::Next) {
    const TTurnStep step = deferred.Next();
    if (step.kind != ETurnStepKind::Falls) continue;
    ++falls;
    // The new flowers' cells wait empty; the first is drawn now, the rest
    // by the next step.
    for (const TNewFlower& flower : step.falls.newFlowers) {
      EXPECT_EQ(flower.colour, kNoColour);
      EXPECT_EQ(later.Cell(flower.cell.col, flower.cell.row).flower, kNoColour);
    }
    if (!step.falls.newFlowers.empty()) {
      const int32_t colour = deferred.ChooseNewFlower(0);
      EXPECT_NE(colour, kNoColour);
      EXPECT_EQ(deferred.ChooseNewFlower(0), colour);  // drawn once
      EXPECT_EQ(deferred.Falls().newFlowers[0].colour, colour);
    }
    EXPECT_EQ(deferred.ChooseNewFlower(step.falls.newFlowers.size()), kNoColour);
  }
  EXPECT_GT(falls, 0);
  EXPECT_EQ(Flowers(later), Flowers(now));
  EXPECT_EQ(later.Score(1), now.Score(1));
}

TEST(TurnDriverMove, DuelPlayersAlternate) {
  const Ref<TZinLevel> levelRef = OpenLevel(8, 8);
  const TZinLevel& level = *levelRef;
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(31);
  Start(driver, level, EPlayMode::DuelPlayer, 2);
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
    Start(driver, level, EPlayMode::Relax, 2);
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
    if (*driver.Status() == ELevelStatus::Won) {
      EXPECT_EQ(board.RemainingCells(), 0);
    }
    EXPECT_EQ(board.Counter(kCounterMoves), moves);
  }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST(TurnDriverSteps, AProductiveMoveStepByStep) {
  const Ref<TZinLevel> levelRef = OpenLevel(8, 8);
  const TZinLevel& level = *levelRef;
  TBoardModel board;
  TTurnDriver driver(board);
  EXPECT_EQ(driver.Swap({0, 0}, {0, 1}).reason, "no level has started");
  SetRandomSeed(2024);
  driver.StartLevel(level, EPlayMode::Relax, 2);
  ASSERT_EQ(driver.Waiting(), ETurnWait::Next);  // the level-start scenario runs
  const TTurnStep start = driver.Next();
  EXPECT_EQ(start.kind, ETurnStepKind::TurnStart);
  EXPECT_EQ(start.then, ETurnWait::Move);
  EXPECT_FALSE(start.turn.closesMove);
  EXPECT_EQ(start.turn.remaining, 64);
  EXPECT_FALSE(start.turn.shine);
  EXPECT_FALSE(start.status);
  ASSERT_EQ(start.turn.moves.Count(), driver.Moves().Count());
  ASSERT_GT(start.turn.moves.Count(), 0);

  // Waiting for a move: Next() does nothing.
  const auto still = Flowers(board);
  const TTurnStep idle = driver.Next();
  EXPECT_EQ(idle.kind, ETurnStepKind::None);
  EXPECT_EQ(idle.then, ETurnWait::Move);
  EXPECT_EQ(Flowers(board), still);

  const TLinkCellInfo best = start.turn.moves[0];
  const int32_t a = board.Cell(best.first.col, best.first.row).flower;
  const int32_t b = board.Cell(best.second.col, best.second.row).flower;
  const TTurnStep swap = driver.Swap(best.first, best.second);
  EXPECT_EQ(swap.kind, ETurnStepKind::Swap);
  EXPECT_EQ(swap.then, ETurnWait::Next);
  EXPECT_TRUE(swap.productive);
  EXPECT_EQ(swap.first, best.first);
  EXPECT_EQ(swap.second, best.second);
  EXPECT_EQ(board.Cell(best.first.col, best.first.row).flower, b);  // exchanged already
  EXPECT_EQ(board.Cell(best.second.col, best.second.row).flower, a);
  EXPECT_EQ(board.Counter(kCounterMoves), 0);  // counted when the explosion starts
  EXPECT_EQ(driver.Swap(best.first, best.second).reason, "the turn is still running");
  EXPECT_EQ(driver.Finish(ELevelStatus::TimeOut).kind, ETurnStepKind::None);

  int waves = 0;
  int32_t paid = 0;
  int colourCells = 0;
  int completed = 0;
  for (;;) {
    const TTurnStep step = driver.Next();
    if (step.kind == ETurnStepKind::TurnStart) {
      EXPECT_TRUE(step.turn.closesMove);
      EXPECT_FALSE(step.turn.cascadeCut);
      EXPECT_EQ(step.turn.remaining, board.RemainingCells());
      break;
    }
    if (step.kind == ETurnStepKind::ExplosionWave) {
      ++waves;
      EXPECT_EQ(board.Counter(kCounterMoves), 1);
      // An empty wave (the last) leaves the chain level where it was.
      EXPECT_EQ(step.wave.chainLevel, step.wave.lines.empty() ? waves - 1 : waves);
      EXPECT_EQ(step.then, ETurnWait::Next);
      // The record tells what the board now holds.
      for (const TCellExplosion& cell : step.wave.cells) {
        EXPECT_TRUE(cell.exploded);
        const TCell& now = board.Cell(cell.cell.col, cell.cell.row);
        EXPECT_EQ(now.kind, cell.newKind);
        EXPECT_FALSE(now.exploding);
        EXPECT_EQ(now.pendingScore, 0);
        if (cell.flowerRemoved) {
          EXPECT_EQ(now.flower, kNoColour);
        }
        paid += cell.paid;
      }
      EXPECT_EQ(step.wave.Points(), [&] {
        int32_t sum = 0;
        for (const TCellExplosion& cell : step.wave.cells) sum += cell.paid;
        return sum;
      }());
      colourCells += step.wave.ColourCells();
      completed += step.wave.CompletedCells();
      continue;
    }
    ASSERT_EQ(step.kind, ETurnStepKind::Falls);
    for (const TFallMove& move : step.falls.moves)
      EXPECT_EQ(board.Cell(move.to.col, move.to.row).flower, move.flower);
    for (const TNewFlower& flower : step.falls.newFlowers) {
      EXPECT_NE(flower.colour, kNoColour);
      EXPECT_EQ(board.Cell(flower.cell.col, flower.cell.row).flower, flower.colour);
    }
    EXPECT_FALSE(board.NeedsFalls());
  }
  EXPECT_GE(waves, 2);
  EXPECT_EQ(board.Score(1), paid);
  EXPECT_EQ(board.Statistics(1).Get("color_cells"), colourCells);
  EXPECT_EQ(board.Statistics(1).Get("total_cells"), completed);
  EXPECT_EQ(board.Statistics(1).Get("move"), 1);
  EXPECT_EQ(driver.Waiting(), ETurnWait::Move);
}

TEST(TurnDriverSteps, AnUnproductiveSwapIsSwappedBackInItsOwnStep) {
  // One column 11 23 11 11 23: swapping the bottom two makes no line (the
  // top two would).
  const Ref<TZinLevel> levelRef = OpenLevel(1, 5, "11,23");
  TZinLevel& level = *levelRef;
  const int32_t indexes[] = {0, 1, 0, 0, 1};
  for (int r = 0; r < 5; ++r) level.SetCell(0, r, {indexes[r], kCellNormal, -1});
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(4);
  Start(driver, level, EPlayMode::Relax, 2);
  ASSERT_EQ(driver.Moves().Count(), 1);
  const std::vector<int32_t> start = Flowers(board);
  const TTurnStep swap = driver.Swap({0, 3}, {0, 4});
  EXPECT_FALSE(swap.productive);
  EXPECT_EQ(swap.then, ETurnWait::Next);
  EXPECT_EQ(board.Cell(0, 3).flower, start[4]);  // swapped while the scenario shows it
  const TTurnStep back = driver.Next();
  EXPECT_EQ(back.kind, ETurnStepKind::SwapBack);
  EXPECT_EQ(back.then, ETurnWait::Move);
  EXPECT_EQ(back.first, (TCellPos{0, 3}));
  EXPECT_EQ(back.second, (TCellPos{0, 4}));
  EXPECT_EQ(Flowers(board), start);
  EXPECT_EQ(board.Counter(kCounterMoves), 0);
  EXPECT_EQ(board.Statistics(1).Get("move"), 0);
  // No turn start follows: the same turn waits for another move.
  EXPECT_EQ(driver.Next().kind, ETurnStepKind::None);
  EXPECT_EQ(driver.Moves().Count(), 1);
}

TEST(TurnDriverSteps, TheLevelEndIsAStepOfItsOwn) {
  const Ref<TZinLevel> doneRef = OpenLevel(4, 4, "11,23,35", kCellComplete);
  const TZinLevel& done = *doneRef;
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(5);
  driver.StartLevel(done, EPlayMode::Relax, 2);
  const TTurnStep turn = driver.Next();
  EXPECT_EQ(turn.kind, ETurnStepKind::TurnStart);
  EXPECT_EQ(turn.status, ELevelStatus::Won);
  EXPECT_EQ(turn.then, ETurnWait::Next);
  EXPECT_EQ(turn.turn.remaining, 0);
  EXPECT_TRUE(turn.turn.moves.Empty());
  EXPECT_FALSE(turn.turn.shine);
  const TTurnStep end = driver.Next();
  EXPECT_EQ(end.kind, ETurnStepKind::LevelEnd);
  EXPECT_EQ(end.status, ELevelStatus::Won);
  EXPECT_EQ(end.then, ETurnWait::Nothing);
  EXPECT_EQ(end.timeBonus, 0);  // only the timed mode pays for time
  EXPECT_EQ(driver.Next().kind, ETurnStepKind::None);
  EXPECT_EQ(driver.Swap({0, 0}, {0, 1}).reason, "the level is over");

  // Classic, 120 s: allowance 132000 ms, all of it left:
  // a = 132000 + 120000 - 132000 = 120000, bonus = (120000 * 2000 div 600000) * 10.
  driver.StartLevel(done, EPlayMode::Classic, 2);
  const std::vector<TTurnStep> steps = driver.RunToRest();
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[1].kind, ETurnStepKind::LevelEnd);
  EXPECT_EQ(steps[1].timeBonus, 4000);
  EXPECT_EQ(board.Score(1), 0);  // shown by the level-end scenario, not paid here
  // A replay has the nominal time: a = 120000 + 120000 - 120000, the same bonus.
  driver.StartLevel(done, EPlayMode::Classic, 2, true);
  EXPECT_EQ(driver.RunToRest().back().timeBonus, 4000);
}

TEST(TurnDriverSteps, FinishEndsTheLevelOnlyWhileWaitingForAMove) {
  const Ref<TZinLevel> levelRef = OpenLevel(6, 6);
  const TZinLevel& level = *levelRef;
  TBoardModel board;
  TTurnDriver driver(board);
  EXPECT_EQ(driver.Finish(ELevelStatus::TimeOut).kind, ETurnStepKind::None);
  SetRandomSeed(8);
  driver.StartLevel(level, EPlayMode::Classic, 2);
  EXPECT_EQ(driver.Finish(ELevelStatus::TimeOut).kind, ETurnStepKind::None);  // the level start runs
  driver.RunToRest();
  const TTurnStep end = driver.Finish(ELevelStatus::TimeOut);
  EXPECT_EQ(end.kind, ETurnStepKind::LevelEnd);
  EXPECT_EQ(end.status, ELevelStatus::TimeOut);
  EXPECT_EQ(end.timeBonus, 0);
  EXPECT_EQ(end.then, ETurnWait::Nothing);
  EXPECT_EQ(driver.Status(), ELevelStatus::TimeOut);
  EXPECT_EQ(driver.Finish(ELevelStatus::TimeOut).kind, ETurnStepKind::None);
  // Against the computer the scores decide, whatever ended the level.
  SetRandomSeed(8);
  Start(driver, level, EPlayMode::DuelComputer, 2);
  EXPECT_EQ(driver.Finish(ELevelStatus::TimeOut).status, ELevelStatus::Won);  // 0 against 0
  SetRandomSeed(8);
  Start(driver, level, EPlayMode::DuelComputer, 2);
  board.SetScore(2, 10);
  EXPECT_EQ(driver.Finish(ELevelStatus::NoMoves).status, ELevelStatus::DuelLost);
}

TEST(TurnDriverSteps, ACascadeThatNeverRestsIsCutOff) {
  // A palette of one colour and one foreign flower: 11 23 11 11 in a
  // column. Swapping the top two lines up three 11s, and every new flower
  // is 11 again, so each wave finds a line.
  const Ref<TZinLevel> levelRef = OpenLevel(1, 4, "11");
  TZinLevel& level = *levelRef;
  level.SetCell(0, 0, {0, kCellNormal, -1});
  level.SetCell(0, 1, {23, kCellNormal, -1});  // beyond the palette: a colour code itself
  level.SetCell(0, 2, {0, kCellNormal, -1});
  level.SetCell(0, 3, {0, kCellNormal, -1});
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(3);
  Start(driver, level, EPlayMode::Relax, 2);
  ASSERT_FALSE(driver.Status());
  ASSERT_EQ(driver.Moves().Count(), 1);
  const TMoveOutcome outcome = driver.PlayMove({0, 0}, {0, 1});
  ASSERT_TRUE(outcome.productive);
  int waves = 0;
  int falls = 0;
  for (const TTurnStep& step : outcome.steps) {
    waves += step.kind == ETurnStepKind::ExplosionWave;
    falls += step.kind == ETurnStepKind::Falls;
  }
  EXPECT_EQ(waves, kMaxCascadeWaves);
  EXPECT_EQ(falls, kMaxCascadeWaves);  // the last wave's falls still run
  const TTurnStep& turn = outcome.steps[outcome.steps.size() - 2];
  ASSERT_EQ(turn.kind, ETurnStepKind::TurnStart);
  EXPECT_TRUE(turn.turn.cascadeCut);
  EXPECT_EQ(driver.CutCascades(), 1);
  EXPECT_EQ(outcome.steps.back().kind, ETurnStepKind::LevelEnd);
  EXPECT_EQ(board.Statistics(1).Get("move"), 1);
  EXPECT_EQ(board.Statistics(1).Get("max_combo"), kMaxCascadeWaves);
}

TEST(TurnDriverSteps, StepsNameThePlayerWhoseTurnItIs) {
  const Ref<TZinLevel> levelRef = OpenLevel(8, 8);
  const TZinLevel& level = *levelRef;
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(31);
  Start(driver, level, EPlayMode::DuelPlayer, 2);
  const TLinkCellInfo move = driver.Moves()[0];
  const TMoveOutcome outcome = driver.PlayMove(move.first, move.second);
  for (size_t i = 0; i + 1 < outcome.steps.size(); ++i) EXPECT_EQ(outcome.steps[i].player, kPlayerOne) << i;
  EXPECT_EQ(outcome.steps.back().kind, ETurnStepKind::TurnStart);
  EXPECT_EQ(outcome.steps.back().player, kPlayerTwo);  // to move next
  SetRandomSeed(31);
  Start(driver, level, EPlayMode::HowToPlay, 2);
  EXPECT_EQ(board.CurrentPlayer(), kTutorialPlayer);
}

}  // namespace
}  // namespace qv
