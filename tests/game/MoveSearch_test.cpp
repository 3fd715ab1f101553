#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "BoardTestSupport.h"
#include "core/Random.h"
#include "game/BoardModel.h"
#include "game/ComputerPlayer.h"
#include "game/ZinLevel.h"

namespace qv {
namespace {

using test::DistinctBoard;
using test::SetFlower;
using test::SetKind;

TEST(LinkCellInfoCollection, StrongestFirstLaterEqualFirst) {
  TLinkCellInfoCollection moves;
  moves.Add({{0, 0}, {0, 1}, 100});
  moves.Add({{1, 0}, {1, 1}, 300});
  moves.Add({{2, 0}, {2, 1}, 100});
  moves.Add({{3, 0}, {3, 1}, 200});
  ASSERT_EQ(moves.Count(), 4);
  EXPECT_EQ(moves[0].first.col, 1);
  EXPECT_EQ(moves[1].first.col, 3);
  EXPECT_EQ(moves[2].first.col, 2);  // the later of the equal pair
  EXPECT_EQ(moves[3].first.col, 0);
  EXPECT_EQ(moves[0].PairText(), "1,0,1,1,");
  // Assigning the same insertions at once gives the same order.
  TLinkCellInfoCollection assigned;
  assigned.Assign(
      {{{0, 0}, {0, 1}, 100}, {{1, 0}, {1, 1}, 300}, {{2, 0}, {2, 1}, 100}, {{3, 0}, {3, 1}, 200}});
  ASSERT_EQ(assigned.Count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(assigned[i], moves[i]) << i;
}

TEST(LinkCellInfoCollection, AssignMatchesOneAddEachOnManyTies) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    SetRandomSeed(seed);
    std::vector<TLinkCellInfo> inserted;
    TLinkCellInfoCollection added;
    for (int i = 0; i < 200; ++i) {
      const TLinkCellInfo info{{i, 0}, {i, 1}, RandomInt(6) * 100};
      inserted.push_back(info);
      added.Add(info);
    }
    TLinkCellInfoCollection assigned;
    assigned.Assign(inserted);
    ASSERT_EQ(assigned.Count(), added.Count());
    for (int i = 0; i < added.Count(); ++i) ASSERT_EQ(assigned[i], added[i]) << seed << " at " << i;
  }
}

TEST(MoveSearch, FindsSwapsWithTheirPoints) {
  auto board = DistinctBoard(5, 5);
  // (1,1) and (1,2) hold 11; a 11 at (2,3)... swapping (1,3) with a
  // neighbour holding 11 completes the column.
  SetFlower(board, 1, 1, 11);
  SetFlower(board, 1, 2, 11);
  SetFlower(board, 0, 3, 11);  // (0,3) neighbours (1,3) (odd column 1: (0,2),(0,3))
  TLinkCellInfoCollection moves;
  ASSERT_TRUE(board.PossibleMoves(moves));
  ASSERT_EQ(moves.Count(), 1);
  EXPECT_EQ(moves[0].first, (TCellPos{0, 3}));
  EXPECT_EQ(moves[0].second, (TCellPos{1, 3}));
  EXPECT_EQ(moves[0].points, 1500);
  EXPECT_EQ(board.PossibleMoveCount(), 1);
  // The search leaves the board as it found it.
  EXPECT_EQ(board.Cell(0, 3).flower, 11);
}

TEST(MoveSearch, NothingWhileALineExistsAndNoEqualSwaps) {
  auto board = DistinctBoard(4, 4);
  for (int r = 0; r < 3; ++r) SetFlower(board, 2, r, 11);
  TLinkCellInfoCollection moves;
  EXPECT_FALSE(board.PossibleMoves(moves));
  EXPECT_TRUE(moves.Empty());
  // Equal neighbours are never listed.
  auto equal = DistinctBoard(3, 3);
  SetFlower(equal, 0, 0, 11);
  SetFlower(equal, 0, 1, 11);
  ASSERT_TRUE(equal.PossibleMoves(moves));
  EXPECT_TRUE(moves.Empty());
}

TEST(MoveSearch, LockedCellsStayButCountInLines) {
  auto board = DistinctBoard(4, 5);
  SetFlower(board, 1, 0, 11);
  SetKind(board, 1, 1, kCellDouble);
  SetFlower(board, 1, 1, 11);
  SetFlower(board, 2, 2, 11);  // (2,2) neighbours (1,2) (even column 2: (1,2),(1,3))
  TLinkCellInfoCollection moves;
  ASSERT_TRUE(board.PossibleMoves(moves));
  ASSERT_EQ(moves.Count(), 1);
  // Normal 500 + double (1+3+1)*20*2 = 200 + normal 500.
  EXPECT_EQ(moves[0].points, 1200);
  // A locked flower itself never moves.
  SetKind(board, 2, 2, kCellTriple);
  ASSERT_TRUE(board.PossibleMoves(moves));
  EXPECT_TRUE(moves.Empty());
}

// The naive search: swap, rescan the whole board, swap back.
std::set<std::tuple<int, int, int, int, int>> Naive(TBoardModel& board) {
  std::set<std::tuple<int, int, int, int, int>> found;
  TCellList cells;
  for (int c = 0; c < board.Cols(); ++c)
    for (int r = 0; r < board.Rows(); ++r)
      for (int c2 = 0; c2 < board.Cols(); ++c2)
        for (int r2 = 0; r2 < board.Rows(); ++r2) {
          if (!TBoardModel::Neighbours(c, r, c2, r2) || std::tie(c, r) > std::tie(c2, r2)) continue;
          if (!board.Movable(c, r) || !board.Movable(c2, r2)) continue;
          if (board.Cell(c, r).flower == board.Cell(c2, r2).flower) continue;
          board.ExchangeFlowers({c, r}, {c2, r2});
          if (board.AnyLine()) {
            int points = 0;
            if (board.LineAt(c, r, &cells)) points += board.ScoreLine(cells);
            if (board.LineAt(c2, r2, &cells)) points += board.ScoreLine(cells);
            found.insert({c, r, c2, r2, points});
          }
          board.ExchangeFlowers({c, r}, {c2, r2});
        }
  return found;
}

TEST(MoveSearch, AgreesWithTheNaiveSearchOnFilledBoards) {
  const Ref<TZinLevel> levelRef = MakeRef<TZinLevel>();
  TZinLevel& level = *levelRef;
  level.SetFlowerColors("11,23,35,47");
  level.SetDefaultKind(kCellNormal);
  level.SetDefaultFlower(-1);
  level.SetDefaultColour(-1);
  level.Resize(9, 7);
  level.SetCell(3, 3, {-1, kCellNone, -1});
  level.SetCell(5, 2, {-1, kCellDouble, -1});
  level.SetCell(0, 6, {-1, kCellComplete, -1});
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    SetRandomSeed(seed);
    TBoardModel board;
    board.SetCounter(kCounterDifficulty, 1);
    board.Build(level);
    board.SetCounter(kCounterChain, 1);
    TLinkCellInfoCollection moves;
    ASSERT_TRUE(board.PossibleMoves(moves)) << seed;
    std::set<std::tuple<int, int, int, int, int>> fast;
    for (const auto& m : moves) {
      auto a = std::tuple(m.first.col, m.first.row), b = std::tuple(m.second.col, m.second.row);
      if (a > b) std::swap(a, b);
      fast.insert({std::get<0>(a), std::get<1>(a), std::get<0>(b), std::get<1>(b), m.points});
    }
    EXPECT_EQ(fast, Naive(board)) << seed;
    for (int i = 1; i < moves.Count(); ++i) EXPECT_GE(moves[i - 1].points, moves[i].points);
  }
}

