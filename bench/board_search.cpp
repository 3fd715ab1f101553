// The possible-move search on a full 12 x 9 board, next to the naive search
// that rescans the whole board after every candidate swap; and whole moves
// played through the turn driver, step by step.
#include <benchmark/benchmark.h>

#include "core/Random.h"
#include "game/BoardModel.h"
#include "game/TurnDriver.h"
#include "game/ZinLevel.h"

namespace {

using namespace qv;

Ref<TZinLevel> OpenLevel(const char* palette, int cols, int rows) {
  const Ref<TZinLevel> made = MakeRef<TZinLevel>();
  TZinLevel& level = *made;
  level.SetFlowerColors(palette);
  level.SetDefaultKind(kCellNormal);
  level.SetDefaultFlower(-1);
  level.SetDefaultColour(-1);
  level.Resize(cols, rows);
  return made;
}

TBoardModel FullBoard(const char* palette) {
  const Ref<TZinLevel> levelRef = OpenLevel(palette, 12, 9);
  const TZinLevel& level = *levelRef;
  TBoardModel board;
  board.SetCounter(kCounterDifficulty, 1);
  SetRandomSeed(12345);
  board.Build(level);
  board.SetCounter(kCounterChain, 1);
  return board;
}

// Swap, rescan the whole board, swap back.
int NaiveSearch(TBoardModel& board, TLinkCellInfoCollection& moves) {
  moves.Clear();
  if (board.AnyLine()) return 0;
  TCellList cells;
  for (int r = 0; r < board.Rows(); ++r) {
    for (int c = 0; c < board.Cols(); ++c) {
      if (!board.Movable(c, r)) continue;
      const TCellPos partners[3] = {{c, r + 1}, {c + 1, r}, {c + 1, (c & 1) == 0 ? r + 1 : r - 1}};
      for (const TCellPos& p : partners) {
        if (!board.Movable(p.col, p.row) || board.Cell(p.col, p.row).flower == board.Cell(c, r).flower)
          continue;
        board.ExchangeFlowers({c, r}, p);
        if (board.AnyLine()) {
          int32_t points = 0;
          if (board.LineAt(c, r, &cells)) points += board.ScoreLine(cells);
          if (board.LineAt(p.col, p.row, &cells)) points += board.ScoreLine(cells);
          moves.Add({{c, r}, p, points});
        }
        board.ExchangeFlowers({c, r}, p);
      }
    }
  }
  return moves.Count();
}

const char* const kPalettes[] = {"11,23,35,47", "11,23,35,47,52", "11,23,35,47,52,64"};

void BM_PossibleMoves(benchmark::State& state) {
  TBoardModel board = FullBoard(kPalettes[state.range(0)]);
  TLinkCellInfoCollection moves;
  for (auto _ : state) {
    board.PossibleMoves(moves);
    benchmark::DoNotOptimize(moves.Count());
  }
  state.counters["moves"] = moves.Count();
}
BENCHMARK(BM_PossibleMoves)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_NaiveSearch(benchmark::State& state) {
  TBoardModel board = FullBoard(kPalettes[state.range(0)]);
  TLinkCellInfoCollection moves;
  for (auto _ : state) {
    NaiveSearch(board, moves);
    benchmark::DoNotOptimize(moves.Count());
  }
  state.counters["moves"] = moves.Count();
}
BENCHMARK(BM_NaiveSearch)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The strongest move, played to the next turn start, on a square board of
// the given size (a new seeded game whenever one ends).
void BM_DriverMove(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const Ref<TZinLevel> levelRef = OpenLevel(kPalettes[1], size, size);
  const TZinLevel& level = *levelRef;
  TBoardModel board;
  TTurnDriver driver(board);
  uint32_t seed = 1;
  long long steps = 0;
  for (auto _ : state) {
    if (driver.Waiting() != ETurnWait::Move) {
      state.PauseTiming();
      SetRandomSeed(seed++);
      driver.StartLevel(level, EPlayMode::Relax, 2);
      driver.RunToRest();
      state.ResumeTiming();
      if (driver.Waiting() != ETurnWait::Move) continue;
    }
    const TLinkCellInfo move = driver.Moves()[0];
    driver.Swap(move.first, move.second);
    while (driver.Waiting() == ETurnWait::Next) {
      benchmark::DoNotOptimize(driver.Next().kind);
      ++steps;
    }
  }
  state.counters["steps"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DriverMove)->Arg(9)->Arg(32)->Arg(64)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
