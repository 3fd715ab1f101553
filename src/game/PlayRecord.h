// The JSON of a played game, one record per line: the start of a level and
// every move with its waves, boards, lines, points, scores and status. The
// data tool's `play` prints these lines and the game's trace carries the
// same fields, so a move played on screen can be checked like one played
// by the tool.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "game/BoardModel.h"
#include "game/LinkCellInfo.h"
#include "game/TurnDriver.h"

namespace qv {

// Name and JSON value, in order.
using TJsonFields = std::vector<std::pair<std::string, std::string>>;

// An array over columns of arrays over rows of [kind, colour, flower].
std::string BoardJson(const TBoardModel& board);
std::string MovesJson(const TLinkCellInfoCollection& moves);
std::string CountersJson(const TBoardModel& board);
std::string StatsJson(const TGameStatistics& stats);
std::string StatusJson(std::optional<ELevelStatus> status);
std::string SwapJson(TCellPos a, TCellPos b);
std::string LinesJson(const std::vector<TWaveLine>& lines);
// {"a":1,...} of the fields.
std::string JoinJsonFields(const TJsonFields& fields);

// The start of a level: palette, cols, rows, board, counters, moves, status.
TJsonFields LevelStartFields(const TBoardModel& board, const TTurnDriver& driver);
// After a move: board, scores, player, stats, counters, moves, status.
TJsonFields PlayerStateFields(const TBoardModel& board, const TTurnDriver& driver);

// One move as it happens: the swap, then each step the driver took, then
// the state the move left. Each wave is recorded with the board before it,
// its lines, the board after its explosions and the board after the falls
// that follow it (null when none follow).
class TMoveRecorder {
public:
  // Before the swap is played: the board the first wave starts from is the
  // board after the swap, so Begin takes it after Swap().
  void Begin(TCellPos a, TCellPos b, bool productive, const TBoardModel& board);
  // A step the driver took after the swap (waves and falls are recorded,
  // the rest ignored).
  void Step(const TTurnStep& step, const TBoardModel& board);
  bool Active() const { return active_; }
  // Size of the record so far, in bytes.
  size_t Size() const { return waves_.size(); }
  // Fields swap, productive, waves, then the player state.
  TJsonFields Finish(const TBoardModel& board, const TTurnDriver& driver);

private:
  bool active_ = false;
  std::string swap_;
  bool productive_ = false;
  std::string waves_;
  std::string before_;
  bool firstWave_ = true;
  bool waveOpen_ = false;
};

}  // namespace qv
