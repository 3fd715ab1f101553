#include <gtest/gtest.h>

#include "BoardTestSupport.h"
#include "core/Diagnostics.h"
#include "core/Random.h"
#include "game/BoardModel.h"

namespace qv {
namespace {

using test::DistinctBoard;
using test::SetFlower;
using test::SetKind;

TEST(BoardNeighbours, EvenAndOddColumns) {
  // An even column sits lower: its side neighbours are rows r and r + 1.
  const int c = 4;
  for (const auto& [c2, r2] :
       {std::pair{3, 4}, std::pair{3, 5}, std::pair{5, 4}, std::pair{5, 5}, std::pair{4, 3}, std::pair{4, 5}})
    EXPECT_TRUE(TBoardModel::Neighbours(c, 4, c2, r2)) << c2 << "," << r2;
  EXPECT_FALSE(TBoardModel::Neighbours(c, 4, 3, 3));
  EXPECT_FALSE(TBoardModel::Neighbours(c, 4, 5, 3));
  EXPECT_FALSE(TBoardModel::Neighbours(c, 4, 4, 4));
  EXPECT_FALSE(TBoardModel::Neighbours(c, 4, 4, 6));
  EXPECT_FALSE(TBoardModel::Neighbours(c, 4, 6, 4));
  // An odd column: rows r - 1 and r on both sides.
  for (const auto& [c2, r2] : {std::pair{2, 3}, std::pair{2, 4}, std::pair{4, 3}, std::pair{4, 4}})
    EXPECT_TRUE(TBoardModel::Neighbours(3, 4, c2, r2)) << c2 << "," << r2;
  EXPECT_FALSE(TBoardModel::Neighbours(3, 4, 2, 5));
  EXPECT_FALSE(TBoardModel::Neighbours(3, 4, 4, 5));
  // Symmetric for every pair of a small board.
  for (int a = 0; a < 6; ++a)
    for (int b = 0; b < 6; ++b)
      for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 6; ++y)
          EXPECT_EQ(TBoardModel::Neighbours(a, b, x, y), TBoardModel::Neighbours(x, y, a, b));
  // Positions far outside any grid are answered without overflow.
  EXPECT_FALSE(TBoardModel::Neighbours(INT32_MIN, 0, INT32_MAX, 0));
  EXPECT_FALSE(TBoardModel::Neighbours(0, INT32_MIN, 0, INT32_MAX));
  EXPECT_TRUE(TBoardModel::Neighbours(0, INT32_MAX - 1, 0, INT32_MAX));
}

TEST(BoardMovable, OnlyUnlockedFlowers) {
  auto board = DistinctBoard(4, 4);
  EXPECT_TRUE(board.Movable(1, 1));
  SetKind(board, 1, 1, kCellComplete);
  SetFlower(board, 1, 1, 11);
  EXPECT_TRUE(board.Movable(1, 1));
  SetKind(board, 1, 2, kCellDouble);
  EXPECT_FALSE(board.Movable(1, 2));
  SetFlower(board, 2, 2, kArtifact);
  EXPECT_FALSE(board.Movable(2, 2));
  SetFlower(board, 3, 3, kNoColour);
  EXPECT_FALSE(board.Movable(3, 3));
  EXPECT_FALSE(board.Movable(-1, 0));
  EXPECT_FALSE(board.Movable(4, 0));
}

TEST(BoardLines, VerticalReportsUpwardsFirst) {
  auto board = DistinctBoard(5, 6);
  for (int r = 1; r <= 4; ++r) SetFlower(board, 2, r, 11);
  TCellList cells;
  ASSERT_TRUE(board.LineAt(2, 3, &cells));
  EXPECT_EQ(CellsToText(cells), "2,3,2,2,2,1,2,4,");
  EXPECT_FALSE(board.LineAt(2, 0, &cells));
}

TEST(BoardLines, DiagonalsFollowTheColumnParity) {
  auto board = DistinctBoard(6, 6);
  // First diagonal through (2,2): lower columns (1,3) (0,3); higher (3,2) (4,1).
  for (const auto& [c, r] :
       {std::pair{0, 3}, std::pair{1, 3}, std::pair{2, 2}, std::pair{3, 2}, std::pair{4, 1}})
    SetFlower(board, c, r, 22);
  TCellList cells;
  ASSERT_TRUE(board.LineAt(2, 2, &cells));
  EXPECT_EQ(CellsToText(cells), "2,2,1,3,0,3,3,2,4,1,");
  // Second diagonal through (3,2) (odd): lower columns (2,1) (1,1); higher (4,2) (5,3).
  auto other = DistinctBoard(6, 6);
  for (const auto& [c, r] :
       {std::pair{1, 1}, std::pair{2, 1}, std::pair{3, 2}, std::pair{4, 2}, std::pair{5, 3}})
    SetFlower(other, c, r, 33);
  ASSERT_TRUE(other.LineAt(3, 2, &cells));
  EXPECT_EQ(CellsToText(cells), "3,2,2,1,1,1,4,2,5,3,");
}

TEST(BoardLines, FirstAxisWinsAndBothLinesAreFoundFromTheirOwnCells) {
  auto board = DistinctBoard(6, 6);
  // Vertical (2,1)-(2,3) and first diagonal (1,3)-(2,2)-(3,2) share (2,2).
  for (const auto& [c, r] :
       {std::pair{2, 1}, std::pair{2, 2}, std::pair{2, 3}, std::pair{1, 3}, std::pair{3, 2}})
    SetFlower(board, c, r, 44);
  TCellList cells;
  ASSERT_TRUE(board.LineAt(2, 2, &cells));
  EXPECT_EQ(CellsToText(cells), "2,2,2,1,2,3,");
  ASSERT_TRUE(board.LineAt(1, 3, &cells));
  EXPECT_EQ(CellsToText(cells), "1,3,2,2,3,2,");
}

TEST(BoardLines, LockedCellsJoinHolesAndEdgesStop) {
  auto board = DistinctBoard(4, 6);
  for (int r = 0; r < 3; ++r) SetFlower(board, 1, r, 55);
  SetKind(board, 1, 1, kCellTriple);
  SetFlower(board, 1, 1, 55);
  EXPECT_TRUE(board.LineAt(1, 0));
  SetKind(board, 1, 1, kCellNone);
  EXPECT_FALSE(board.LineAt(1, 0));
  EXPECT_FALSE(board.LineAt(1, 1));  // a hole has no line
  EXPECT_FALSE(board.LineAt(9, 9));
}

TEST(BoardLines, ArtifactsMatchOnlyAtTheBottom) {
  auto board = DistinctBoard(4, 5);
  SetFlower(board, 1, 4, kArtifact);
  TCellList cells;
  ASSERT_TRUE(board.LineAt(1, 4, &cells));
  EXPECT_EQ(CellsToText(cells), "1,4,");
  SetFlower(board, 2, 2, kArtifact);
  EXPECT_FALSE(board.LineAt(2, 2));
  SetKind(board, 2, 3, kCellNone);
  EXPECT_TRUE(board.LineAt(2, 2));  // above a hole it has reached its bottom
  // An artifact between equal flowers breaks their column.
  SetFlower(board, 3, 0, 66);
  SetFlower(board, 3, 1, kArtifact);
  SetFlower(board, 3, 2, 66);
  SetFlower(board, 3, 3, 66);
  EXPECT_FALSE(board.LineAt(3, 2));
}

TEST(BoardRemaining, DependsOnDifficulty) {
  auto board = DistinctBoard(3, 3, kCellComplete);
  SetKind(board, 0, 0, kCellNormal);
  SetKind(board, 1, 1, kCellNormal, 11);
  SetKind(board, 2, 2, kCellDouble);
  SetFlower(board, 2, 0, kArtifact);
  board.SetCounter(kCounterDifficulty, 1);
  EXPECT_EQ(board.RemainingCells(), 2);  // the coloured cell and the artifact
  EXPECT_EQ(board.RemainingCell(0), (TCellPos{1, 1}));
  EXPECT_EQ(board.RemainingCell(1), (TCellPos{2, 0}));
  board.SetCounter(kCounterDifficulty, 2);
  EXPECT_EQ(board.RemainingCells(), 4);
}

TEST(BoardWave, ScoresLinesAndPaysACellOnTwoLinesTwice) {
  auto board = DistinctBoard(6, 6);
  for (const auto& [c, r] :
       {std::pair{2, 1}, std::pair{2, 2}, std::pair{2, 3}, std::pair{1, 3}, std::pair{3, 2}})
    SetFlower(board, c, r, 44);
  board.SetCounter(kCounterChain, 0);
  const TExplosionWave wave = board.StartExplosionWave();
  ASSERT_EQ(wave.lines.size(), 2u);
  EXPECT_EQ(wave.chainLevel, 1);
  EXPECT_EQ(board.Counter(kCounterChain), 1);
  EXPECT_EQ(wave.lines[0].points, 1500);
  EXPECT_EQ(wave.lines[1].points, 1500);
  EXPECT_EQ(board.Cell(2, 2).pendingScore, 1000);
  board.ExplodeWave(wave);
  EXPECT_EQ(board.Score(1), 3000);
  const auto& stats = board.Statistics(1);
  EXPECT_EQ(stats.Get("Score"), 3000);
  EXPECT_EQ(stats.Get("combo"), 1);
  EXPECT_EQ(stats.Get("chains"), 2);
  EXPECT_EQ(stats.Get("flowers"), 5);  // the shared cell explodes once
  EXPECT_EQ(stats.Get("total_cells"), 5);
  for (const auto& [c, r] : {std::pair{2, 1}, std::pair{2, 2}, std::pair{1, 3}}) {
    EXPECT_EQ(board.Cell(c, r).kind, kCellComplete);
    EXPECT_EQ(board.Cell(c, r).flower, kNoColour);
    EXPECT_FALSE(board.Cell(c, r).exploding);
    EXPECT_EQ(board.Cell(c, r).pendingScore, 0);
  }
}

TEST(BoardWave, KindRulesOfExplodingCells) {
  auto board = DistinctBoard(6, 6);
  // Column 1: normal cell with the matching colour, a double lock, a cell
  // wanting another colour.
  for (int r = 0; r < 3; ++r) SetFlower(board, 1, r, 11);
  SetKind(board, 1, 0, kCellNormal, 11);
  SetKind(board, 1, 1, kCellDouble);
  SetKind(board, 1, 2, kCellNormal, 23);
  // Column 4: a triple lock between complete cells.
  for (int r = 2; r < 5; ++r) SetFlower(board, 4, r, 35);
  SetKind(board, 4, 2, kCellComplete);
  SetKind(board, 4, 3, kCellTriple);
  SetKind(board, 4, 4, kCellComplete);
  board.SetCounter(kCounterChain, 0);
  const TExplosionWave wave = board.StartExplosionWave();
  ASSERT_EQ(wave.lines.size(), 2u);
  EXPECT_EQ(CellsToText(wave.lines[0].cells), "4,4,4,3,4,2,");  // the bottom row is scanned first
  // L = 1, n = 3: base 100; complete cells 100, triple 300.
  EXPECT_EQ(wave.lines[0].points, 500);
  // Colour matched 1000, double 200, other colour 100.
  EXPECT_EQ(wave.lines[1].points, 1300);
  const TCellExplosion matched = board.ExplodeCell(1, 0);
  EXPECT_TRUE(matched.colourCompleted);
  board.ExplodeWave(wave);
  EXPECT_EQ(board.Cell(1, 0).kind, kCellComplete);
  EXPECT_EQ(board.Cell(1, 1).kind, kCellNormal);
  EXPECT_EQ(board.Cell(1, 1).flower, 11);  // the lock opened, the flower stays
  EXPECT_EQ(board.Cell(1, 2).kind, kCellNormal);
  EXPECT_EQ(board.Cell(1, 2).flower, kNoColour);
  EXPECT_EQ(board.Cell(4, 3).kind, kCellDouble);
  EXPECT_EQ(board.Cell(4, 3).flower, 35);
  EXPECT_EQ(board.Cell(4, 2).flower, kNoColour);
  const auto& stats = board.Statistics(1);
  EXPECT_EQ(stats.Get("total_cells"), 1);
  EXPECT_EQ(stats.Get("color_cells"), 1);
  EXPECT_EQ(stats.Get("flowers"), 6);
  EXPECT_EQ(board.Score(1), 1800);
  // A second explosion of an unmarked cell does nothing.
  EXPECT_FALSE(board.ExplodeCell(1, 0).exploded);
}

TEST(BoardWave, ArtifactAtTheBottomIsCollected) {
  auto board = DistinctBoard(3, 4);
  SetFlower(board, 1, 3, kArtifact);
  board.SetCounter(kCounterChain, 0);
  const TExplosionWave wave = board.StartExplosionWave();
  ASSERT_EQ(wave.lines.size(), 1u);
  EXPECT_EQ(wave.lines[0].points, 3000);
  const TCellExplosion result = board.ExplodeCell(1, 3);
  EXPECT_TRUE(result.artifactCollected);
  EXPECT_EQ(result.paid, 3000);
  EXPECT_EQ(board.Statistics(1).Get("color_cells"), 1);
}

TEST(BoardFalls, FlowersFallToTheGapsButNotThroughLocks) {
  auto board = DistinctBoard(3, 6);
  // Column 0: empty at 5 and 3; flowers above fall.
  SetFlower(board, 0, 5, kNoColour);
  SetFlower(board, 0, 3, kNoColour);
  // Column 1: an empty cell below a lock stays empty.
  SetFlower(board, 1, 4, kNoColour);
  SetKind(board, 1, 3, kCellDouble);
  SetFlower(board, 1, 3, 101);
  // Column 2: a hole at row 2, empty at 4: new flowers appear below the hole.
  SetKind(board, 2, 2, kCellNone);
  SetFlower(board, 2, 4, kNoColour);
  const int32_t a = board.Cell(0, 4).flower;
  const int32_t b = board.Cell(0, 2).flower;
  const int32_t top = board.Cell(0, 0).flower;
  const int32_t locked = board.Cell(1, 3).flower;
  ASSERT_TRUE(board.NeedsFalls());
  board.SetPaletteUnshuffled({11, 23, 35});
  SetRandomSeed(7);
  const TFallsPlan plan = board.RunFalls();
  EXPECT_EQ(board.Cell(0, 5).flower, a);
  EXPECT_EQ(board.Cell(0, 4).flower, b);
  EXPECT_EQ(board.Cell(0, 2).flower, top);
  EXPECT_EQ(board.Cell(1, 4).flower, kNoColour);
  EXPECT_EQ(board.Cell(1, 3).flower, locked);
  EXPECT_EQ(board.Cell(2, 2).flower, kNoColour);
  EXPECT_EQ(board.Cell(2, 4).flower, 100 + 2 * 6 + 3);
  // Each falling flower is listed with its code, bottom up per column.
  ASSERT_EQ(plan.moves.size(), 5u);
  EXPECT_EQ(plan.moves[0].from, (TCellPos{0, 4}));
  EXPECT_EQ(plan.moves[0].to, (TCellPos{0, 5}));
  EXPECT_EQ(plan.moves[0].flower, a);
  EXPECT_EQ(plan.moves[0].durationMs, 240);
  EXPECT_EQ(plan.moves[3].flower, top);
  EXPECT_EQ(plan.moves[3].durationMs, 480);
  EXPECT_EQ(plan.moves[4].from, (TCellPos{2, 3}));
  EXPECT_EQ(plan.moves[4].flower, 100 + 2 * 6 + 3);
  // The lowest new flower of each group starts first, groups in scan order.
  ASSERT_EQ(plan.newFlowers.size(), 3u);
  EXPECT_EQ(plan.newFlowers[0].cell, (TCellPos{0, 1}));
  EXPECT_EQ(plan.newFlowers[0].delayMs, 0);
  EXPECT_EQ(plan.newFlowers[0].startRow, -1);
  EXPECT_EQ(plan.newFlowers[0].durationMs, 480);
  EXPECT_EQ(plan.newFlowers[1].cell, (TCellPos{2, 3}));
  EXPECT_EQ(plan.newFlowers[1].startRow, 2);
  EXPECT_EQ(plan.newFlowers[2].cell, (TCellPos{0, 0}));
  EXPECT_EQ(plan.newFlowers[2].delayMs, 350);
  EXPECT_EQ(plan.newFlowers[2].durationMs, 240);
  // Seed 7 draws 0, 2, 0 below 3 (no redraw: nothing lines up), in start
  // order; the plan records the colours too.
  const int32_t drawn[] = {11, 35, 11};
  for (size_t i = 0; i < plan.newFlowers.size(); ++i) {
    const TNewFlower& f = plan.newFlowers[i];
    EXPECT_EQ(board.Cell(f.cell.col, f.cell.row).flower, drawn[i]) << i;
    EXPECT_EQ(f.colour, drawn[i]) << i;
  }
  EXPECT_FALSE(board.NeedsFalls());
}

TEST(BoardFalls, NewFlowersAvoidLinesForFiveAttempts) {
  auto board = DistinctBoard(1, 4);
  SetFlower(board, 0, 1, 11);
  SetFlower(board, 0, 2, 11);
  SetFlower(board, 0, 3, 23);
  SetFlower(board, 0, 0, kNoColour);
  // With only the colour that lines up, all six attempts make a line and
  // the sixth stays.
  board.SetPaletteUnshuffled({11});
  SetRandomSeed(1);
  board.RunFalls();
  EXPECT_EQ(board.Cell(0, 0).flower, 11);
  EXPECT_EQ(GetRandomSeed(), [] {
    SetRandomSeed(1);
    for (int i = 0; i < 6; ++i) RandomInt(1);
    return GetRandomSeed();
  }());
  // With a second colour the new flower never lines up.
  for (uint32_t seed = 0; seed < 50; ++seed) {
    SetFlower(board, 0, 0, kNoColour);
    board.SetPaletteUnshuffled({11, 35});
    SetRandomSeed(seed);
    board.RunFalls();
    EXPECT_EQ(board.Cell(0, 0).flower, 35) << seed;
  }
}

TEST(BoardFalls, AssistColourIsOfferedNearTheLastCells) {
  auto board = DistinctBoard(3, 3, kCellComplete);
  SetKind(board, 2, 2, kCellNormal, 47);
  SetFlower(board, 1, 0, kNoColour);
  board.SetPaletteUnshuffled({11, 23, 35});
  int assisted = 0;
  for (uint32_t seed = 0; seed < 200; ++seed) {
    SetFlower(board, 1, 0, kNoColour);
    SetRandomSeed(seed);
    const TFallsPlan plan = board.RunFalls();
    EXPECT_EQ(plan.assistColour, 47);
    EXPECT_EQ(plan.assistCol, 2);
    if (board.Cell(1, 0).flower == 47) ++assisted;
  }
  // One draw in five.
  EXPECT_GT(assisted, 20);
  EXPECT_LT(assisted, 70);
}

TEST(BoardPalette, EntriesThatAreNotColourCodesAreReported) {
  TDiagnosticsCollector diagnostics;
  EXPECT_EQ(ParsePalette("11,23, 35,47"), (std::vector<int32_t>{11, 23, 35, 47}));
  EXPECT_TRUE(ParsePalette(" ").empty());
  EXPECT_TRUE(diagnostics.Errors().empty());
  // Values stay as they were read: text becomes 0, numbers stay.
  EXPECT_EQ(ParsePalette("11,x,5,123,-1,,99999999999"), (std::vector<int32_t>{11, 0, 5, 123, -1, 0, 0}));
  ASSERT_EQ(diagnostics.Errors().size(), 6u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "Flowercolors \"11,x,5,123,-1,,99999999999\"");
  EXPECT_EQ(diagnostics.Errors()[0].what, "entry 2 'x' is not a two-digit colour code; 0 is used");
  EXPECT_EQ(diagnostics.Errors()[1].what, "entry 3 '5' is not a two-digit colour code; kept as it is");
  EXPECT_TRUE(diagnostics.Has("entry 6 ''"));
  EXPECT_TRUE(diagnostics.Has("entry 7 '99999999999' is not a two-digit colour code; 0 is used"));
  // Building a board from such a level reports through the same path.
  diagnostics.Clear();
  TBoardModel board;
  board.SetPalette("11,red");
  EXPECT_EQ(board.Palette().size(), 2u);
  EXPECT_TRUE(diagnostics.Has("'red'"));
}

TEST(BoardPalette, ParseAndShuffle) {
  EXPECT_EQ(ParsePalette("11,23, 35,x,"), (std::vector<int32_t>{11, 23, 35, 0, 0}));
  EXPECT_TRUE(ParsePalette("").empty());
  TBoardModel board;
  SetRandomSeed(3);
  board.SetPalette("11,23,35,47");
  std::vector<int32_t> expected = {11, 23, 35, 47};
  SetRandomSeed(3);
  for (int i = 0; i < 4; ++i)
    std::swap(expected[static_cast<size_t>(i)], expected[static_cast<size_t>(RandomInt(4))]);
  EXPECT_EQ(board.Palette(), expected);
  EXPECT_EQ(board.MapColour(1), expected[1]);
  EXPECT_EQ(board.MapColour(4), 4);  // beyond the palette: a colour code itself
  EXPECT_EQ(board.MapColour(-1), -1);
}

TEST(BoardCounters, OutsideIndexesAreInert) {
  TBoardModel board;
  board.SetCounter(8, 5);
  board.SetCounter(-1, 5);
  EXPECT_EQ(board.Counter(8), 0);
  EXPECT_EQ(board.Counter(-1), 0);
  board.SetCounter(7, 5);
  EXPECT_EQ(board.Counter(7), 5);
  EXPECT_EQ(board.Cell(-1, 0).kind, kCellNone);
  board.SetCell(-1, 0, TCell{1, 1, 1, false, 0});  // ignored
}

}  // namespace
}  // namespace qv