TLinkCellInfoCollection Moves(std::initializer_list<int32_t> points) {
  TLinkCellInfoCollection moves;
  int i = 0;
  for (const int32_t p : points) {
    moves.Add({{i, 0}, {i, 1}, p});
    ++i;
  }
  return moves;
}

TEST(ComputerChoice, WorkedExampleAlwaysPlaysTheBestOfTwo) {
  const auto moves = Moves({600, 400});
  const TComputerPickRange range = ComputerPickRange(2, 1000, 500, 500, 0.0, 10);
  EXPECT_EQ(range.start, 0);
  EXPECT_EQ(range.count, 1);
  for (uint32_t seed = 0; seed < 20; ++seed) {
    SetRandomSeed(seed);
    const auto choice = ChooseComputerMove(moves, 500, 500, 0.0, 10);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->points, 600);
  }
}

TEST(ComputerChoice, OneMoveAndNoMove) {
  EXPECT_FALSE(ChooseComputerMove({}, 0, 0, 0.0, 5));
  const auto one = Moves({300});
  SetRandomSeed(4);
  const auto choice = ChooseComputerMove(one, 1000, 0, 0.0, 5);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->points, 300);
}

TEST(ComputerChoice, StrengthFollowsTheScores) {
  // n = 11, S = 11000: A = 2200.
  // Human far ahead (D = 4400): q = 0.5, p = 0.5, q = 0.25: k = round(2.5) = 2
  // (ties to even), m = 0.5: the two strongest.
  auto r = ComputerPickRange(11, 11000, 4400, 0, 0.0, 10);
  EXPECT_EQ(r.start, 0);
  EXPECT_EQ(r.count, 2);
  // Computer far ahead: p = -0.5, m = -0.5: a window of weak moves.
  r = ComputerPickRange(11, 11000, 0, 4400, 0.0, 10);
  EXPECT_EQ(r.start, 8);
  EXPECT_EQ(r.count, 2);
  // ... unless fewer than 3 cells remain: the whole list.
  r = ComputerPickRange(11, 11000, 0, 4400, 0.0, 2);
  EXPECT_EQ(r.start, 0);
  EXPECT_EQ(r.count, 11);
  // Level scores: q = 1, p = 0.3, k = 10, m = 0.3: k + round(0.2 * 0).
  r = ComputerPickRange(11, 11000, 0, 0, 0.0, 10);
  EXPECT_EQ(r.count, 10);
  // A higher difficulty (negative F) plays stronger: F = -1, f = 0.5:
  // k = round(1 * 0.5 * 10) = 5, m = 0.8.
  r = ComputerPickRange(11, 11000, 0, 0, ComputerStrengthFactor(0.0, 2, false), 10);
  EXPECT_EQ(r.start, 0);
  EXPECT_EQ(r.count, 5);
  EXPECT_DOUBLE_EQ(ComputerStrengthFactor(0.25, 1, true), -0.25);
  // Without points both scores level: no division by zero.
  r = ComputerPickRange(3, 0, 0, 0, 0.0, 10);
  EXPECT_GE(r.count, 1);
}

}  // namespace
}  // namespace qv
