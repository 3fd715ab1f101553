// The keyboard's cursor on the hexagonal board: worked steps from an even
// and an odd column, holes passed over, the board's edges, and a sweep
// showing that every step lands on a neighbour as the rules define it.
#include "board/BoardCursor.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "core/Messages.h"
#include "game/BoardModel.h"

namespace qv {
namespace {

using S = ECursorStep;

TCellPos Go(TCellPos from, S step, std::set<std::pair<int, int>> holes = {}) {
  return StepCursor(from, step, 5, 4, [&](TCellPos p) { return !holes.count({p.col, p.row}); });
}

TEST(BoardCursor, StepsFromAnEvenAndAnOddColumn) {
  // Column 2 sits half a cell lower than columns 1 and 3.
  const TCellPos even{2, 1};
  EXPECT_EQ(Go(even, S::Up), (TCellPos{2, 0}));
  EXPECT_EQ(Go(even, S::Down), (TCellPos{2, 2}));
  EXPECT_EQ(Go(even, S::UpLeft), (TCellPos{1, 1}));
  EXPECT_EQ(Go(even, S::DownLeft), (TCellPos{1, 2}));
  EXPECT_EQ(Go(even, S::UpRight), (TCellPos{3, 1}));
  EXPECT_EQ(Go(even, S::DownRight), (TCellPos{3, 2}));
  const TCellPos odd{3, 1};
  EXPECT_EQ(Go(odd, S::UpLeft), (TCellPos{2, 0}));
  EXPECT_EQ(Go(odd, S::DownLeft), (TCellPos{2, 1}));
  EXPECT_EQ(Go(odd, S::UpRight), (TCellPos{4, 0}));
  EXPECT_EQ(Go(odd, S::DownRight), (TCellPos{4, 1}));
  // Left and right keep the row: up from an even column, down from an odd
  // one, so that holding the key zigzags along the row.
  EXPECT_EQ(Go(even, S::Left), (TCellPos{1, 1}));
  EXPECT_EQ(Go(odd, S::Left), (TCellPos{2, 1}));
  EXPECT_EQ(Go(Go(Go(TCellPos{0, 3}, S::Right), S::Right), S::Right), (TCellPos{3, 3}));
}

TEST(BoardCursor, HolesArePassedOverAndTheEdgeHolds) {
  EXPECT_EQ(Go({2, 1}, S::Left, {{1, 1}}), (TCellPos{0, 1}));
  EXPECT_EQ(Go({2, 3}, S::Up, {{2, 2}, {2, 1}}), (TCellPos{2, 0}));
  // Nothing beyond the hole: the cursor stays.
  EXPECT_EQ(Go({1, 1}, S::Left, {{0, 1}}), (TCellPos{1, 1}));
  EXPECT_EQ(Go({0, 0}, S::Up), (TCellPos{0, 0}));
  EXPECT_EQ(Go({4, 3}, S::DownRight), (TCellPos{4, 3}));
  EXPECT_EQ(Go({0, 2}, S::UpLeft), (TCellPos{0, 2}));
}

TEST(BoardCursor, EveryStepOnAFullBoardLandsOnANeighbour) {
  const S steps[] = {S::Up, S::Down, S::Left, S::Right, S::UpLeft, S::UpRight, S::DownLeft, S::DownRight};
  for (int c = 0; c < 5; ++c)
    for (int r = 0; r < 4; ++r)
      for (S step : steps) {
        const TCellPos to = Go({c, r}, step);
        if (to == TCellPos{c, r}) continue;  // the edge
        EXPECT_TRUE(TBoardModel::Neighbours(c, r, to.col, to.row))
            << c << "," << r << " step " << static_cast<int>(step) << " -> " << to.col << "," << to.row;
      }
  // The six hex steps reach all six neighbours of an inner cell.
  for (TCellPos at : {TCellPos{2, 1}, TCellPos{3, 2}}) {
    std::set<std::pair<int, int>> reached;
    for (S step : {S::Up, S::Down, S::UpLeft, S::UpRight, S::DownLeft, S::DownRight}) {
      const TCellPos to = Go(at, step);
      reached.insert({to.col, to.row});
    }
    EXPECT_EQ(reached.size(), 6u);
  }
}

TEST(BoardCursor, KeysOfTheArrowsAndTheHexLetters) {
  EXPECT_EQ(CursorStepOfKey(VK_UP), S::Up);
  EXPECT_EQ(CursorStepOfKey('W'), S::Up);
  EXPECT_EQ(CursorStepOfKey(VK_DOWN), S::Down);
  EXPECT_EQ(CursorStepOfKey('S'), S::Down);
  EXPECT_EQ(CursorStepOfKey(VK_LEFT), S::Left);
  EXPECT_EQ(CursorStepOfKey(VK_RIGHT), S::Right);
  EXPECT_EQ(CursorStepOfKey('Q'), S::UpLeft);
  EXPECT_EQ(CursorStepOfKey('E'), S::UpRight);
  EXPECT_EQ(CursorStepOfKey('A'), S::DownLeft);
  EXPECT_EQ(CursorStepOfKey('D'), S::DownRight);
  EXPECT_FALSE(CursorStepOfKey('X'));
  EXPECT_FALSE(CursorStepOfKey(VK_RETURN));
}

}  // namespace
}  // namespace qv
