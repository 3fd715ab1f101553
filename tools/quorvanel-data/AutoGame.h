// One whole game played headless by a strategy, through the game's turn
// driver: the loop that autoplay and the level report share.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "core/Diagnostics.h"
#include "game/TurnDriver.h"

namespace qv {
class TZinLevel;
}

namespace qv::tool {

// How the autoplayer picks its move from the turn's possible moves.
enum class EStrategy {
  Best,      // always the strongest move
  Random,    // a uniformly drawn possible move
  Computer,  // the duel computer's choice
};

// "best", "random" or "computer"; EToolError names `what` otherwise.
EStrategy StrategyFromText(const std::string& text, const std::string& what);
const char* StrategyText(EStrategy strategy);

struct TAutoGameSettings {
  EPlayMode mode = EPlayMode::Relax;
  int difficulty = 1;
  EStrategy strategy = EStrategy::Best;
  long long maxMoves = 5000;    // productive moves before the game counts as unfinished
  long long maxWaves = 100000;  // explosion waves before the game counts as unfinished
};

struct TAutoGameResult {
  std::optional<ELevelStatus> status;  // none: unfinished (a limit, or cut)
  long long moves = 0;                 // productive moves made
  int32_t score = 0;                   // player 1's
  int remainingAtStart = 0;            // cells and artifacts to complete at the first turn
  bool atMoveLimit = false;
  bool atWaveLimit = false;
  bool cut = false;  // `beforeMove` stopped the game
};

// Passes each distinct data error on once: every game of a run rebuilds the
// same board and would repeat the same report.
class TOnceDiagnostics : public IDiagnosticsSink {
public:
  TOnceDiagnostics() : previous_(SetDiagnosticsSink(this)) {}
  ~TOnceDiagnostics() override { SetDiagnosticsSink(previous_); }
  TOnceDiagnostics(const TOnceDiagnostics&) = delete;
  TOnceDiagnostics& operator=(const TOnceDiagnostics&) = delete;

  void DataError(const TDataError& error) override {
    if (seen_.insert({error.where, error.what}).second && previous_) previous_->DataError(error);
  }

private:
  IDiagnosticsSink* previous_;
  std::set<std::pair<std::string, std::string>> seen_;
};

// Plays one game with the random generator seeded with `seed`. Before each
// move `beforeMove` (when given) is asked; false stops the game there.
TAutoGameResult PlayAutoGame(const TZinLevel& level, const TAutoGameSettings& settings, uint32_t seed,
                             const std::function<bool()>& beforeMove = {});

}  // namespace qv::tool
