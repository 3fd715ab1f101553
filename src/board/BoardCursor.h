// The keyboard's cursor on the hexagonal board: which cell a key moves it
// to. Even columns sit half a cell lower than odd ones, so a cell's
// neighbours in the next column are rows r and r + 1 in an even column and
// rows r - 1 and r in an odd one.
//
//   Up, Down       within the column (W, S the same)
//   Left, Right    to the neighbour in the next column on the same row:
//                  the upper one from an even column, the lower one from an
//                  odd one, so that going on zigzags along a row
//   Q, E           up-left and up-right neighbours
//   A, D           down-left and down-right neighbours
//
// A step over a hole goes on in the same direction to the next cell that
// exists; a step off the board leaves the cursor where it is.
#pragma once

#include <functional>
#include <optional>

#include "game/BoardTypes.h"

namespace qv {

enum class ECursorStep { Up, Down, Left, Right, UpLeft, UpRight, DownLeft, DownRight };

// The step of a key (the engine's key codes), or none for other keys.
std::optional<ECursorStep> CursorStepOfKey(unsigned key);

// The cell one step away in that direction (holes skipped); `from` when
// there is none on the board.
TCellPos StepCursor(TCellPos from, ECursorStep step, int cols, int rows,
                    const std::function<bool(TCellPos)>& exists);

}  // namespace qv
