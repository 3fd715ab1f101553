// Small boards built cell by cell for the board tests.
#pragma once

#include "game/BoardModel.h"

namespace qv::test {

// A board of normal cells whose flowers are all different, so nothing lines
// up until a test places equal flowers.
inline TBoardModel DistinctBoard(int cols, int rows, int32_t kind = kCellNormal) {
  TBoardModel board;
  board.Resize(cols, rows);
  for (int c = 0; c < cols; ++c)
    for (int r = 0; r < rows; ++r) board.SetCell(c, r, TCell{kind, kNoColour, 100 + c * rows + r, false, 0});
  board.SetCounter(kCounterDifficulty, 1);
  board.SetCounter(kCounterChain, 1);
  return board;
}

inline void SetFlower(TBoardModel& board, int c, int r, int32_t flower) {
  TCell cell = board.Cell(c, r);
  cell.flower = flower;
  board.SetCell(c, r, cell);
}

inline void SetKind(TBoardModel& board, int c, int r, int32_t kind, int32_t colour = kNoColour) {
  TCell cell = board.Cell(c, r);
  cell.kind = kind;
  cell.colour = colour;
  if (kind == kCellNone) cell.flower = kNoColour;
  board.SetCell(c, r, cell);
}

}  // namespace qv::test
