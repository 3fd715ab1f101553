// The board of the level being played, as pure logic: the grid of cell
// records, the palette, the eight counters, both players' scores and
// statistics, and every rule of play (lines, explosions, falls, the move
// search). The board control owns one and its scenarios call the steps
// below at the moments their animations reach; the headless turn driver
// calls the same steps one after another.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/BoardTypes.h"
#include "game/GameStatistics.h"
#include "game/LinkCellInfo.h"

namespace qv {

class TZinLevel;

// Indexes of the board counters.
enum EBoardCounter : int {
  kCounterMoves = 0,       // productive swaps of the level
  kCounterChain = 1,       // chain level of the running move
  kCounterTimeLeft = 2,    // milliseconds (timed mode)
  kCounterAllowance = 3,   // milliseconds (timed mode)
  kCounterPlayTime = 4,    // milliseconds played
  kCounterDifficulty = 5,  // 1, 2, 3 ...
  kCounterColourGoal = 6,  // cells with a required colour plus artifacts, at level start
  kCounterCellGoal = 7,    // cells of kind 1 or more, at level start
  kCounterCount = 8
};

// The shortest run of equal flowers that explodes.
inline constexpr int kMinLineLength = 3;
// Redraw rounds of one fill: every random cell on a line draws again.
inline constexpr int kFillRedrawRounds = 5;
// Fill restarts after which the board keeps a fill that still holds a line.
inline constexpr int kMaxFillRestarts = 100;
// Fall timing: milliseconds per pixel, and the wait between new flowers.
inline constexpr int kFallMsPerPixel = 4;
inline constexpr int kNewFlowerWaitMs = 350;
// The falls' assist colour: offered while 1 to kAssistMaxRemaining cells
// remain, to new flowers at most kAssistColumnRange columns from the chosen
// cell, on the first attempt, with one chance in kAssistChance.
inline constexpr int kAssistMaxRemaining = 3;
inline constexpr int kAssistColumnRange = 1;
inline constexpr int kAssistChance = 5;
// Colours a new flower tries before it keeps one that makes a line.
inline constexpr int kNewFlowerAttempts = 6;

// One line found by an explosion wave, with the points it was scored.
struct TWaveLine {
  TCellList cells;
  int32_t points = 0;
};

struct TExplosionWave {
  std::vector<TWaveLine> lines;  // in the order the scan found them
  int chainLevel = 0;            // counter 1 after the wave's first line
  int LongestLine() const;
};

// What exploding one cell did, for the animations.
struct TCellExplosion {
  TCellPos cell;
  bool exploded = false;  // false when the cell was not marked
  int32_t oldKind = kCellNone;
  int32_t newKind = kCellNone;
  int32_t flower = kNoColour;  // the flower the cell held
  bool flowerRemoved = false;
  bool completed = false;        // kind 1 became complete ("total_cells")
  bool colourCompleted = false;  // completed with its required colour
  bool artifactCollected = false;
  int32_t paid = 0;  // pending score paid to the current player
};

// A flower falling inside its column.
struct TFallMove {
  TCellPos from;
  TCellPos to;
  int32_t flower = kNoColour;  // the code that moved (an artifact falls too)
  int durationMs = 0;
};

// A new flower dropping in: it starts one row above its group's first cell
// (`startRow`, -1 above the top) after `delayMs`.
struct TNewFlower {
  TCellPos cell;
  int startRow = 0;
  int delayMs = 0;
  int durationMs = 0;
  int32_t colour = kNoColour;  // set once ChooseNewFlower has drawn it
};

struct TFallsPlan {
  std::vector<TFallMove> moves;
  std::vector<TNewFlower> newFlowers;  // in the order they start to move
  int32_t assistColour = kNoColour;    // 0 or more when a colour helps the goal
  int assistCol = -1;
  int durationMs = 0;  // until the last flower has arrived
};

// "Flowercolors" text to colour codes: comma-separated, entries that are not
// integers become 0; an empty text gives an empty palette. Entries that are
// not two-digit colour codes are reported as data errors (and kept).
std::vector<int32_t> ParsePalette(std::string_view text);

class TBoardModel {
public:
  TBoardModel() = default;

  // --- grid and building -------------------------------------------------
  int Cols() const { return cols_; }
  int Rows() const { return rows_; }
  // Every cell becomes a hole; sizes are limited to 0..kMaxBoardSize.
  void Resize(int cols, int rows);
  bool Inside(int col, int row) const { return col >= 0 && col < cols_ && row >= 0 && row < rows_; }
  // A position outside the grid reads as a hole; writes there are ignored.
  const TCell& Cell(int col, int row) const;
  void SetCell(int col, int row, const TCell& cell);
  // The grid column by column (cols * rows records).
  std::vector<TCell> Cells() const;

  // Parses and shuffles: position i is exchanged with a drawn position of
  // the whole palette, i from the first to the last.
  void SetPalette(std::string_view text);
  void SetPaletteUnshuffled(std::vector<int32_t> palette) { palette_ = std::move(palette); }
  const std::vector<int32_t>& Palette() const { return palette_; }
  // A drawn palette entry (-1 with an empty palette; the draw happens anyway).
  int32_t RandomColour() const;
  // The level's colour or flower value mapped through the palette: an index
  // within the palette becomes its entry, anything else stays itself.
  int32_t MapColour(int32_t value) const;

  // Builds the grid from a level at the difficulty in counter 5: resize,
  // palette shuffle, cell kinds and colours, then the flower fill. Unknown
  // cell kinds become holes.
  void Build(const TZinLevel& level);
  // The flower fill alone (after the cells are built). False when it gave
  // up after kMaxFillRestarts restarts and kept a fill that holds a line.
  bool FillFlowers(const TZinLevel& level);
  int LastFillRestarts() const { return fillRestarts_; }
  // Counters 6 and 7 from the cells as they are now.
  void CountLevelGoals();

