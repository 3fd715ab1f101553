// The small value types of the board: cell records, cell positions, and the
// cell-list text that travels between the board and its scenarios.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Cell kinds.
inline constexpr int32_t kCellNone = -1;     // a hole: nothing is shown or played there
inline constexpr int32_t kCellComplete = 0;  // already coloured
inline constexpr int32_t kCellNormal = 1;    // still to be coloured
inline constexpr int32_t kCellDouble = 2;    // locked, needs two hits
inline constexpr int32_t kCellTriple = 3;    // locked, needs three hits

// Flower and colour codes besides the two-digit colours.
inline constexpr int32_t kNoColour = -1;   // no required colour / empty cell
inline constexpr int32_t kArtifact = -10;  // a collectable object instead of a flower

// Geometry of the board in pixels: even columns sit half a cell lower.
inline constexpr int kCellWidth = 53;
inline constexpr int kCellHeight = 60;

// The largest board the game accepts in either direction.
inline constexpr int kMaxBoardSize = 64;

struct TCellPos {
  int32_t col = 0;
  int32_t row = 0;
  friend bool operator==(const TCellPos&, const TCellPos&) = default;
};

// One grid position of the board.
struct TCell {
  int32_t kind = kCellNone;
  int32_t colour = kNoColour;  // required colour code
  int32_t flower = kNoColour;  // flower code, -1 empty, -10 artifact
  bool exploding = false;      // on a line of the running explosion wave
  int32_t pendingScore = 0;    // points gathered in the running wave
};

using TCellList = std::vector<TCellPos>;

// "c1,r1,c2,r2," : every number followed by a comma.
std::string CellsToText(const TCellList& cells);
// Reads the numbers two by two; a missing or malformed number reads as -1.
TCellList CellsFromText(std::string_view text);

}  // namespace qv
