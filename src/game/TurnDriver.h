// The turn cycle without animations: a swap, then explosion waves and falls
// until the board is still, then the next turn's start (won, no moves left,
// or play on). The data tool and the tests drive whole levels with it; the
// level managers run the same board steps spread over their scenarios.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/BoardModel.h"
#include "game/LinkCellInfo.h"

namespace qv {

class TZinLevel;

enum class EPlayMode { Relax, Classic, DuelComputer, DuelPlayer, HowToPlay };
// "classic", "duel_computer", "duel_player", "how_to_play"; any other text
// plays as "relax".
EPlayMode PlayModeFromText(std::string_view text);
const char* PlayModeText(EPlayMode mode);

// How a level ended.
enum ELevelStatus : int { kStatusNoMoves = 0, kStatusWon = 1, kStatusTimeOut = 2, kStatusDuelLost = 3 };

// At a turn start with at most four cells left, the remaining cells shine
// when the move counter is a multiple of 3 or ends in 9.
bool RemainingCellsShine(int remaining, int moves);

// Cascades longer than this many waves are cut off (a palette that cannot
// fill the board would otherwise never come to rest).
inline constexpr int kMaxCascadeWaves = 1000;

// One explosion wave of a move as the driver saw it.
struct TWaveRecord {
  int chain = 0;                     // the chain level the lines were scored at
  std::vector<TCell> before;         // the grid at the wave's start
  TExplosionWave wave;
  std::vector<TCell> exploded;       // after the explosions
  std::optional<std::vector<TCell>> afterFalls;  // when falls followed
};

struct TMoveOutcome {
  bool accepted = false;
  std::string reason;                // why a move was rejected
  bool productive = false;           // the swap made a line and was kept
  std::vector<TWaveRecord> waves;    // filled when recording
};

class TTurnDriver {
public:
  explicit TTurnDriver(TBoardModel& board) : board_(board) {}

  // Starts a level as the level managers do for a player without stored
  // values: statistics and counters reset, difficulty, the classic time
  // allowance (nominal time * 1.1, the nominal time for a replay), the board
  // built and filled, the goal counters, then the first turn.
  void StartLevel(const TZinLevel& level, std::string_view mode, int difficulty, bool replay = false);

  EPlayMode Mode() const { return mode_; }
  // The possible moves found at the start of the current turn.
  const TLinkCellInfoCollection& Moves() const { return moves_; }
  // The finishing status once the level is over.
  std::optional<int> Status() const { return status_; }
  int RemainingAtTurnStart() const { return remainingAtTurnStart_; }
  // Whether this turn's start made the remaining cells shine.
  bool ShineAtTurnStart() const { return shine_; }
  // Cascades cut off at kMaxCascadeWaves so far.
  int CutCascades() const { return cutCascades_; }

  // Plays one swap of neighbouring movable cells to the end of its cascade
  // and starts the next turn. A rejected move changes nothing.
  TMoveOutcome PlayMove(TCellPos a, TCellPos b, bool record = false);

  // The duel computer's choice for this turn (drawing from the generator).
  std::optional<TLinkCellInfo> ComputerMove(double strength) const;

private:
  void StartTurn();
  void Finish(int status);

  TBoardModel& board_;
  EPlayMode mode_ = EPlayMode::Relax;
  TLinkCellInfoCollection moves_;
  std::optional<int> status_;
  int remainingAtTurnStart_ = 0;
  bool shine_ = false;
  int cutCascades_ = 0;
};

}  // namespace qv
