#include "game/TurnDriver.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/StringUtils.h"
#include "game/ComputerPlayer.h"
#include "game/ZinLevel.h"

namespace qv {

EPlayMode PlayModeFromText(std::string_view text) {
  if (text == "classic") return EPlayMode::Classic;
  if (text == "duel_computer") return EPlayMode::DuelComputer;
  if (text == "duel_player") return EPlayMode::DuelPlayer;
  if (text == "how_to_play") return EPlayMode::HowToPlay;
  return EPlayMode::Relax;
}

const char* PlayModeText(EPlayMode mode) {
  switch (mode) {
    case EPlayMode::Classic:
      return "classic";
    case EPlayMode::DuelComputer:
      return "duel_computer";
    case EPlayMode::DuelPlayer:
      return "duel_player";
    case EPlayMode::HowToPlay:
      return "how_to_play";
    default:
      return "relax";
  }
}

bool RemainingCellsShine(int remaining, int moves) {
  return remaining <= 4 && (moves % 3 == 0 || moves % 10 == 9);
}

namespace {
int32_t ClampToInt32(double v) {
  return static_cast<int32_t>(std::clamp(v, static_cast<double>(std::numeric_limits<int32_t>::min()),
                                         static_cast<double>(std::numeric_limits<int32_t>::max())));
}
}  // namespace

void TTurnDriver::StartLevel(const TZinLevel& level, std::string_view mode, int difficulty, bool replay) {
  mode_ = PlayModeFromText(mode);
  status_.reset();
  moves_.Clear();
  cutCascades_ = 0;
  board_.SetCounter(kCounterDifficulty, difficulty);
  board_.ResetPlay();
  if (mode_ == EPlayMode::Classic) {
    // The fitting factor of a player without stored values is 1.0 and the
    // board's time factor starts at 0.1.
    double allowance = std::nearbyint(static_cast<double>(level.GetTime()) * 1000.0);
    if (!replay) allowance = std::nearbyint(allowance * (1.0 + 0.1));
    board_.SetCounter(kCounterAllowance, ClampToInt32(allowance));
    board_.SetCounter(kCounterTimeLeft, ClampToInt32(allowance));
  }
  board_.Build(level);
  board_.CountLevelGoals();
  StartTurn();
}

void TTurnDriver::StartTurn() {
  board_.SetCounter(kCounterChain, 1);
  moves_.Clear();
  remainingAtTurnStart_ = board_.RemainingCells();
  if (remainingAtTurnStart_ == 0) {
    Finish(kStatusWon);
  } else if (!board_.PossibleMoves(moves_) || moves_.Empty()) {
    Finish(kStatusNoMoves);
  }
  shine_ = !status_ && RemainingCellsShine(remainingAtTurnStart_, board_.Counter(kCounterMoves));
  if (mode_ == EPlayMode::DuelPlayer || mode_ == EPlayMode::DuelComputer)
    board_.SetCurrentPlayer(board_.Counter(kCounterMoves) % 2 + 1);
  else if (mode_ == EPlayMode::HowToPlay)
    board_.SetCurrentPlayer(3);
}

void TTurnDriver::Finish(int status) {
  if (mode_ == EPlayMode::DuelPlayer && status == kStatusNoMoves) status = kStatusWon;
  if (mode_ == EPlayMode::DuelComputer) status = board_.Score(1) < board_.Score(2) ? kStatusDuelLost : kStatusWon;
  status_ = status;
}

TMoveOutcome TTurnDriver::PlayMove(TCellPos a, TCellPos b, bool record) {
  TMoveOutcome outcome;
  if (status_) {
    outcome.reason = "the level is over";
    return outcome;
  }
  if (!board_.Movable(a.col, a.row) || !board_.Movable(b.col, b.row)) {
    outcome.reason = "a cell is not movable";
    return outcome;
  }
  if (!TBoardModel::Neighbours(a.col, a.row, b.col, b.row)) {
    outcome.reason = "the cells are not neighbours";
    return outcome;
  }
  outcome.accepted = true;
  board_.ExchangeFlowers(a, b);
  if (!board_.AnyLine()) {
    board_.ExchangeFlowers(a, b);  // swapped back, the move does not count
    return outcome;
  }
  outcome.productive = true;
  board_.SetCounter(kCounterChain, 0);
  board_.SetCounter(kCounterMoves, board_.Counter(kCounterMoves) + 1);
  for (int waves = 0;; ++waves) {
    if (waves == kMaxCascadeWaves) {
      ++cutCascades_;
      break;
    }
    TWaveRecord rec;
    if (record) rec.before = board_.Cells();
    rec.wave = board_.StartExplosionWave();
    rec.chain = rec.wave.chainLevel;
    board_.ExplodeWave(rec.wave);
    if (record) rec.exploded = board_.Cells();
    const bool falls = board_.NeedsFalls();
    if (falls) {
      board_.RunFalls();
      if (record) rec.afterFalls = board_.Cells();
    }
    if (record) outcome.waves.push_back(std::move(rec));
    if (!falls) break;
  }
  board_.AddStatistic("move", 1);
  StartTurn();
  return outcome;
}

std::optional<TLinkCellInfo> TTurnDriver::ComputerMove(double strength) const {
  return ChooseComputerMove(moves_, board_.Score(1), board_.Score(2), strength, remainingAtTurnStart_);
}

}  // namespace qv
