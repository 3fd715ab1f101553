#include "board/BoardCursor.h"

#include "core/Messages.h"

namespace qv {

std::optional<ECursorStep> CursorStepOfKey(unsigned key) {
  switch (key) {
    case VK_UP:
    case 'W':
      return ECursorStep::Up;
    case VK_DOWN:
    case 'S':
      return ECursorStep::Down;
    case VK_LEFT:
      return ECursorStep::Left;
    case VK_RIGHT:
      return ECursorStep::Right;
    case 'Q':
      return ECursorStep::UpLeft;
    case 'E':
      return ECursorStep::UpRight;
    case 'A':
      return ECursorStep::DownLeft;
    case 'D':
      return ECursorStep::DownRight;
    default:
      return std::nullopt;
  }
}

namespace {

// One step from (col, row), holes not considered.
TCellPos Step(TCellPos p, ECursorStep step) {
  const bool even = p.col % 2 == 0;
  switch (step) {
    case ECursorStep::Up:
      return {p.col, p.row - 1};
    case ECursorStep::Down:
      return {p.col, p.row + 1};
    case ECursorStep::Left:
      return {p.col - 1, p.row};
    case ECursorStep::Right:
      return {p.col + 1, p.row};
    case ECursorStep::UpLeft:
      return {p.col - 1, even ? p.row : p.row - 1};
    case ECursorStep::UpRight:
      return {p.col + 1, even ? p.row : p.row - 1};
    case ECursorStep::DownLeft:
      return {p.col - 1, even ? p.row + 1 : p.row};
    case ECursorStep::DownRight:
      return {p.col + 1, even ? p.row + 1 : p.row};
  }
  return p;
}

}  // namespace

TCellPos StepCursor(TCellPos from, ECursorStep step, int cols, int rows,
                    const std::function<bool(TCellPos)>& exists) {
  TCellPos at = from;
  // Every step leaves the board or comes nearer to its edge, so this ends.
  for (;;) {
    at = Step(at, step);
    if (at.col < 0 || at.col >= cols || at.row < 0 || at.row >= rows) return from;
    if (exists(at)) return at;
  }
}

}  // namespace qv
