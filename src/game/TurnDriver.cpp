#include "game/TurnDriver.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/ComputerPlayer.h"
#include "game/GameStatistics.h"
#include "game/Scoring.h"
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
  return remaining <= kShineMaxRemaining && (moves % 3 == 0 || moves % 10 == 9);
}

int TWaveStep::LongestLine() const {
  size_t longest = 0;
  for (const auto& line : lines) longest = std::max(longest, line.cells.size());
  return static_cast<int>(longest);
}

int TWaveStep::ColourCells() const {
  return static_cast<int>(std::count_if(cells.begin(), cells.end(), [](const TCellExplosion& cell) {
    return cell.colourCompleted || cell.artifactCollected;
  }));
}

int TWaveStep::CompletedCells() const {
  return static_cast<int>(
      std::count_if(cells.begin(), cells.end(), [](const TCellExplosion& cell) { return cell.completed; }));
}

int32_t TWaveStep::Points() const {
  int32_t total = 0;
  for (const auto& line : lines) total += line.points;
  return total;
}

namespace {
int32_t ClampToInt32(double v) {
  return static_cast<int32_t>(std::clamp(v, static_cast<double>(std::numeric_limits<int32_t>::min()),
                                         static_cast<double>(std::numeric_limits<int32_t>::max())));
}
}  // namespace

void TTurnDriver::StartLevel(const TZinLevel& level, EPlayMode mode, int difficulty, bool replay,
                             double fitting, double timeFactor) {
  mode_ = mode;
  phase_ = EPhase::LevelStart;
  levelTime_ = level.GetTime();
  status_.reset();
  moves_.Clear();
  cutCascades_ = 0;
  wavesThisMove_ = 0;
  falls_ = {};
  chosen_.clear();
  remainingAtTurnStart_ = 0;
  shine_ = false;
  board_.SetCounter(kCounterDifficulty, difficulty);
  board_.ResetPlay();
  if (mode_ == EPlayMode::Classic) {
    double allowance = std::nearbyint(static_cast<double>(level.GetTime()) * 1000.0);
    if (!replay) allowance = std::nearbyint(allowance * (fitting + timeFactor));
    board_.SetCounter(kCounterAllowance, ClampToInt32(allowance));
    board_.SetCounter(kCounterTimeLeft, ClampToInt32(allowance));
  }
  board_.Build(level);
  board_.CountLevelGoals();
}

ETurnWait TTurnDriver::Waiting() const {
  switch (phase_) {
    case EPhase::LevelStart:
    case EPhase::SwapDone:
    case EPhase::WaveDone:
    case EPhase::FallsDone:
    case EPhase::LevelEnding:
      return ETurnWait::Next;
    case EPhase::AwaitMove:
      return ETurnWait::Move;
    default:
      return ETurnWait::Nothing;
  }
}

TTurnStep TTurnDriver::MakeStep(ETurnStepKind kind) const {
  TTurnStep step;
  step.kind = kind;
  step.player = board_.CurrentPlayer();
  return step;
}

TTurnStep TTurnDriver::Next() {
  switch (phase_) {
    case EPhase::LevelStart:
      return StartTurn(false, false);
    case EPhase::SwapDone:
      if (swapProductive_) {
        board_.SetCounter(kCounterChain, 0);
        board_.SetCounter(kCounterMoves, board_.Counter(kCounterMoves) + 1);
        wavesThisMove_ = 0;
        return ExplosionWave();
      } else {
        board_.ExchangeFlowers(swapFirst_, swapSecond_);  // the move does not count
        TTurnStep step = MakeStep(ETurnStepKind::SwapBack);
        step.first = swapFirst_;
        step.second = swapSecond_;
        phase_ = EPhase::AwaitMove;
        step.then = Waiting();
        return step;
      }
    case EPhase::WaveDone:
      if (board_.NeedsFalls()) {
        TTurnStep step = MakeStep(ETurnStepKind::Falls);
        falls_ = deferNewFlowers_ ? board_.StartFalls() : board_.RunFalls();
        chosen_.assign(falls_.newFlowers.size(), !deferNewFlowers_);
        step.falls = falls_;
        phase_ = EPhase::FallsDone;
        step.then = Waiting();
        return step;
      }
      return StartTurn(true, false);
    case EPhase::FallsDone:
      for (size_t i = 0; i < chosen_.size(); ++i) ChooseNewFlower(i);
      if (wavesThisMove_ == kMaxCascadeWaves) {
        ++cutCascades_;
        return StartTurn(true, true);
      }
      return ExplosionWave();
    case EPhase::LevelEnding:
      return EndLevel();
    default: {
      TTurnStep step = MakeStep(ETurnStepKind::None);
      step.then = Waiting();
      return step;
    }
  }
}

