// The possible-move search on a full 12 x 9 board, next to the naive search
// that rescans the whole board after every candidate swap.
#include <benchmark/benchmark.h>

#include "core/Random.h"
#include "game/BoardModel.h"
#include "game/ZinLevel.h"

namespace {

using namespace qv;

TBoardModel FullBoard(const char* palette) {
  const Ref<TZinLevel> levelRef = MakeRef<TZinLevel>();
  TZinLevel& level = *levelRef;
  level.SetFlowerColors(palette);
  level.SetDefaultKind(kCellNormal);
  level.SetDefaultFlower(-1);
  level.SetDefaultColour(-1);
  level.Resize(12, 9);
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
        if (!board.Movable(p.col, p.row) || board.Cell(p.col, p.row).flower == board.Cell(c, r).flower) continue;
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

}  // namespace

BENCHMARK_MAIN();