  // --- counters, players, scores ------------------------------------------
  // Indexes outside 0..7 read 0 and ignore writes.
  int32_t Counter(int index) const;
  void SetCounter(int index, int32_t value);
  int Difficulty() const { return counters_[kCounterDifficulty]; }
  int CurrentPlayer() const { return currentPlayer_; }
  void SetCurrentPlayer(int player) { currentPlayer_ = player; }
  // Player 2 is the second player; every other number is the first.
  int32_t Score(int player) const { return scores_[PlayerIndex(player)]; }
  void SetScore(int player, int32_t score) { scores_[PlayerIndex(player)] = score; }
  TGameStatistics& Statistics(int player) { return stats_[PlayerIndex(player)]; }
  const TGameStatistics& Statistics(int player) const { return stats_[PlayerIndex(player)]; }
  // Adds to the current player's statistic.
  void AddStatistic(const std::string& name, int32_t amount);
  // Pays points to the current player: displayed score and "Score".
  void PayScore(int32_t points);
  // Scores, statistics and counters back to 0 (counter 5 kept), player 1.
  void ResetPlay();

  // --- rules --------------------------------------------------------------
  static bool Neighbours(int c1, int r1, int c2, int r2);
  bool Movable(int col, int row) const;
  // The line through the cell (first successful axis), or the artifact
  // itself when it has reached the bottom of its column. `cells` receives
  // the start cell, then the first direction, then the second.
  bool LineAt(int col, int row, TCellList* cells = nullptr) const;
  // LineAt for a cell not yet marked as exploding.
  bool FindLineForExplosion(int col, int row, TCellList& cells) const;
  // Columns outer, rows inner, first success.
  bool AnyLine() const;
  // The cells still to complete (the level's goal).
  int RemainingCells() const;
  // The first `index`-th remaining cell in column-major order.
  TCellPos RemainingCell(int index) const;
  bool NeedsFalls() const;
  // Points of a line at the current chain level; with `apply` each cell's
  // points are added to its pending score.
  int32_t ScoreLine(const TCellList& cells, bool apply);
  int32_t ScoreLine(const TCellList& cells) const;
  void ExchangeFlowers(TCellPos a, TCellPos b);

  // --- explosion wave -----------------------------------------------------
  // Marks every line (rows from the bottom up, columns left to right), then
  // for the first line adds "combo" and raises the chain level, and for
  // every line adds "chains" and scores it with application.
  TExplosionWave StartExplosionWave();
  // Explodes one marked cell by its kind rules and pays its pending score.
  TCellExplosion ExplodeCell(int col, int row);
  // Explodes the wave's lines in order, each cell while it is still marked;
  // returns what happened to each cell that exploded, in that order.
  std::vector<TCellExplosion> ExplodeWave(const TExplosionWave& wave);

  // --- falls --------------------------------------------------------------
  // Picks the assist colour (drawing when 1 to 3 cells remain), moves the
  // falling flowers in the grid and lists the new flowers; their cells stay
  // empty until ChooseNewFlower gives them a colour.
  TFallsPlan StartFalls();
  // The colour of a new flower, chosen when it starts to move: up to
  // kNewFlowerAttempts attempts to avoid making a line there. Writes it
  // into the cell.
  int32_t ChooseNewFlower(const TFallsPlan& plan, const TNewFlower& flower);
  // StartFalls and every new flower's colour in start order (also written
  // into the plan's new flowers).
  TFallsPlan RunFalls();

  // --- move search --------------------------------------------------------
  // Every swap that makes a line, strongest first. False ("nothing") when a
  // line already exists on the board. Swaps flowers in place and tests only
  // the lines through the two swapped cells.
  bool PossibleMoves(TLinkCellInfoCollection& moves);
  int PossibleMoveCount() const { return possibleMoves_; }

private:
  static int PlayerIndex(int player) { return player == 2 ? 1 : 0; }
  // The grid is stored with a border of holes around it, column-major, so
  // a walk stops at the edge without testing the bounds.
  int Index(int col, int row) const { return (col + 1) * (rows_ + 2) + row + 1; }
  TCell& At(int col, int row) { return cells_[static_cast<size_t>(Index(col, row))]; }
  const TCell& At(int col, int row) const { return cells_[static_cast<size_t>(Index(col, row))]; }
  // Run along one axis through a flowered cell: writes the cells in report
  // order into `out` (room for 2 * kMaxBoardSize + 1) and returns the count.
  int Run(int col, int row, int axis, TCellPos* out) const;
  // Length of the run along an axis through a grid index (no cell list).
  int RunLength(int index, int parity, int axis, int32_t flower) const;
  // The axis of the line at a cell (0..2), kArtifactLine for an artifact at
  // its bottom, -1 for none.
  int LineAxis(int col, int row) const;
  // LineAt into a fixed buffer; returns the run length or 0.
  int LineInto(int col, int row, TCellPos* out) const;
  int32_t ScoreCells(const TCellPos* cells, int count) const;

  int cols_ = 0;
  int rows_ = 0;
  std::vector<TCell> cells_;
  int offsets_[3][2][2] = {};  // grid index step per axis, direction, column parity
  std::vector<int32_t> palette_;
  std::array<int32_t, kCounterCount> counters_{};
  std::array<int32_t, 2> scores_{};
  std::array<TGameStatistics, 2> stats_;
  int currentPlayer_ = 1;
  int possibleMoves_ = 0;
  int fillRestarts_ = 0;
};

}  // namespace qv