TTurnStep TTurnDriver::StartTurn(bool closesMove, bool cut) {
  if (closesMove) board_.AddStatistic(kStatMove, 1);
  board_.SetCounter(kCounterChain, 1);
  moves_.Clear();
  remainingAtTurnStart_ = board_.RemainingCells();
  if (remainingAtTurnStart_ == 0) {
    status_ = FinalStatus(ELevelStatus::Won);
  } else if (!board_.PossibleMoves(moves_) || moves_.Empty()) {
    status_ = FinalStatus(ELevelStatus::NoMoves);
  }
  shine_ = !status_ && RemainingCellsShine(remainingAtTurnStart_, board_.Counter(kCounterMoves));
  if (mode_ == EPlayMode::DuelPlayer || mode_ == EPlayMode::DuelComputer)
    board_.SetCurrentPlayer(board_.Counter(kCounterMoves) % 2 + 1);
  else if (mode_ == EPlayMode::HowToPlay)
    board_.SetCurrentPlayer(kTutorialPlayer);
  TTurnStep step = MakeStep(ETurnStepKind::TurnStart);
  step.turn.closesMove = closesMove;
  step.turn.cascadeCut = cut;
  step.turn.remaining = remainingAtTurnStart_;
  step.turn.shine = shine_;
  step.turn.moves = moves_;
  step.status = status_;
  phase_ = status_ ? EPhase::LevelEnding : EPhase::AwaitMove;
  step.then = Waiting();
  return step;
}

TTurnStep TTurnDriver::ExplosionWave() {
  ++wavesThisMove_;
  TTurnStep step = MakeStep(ETurnStepKind::ExplosionWave);
  TExplosionWave wave = board_.StartExplosionWave();
  step.wave.cells = board_.ExplodeWave(wave);
  step.wave.chainLevel = wave.chainLevel;
  step.wave.lines = std::move(wave.lines);
  phase_ = EPhase::WaveDone;
  step.then = Waiting();
  return step;
}

TTurnStep TTurnDriver::EndLevel() {
  TTurnStep step = MakeStep(ETurnStepKind::LevelEnd);
  step.status = status_;
  if (mode_ == EPlayMode::Classic && status_ == ELevelStatus::Won)
    step.timeBonus =
        TimeBonus(board_.Counter(kCounterTimeLeft), levelTime_, board_.Counter(kCounterAllowance));
  phase_ = EPhase::Over;
  step.then = Waiting();
  return step;
}

ELevelStatus TTurnDriver::FinalStatus(ELevelStatus status) const {
  // A duel without moves counts as finished; against the computer the
  // scores alone decide, whatever ended the level.
  if (mode_ == EPlayMode::DuelPlayer && status == ELevelStatus::NoMoves) return ELevelStatus::Won;
  if (mode_ == EPlayMode::DuelComputer)
    return board_.Score(kPlayerOne) < board_.Score(kPlayerTwo) ? ELevelStatus::DuelLost : ELevelStatus::Won;
  return status;
}

std::string TTurnDriver::SwapRefusal(TCellPos a, TCellPos b) const {
  if (phase_ == EPhase::Idle) return "no level has started";
  if (status_) return "the level is over";
  if (phase_ != EPhase::AwaitMove) return "the turn is still running";
  if (!board_.Movable(a.col, a.row) || !board_.Movable(b.col, b.row)) return "a cell is not movable";
  if (!TBoardModel::Neighbours(a.col, a.row, b.col, b.row)) return "the cells are not neighbours";
  return {};
}

TTurnStep TTurnDriver::Swap(TCellPos a, TCellPos b) {
  TTurnStep step = MakeStep(ETurnStepKind::Swap);
  step.first = a;
  step.second = b;
  step.reason = SwapRefusal(a, b);
  if (!step.reason.empty()) {
    step.kind = ETurnStepKind::Rejected;
    step.then = Waiting();
    return step;
  }
  board_.ExchangeFlowers(a, b);
  swapFirst_ = a;
  swapSecond_ = b;
  swapProductive_ = board_.AnyLine();
  step.productive = swapProductive_;
  phase_ = EPhase::SwapDone;
  step.then = Waiting();
  return step;
}

TTurnStep TTurnDriver::Finish(ELevelStatus status) {
  if (phase_ != EPhase::AwaitMove) {
    TTurnStep step = MakeStep(ETurnStepKind::None);
    step.then = Waiting();
    return step;
  }
  status_ = FinalStatus(status);
  return EndLevel();
}

std::vector<TTurnStep> TTurnDriver::RunToRest() {
  std::vector<TTurnStep> steps;
  while (Waiting() == ETurnWait::Next) steps.push_back(Next());
  return steps;
}

TMoveOutcome TTurnDriver::PlayMove(TCellPos a, TCellPos b) {
  TMoveOutcome outcome;
  TTurnStep swap = Swap(a, b);
  if (swap.kind == ETurnStepKind::Rejected) {
    outcome.reason = swap.reason;
    return outcome;
  }
  outcome.accepted = true;
  outcome.productive = swap.productive;
  outcome.steps.push_back(std::move(swap));
  for (TTurnStep& step : RunToRest()) outcome.steps.push_back(std::move(step));
  return outcome;
}

int32_t TTurnDriver::ChooseNewFlower(size_t index) {
  if (index >= falls_.newFlowers.size()) return kNoColour;
  TNewFlower& flower = falls_.newFlowers[index];
  if (!chosen_[index]) {
    chosen_[index] = true;
    flower.colour = board_.ChooseNewFlower(falls_, flower);
  }
  return flower.colour;
}

std::optional<TLinkCellInfo> TTurnDriver::ComputerMove(double strength) const {
  return ChooseComputerMove(moves_, board_.Score(kPlayerOne), board_.Score(kPlayerTwo), strength,
                            remainingAtTurnStart_);
}

}  // namespace qv
