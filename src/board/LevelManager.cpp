#include "board/LevelManager.h"

#include "board/GameBoardControl.h"
#include "board/IGameBoardHost.h"
#include "core/Random.h"
#include "game/ComputerPlayer.h"
#include "screens/ScreenSupport.h"

namespace qv {

namespace {

// The idle timers' limits: the first fires after 8000..12999 ms, the
// second starts at 6000 and fires past 10000..14999 ms.
constexpr int kIdleShineMin = 8000;
constexpr int kIdleShineSpread = 5000;
constexpr int kWaveStart = 6000;
constexpr int kWaveMin = 10000;
constexpr int kWaveSpread = 5000;
// The automatic hint waits this long, then repeats after the cycle delay.
constexpr const char* kHintStartDelay = "10000";
constexpr const char* kHintCycleDelay = "4000";

// Modes a tutorial hint belongs to.
enum EHintModes : unsigned {
  kHintRelax = 1,
  kHintClassic = 2,
  kHintDuelComputer = 4,
  kHintEvery = 0xff,
};

struct THintRule {
  int number;
  unsigned modes;
  int difficulty;  // 0: any
  int level;
  int moves;
  TPoint position;
};

// The tutorial hints; hint 2 is placed at the first remaining cell.
constexpr THintRule kHints[] = {
    {1, kHintRelax | kHintClassic, 1, 1, 0, {200, 200}},
    {2, kHintRelax | kHintClassic, 1, 1, 2, {200, 100}},
    {3, kHintClassic, 0, 2, 0, {200, 200}},
    {4, kHintEvery, 1, 9, 0, {200, 20}},
    {5, kHintRelax | kHintClassic, 1, 3, 0, {200, 200}},
    {6, kHintDuelComputer, 0, 1, 0, {200, 180}},
    {7, kHintEvery, 2, 1, 0, {200, 200}},
};

unsigned HintModeOf(const std::string& mode) {
  if (mode == "classic") return kHintClassic;
  if (mode == "duel_computer") return kHintDuelComputer;
  if (mode == "relax") return kHintRelax;
  return 0;
}

Ref<TParamCollection> PairParams(TCellPos a, TCellPos b) {
  return MakeParams({{"RefCells", CellsToText({a, b})}});
}

}  // namespace

const char* LevelManagerTypeFor(const std::string& playMode) {
  if (playMode == "classic") return "ClassicLevelManager";
  if (playMode == "duel_player") return "DuelPlayerLevelManager";
  if (playMode == "duel_computer") return "DuelComputerLevelManager";
  if (playMode == "how_to_play") return "HowToPlayLevelManager";
  return "RelaxLevelManager";
}

// --- the turn cycle ---------------------------------------------------------------------------

void TBaseLevelManager::SetState(int state) {
  if (state != kStateWaiting && board_ && !hintScenario_.empty()) {
    board_->KillScenario(hintScenario_);
    hintScenario_.clear();
  }
  TAbstractLevelManager::SetState(state);
}

void TBaseLevelManager::Attach(TGameBoardControl* board) {
  TAbstractLevelManager::Attach(board);
  firstTurn_ = true;
  shownHints_ = 0;
  if (board_->RunScenario(kScenarioStartLevel, nullptr, true)) {
    SetState(kStateLevelStart);
    return;
  }
  SetState(kStateLevelStart);
  ScenarioFinished(kScenarioStartLevel);
}

void TBaseLevelManager::Detach() {
  if (board_ && !hintScenario_.empty()) board_->KillScenario(hintScenario_);
  hintScenario_.clear();
  TAbstractLevelManager::Detach();
}

void TBaseLevelManager::ScenarioFinished(const std::string& name) {
  (void)name;
  if (!board_) return;
  TTurnDriver& driver = board_->Driver();
  switch (state_) {
    case kStateLevelStart:
      for (int c = 0; c < board_->Model().Cols(); ++c)
        for (int r = 0; r < board_->Model().Rows(); ++r)
          if (TCellWidget* cell = board_->CellWidget(c, r)) {
            cell->Show(true);
            cell->ShowBase();
            cell->ShowFlower(true);
            cell->ShowLock(true);
          }
      if (const Ref<IWidget> mats = board_->GetChild("mat_group")) mats->Show(true);
      TakeStep(driver.Next());
      break;
    case kStateSwap: {
      const TTurnStep step = driver.Swap(swapFirst_, swapSecond_);
      if (step.kind == ETurnStepKind::Rejected) {
        SetState(kStateWaiting);
        break;
      }
      board_->SyncCellWidgets();
      board_->MoveRecorder().Begin(swapFirst_, swapSecond_, step.productive, board_->Model());
      if (step.productive) {
        TakeStep(driver.Next());
      } else {
        const Ref<TParamCollection> params = PairParams(swapFirst_, swapSecond_);
        SetState(kStateSwapBack);
        if (!board_->RunScenario(kScenarioExchange, params.get(), true)) TakeStep(driver.Next());
      }
      break;
    }
    case kStateSwapBack:
      TakeStep(driver.Next());
      break;
    case kStateExplosion:
      board_->SyncCellWidgets();
      TakeStep(driver.Next());
      break;
    case kStateFalls: {
      // Flowers the scenario did not start are drawn now, in start order.
      for (size_t i = 0; i < driver.Falls().newFlowers.size(); ++i) driver.ChooseNewFlower(i);
      board_->SyncCellWidgets();
      TTurnStep falls;
      falls.kind = ETurnStepKind::Falls;
      board_->MoveRecorder().Step(falls, board_->Model());
      TakeStep(driver.Next());
      break;
    }
    case kStateLevelLost:
    case kStateLevelWon:
      board_->LevelScenarioEnded(state_ == kStateLevelWon);
      break;
    case kStateComputerMove:
      if (computerChoice_) StartSwap(computerChoice_->first, computerChoice_->second);
      break;
    default:
      break;
  }
}

void TBaseLevelManager::TakeStep(const TTurnStep& step) {
  if (!board_) return;
  switch (step.kind) {
    case ETurnStepKind::TurnStart:
      TurnStarted(step);
      break;
    case ETurnStepKind::ExplosionWave:
      StartWave(step);
      break;
    case ETurnStepKind::Falls:
      SetState(kStateFalls);
      if (!board_->RunScenario(kScenarioFalls, nullptr, true)) ScenarioFinished(kScenarioFalls);
      break;
    case ETurnStepKind::SwapBack:
      board_->SyncCellWidgets();
      board_->TraceMove();
      SetState(kStateWaiting);
      break;
    case ETurnStepKind::LevelEnd:
      timeBonus_ = step.timeBonus;
      FinishLevel(step.status.value_or(ELevelStatus::NoMoves));
      break;
    default:
      break;
  }
}

void TBaseLevelManager::StartWave(const TTurnStep& step) {
  board_->MoveRecorder().Step(step, board_->Model());
  board_->SetCurrentWave(step.wave);
  SetState(kStateExplosion);
  if (!board_->RunScenario(kScenarioExplosion, nullptr, true)) ScenarioFinished(kScenarioExplosion);
}

void TBaseLevelManager::TurnStarted(const TTurnStep& step) {
  board_->TraceMove();
  if (board_->TakeFirstTurn()) board_->TraceLevelStart();
  selection_.reset();
  justSelected_ = false;
  if (board_->Selection()) board_->Select(std::nullopt);
  board_->HideHintPanel();
  ResetIdleTimers();
  board_->UpdateDisplays();
  if (step.status) {
    TakeStep(board_->Driver().Next());
    return;
  }
  SetState(kStateWaiting);
  if (step.turn.shine) board_->ShineRemaining();
  firstTurn_ = false;
  OnTurnStart();
}

void TBaseLevelManager::FinishLevel(ELevelStatus status) {
  const bool won = status == ELevelStatus::Won;
  const Ref<TParamCollection> params =
      MakeParams({{"level_complete_status", std::to_string(StatusNumber(status))}});
  SetState(won ? kStateLevelWon : kStateLevelLost);
  if (!board_->RunScenario(kScenarioLevelEnd, params.get(), true)) board_->LevelScenarioEnded(won);
}

void TBaseLevelManager::StartSwap(TCellPos first, TCellPos second) {
  if (!board_ || !board_->Driver().SwapRefusal(first, second).empty()) return;
  swapFirst_ = first;
  swapSecond_ = second;
  selection_.reset();
  board_->Select(std::nullopt);
  board_->HideHintPanel();
  const Ref<TParamCollection> params = PairParams(first, second);
  SetState(kStateSwap);
  if (!board_->RunScenario(kScenarioExchange, params.get(), true)) ScenarioFinished(kScenarioExchange);
}

void TBaseLevelManager::ShowComputerMove(const TLinkCellInfo& move) {
  computerChoice_ = move;
  const Ref<TParamCollection> params = PairParams(move.first, move.second);
  SetState(kStateComputerMove);
  if (!board_->RunScenario(kScenarioComputerClick, params.get(), true))
    ScenarioFinished(kScenarioComputerClick);
}

bool TBaseLevelManager::WaitingForPlayer() const {
  return board_ && state_ == kStateWaiting && board_->Model().CurrentPlayer() == kPlayerOne &&
         !board_->Driver().Status();
}

// --- input --------------------------------------------------------------------------------

bool TBaseLevelManager::MouseDown(TPoint point) {
  if (state_ != kStateWaiting || !WaitingForHuman()) return false;
  Press(point, true);
  return true;
}

bool TBaseLevelManager::MouseUp(TPoint point) {
  if (state_ != kStateWaiting || !WaitingForHuman()) return false;
  Press(point, false);
  justSelected_ = false;
  return true;
}

void TBaseLevelManager::Press(TPoint point, bool down) {
  const std::optional<TCellPos> cell = board_->NearestCell(point, kPickDistance);
  if (!cell || !board_->Model().Movable(cell->col, cell->row)) return;
  const auto select = [&](TCellPos pos) {
    selection_ = pos;
    justSelected_ = true;
    board_->Select(pos);
  };
  if (!selection_) {
    select(*cell);
    return;
  }
  if (*cell == *selection_) {
    if (!down && !justSelected_) {
      selection_.reset();
      board_->Select(std::nullopt);
      board_->PlaySound("sound_unchoice", true, 100, 0);
    }
    return;
  }
  if (TBoardModel::Neighbours(cell->col, cell->row, selection_->col, selection_->row)) {
    StartSwap(*cell, *selection_);
    return;
  }
  select(*cell);
}

// --- idle timers and hints -------------------------------------------------------------------

void TBaseLevelManager::ResetIdleTimers() {
  idleTime1_ = 0;
  idleLimit1_ = kIdleShineMin + RandomInt(kIdleShineSpread);
  idleTime2_ = kWaveStart;
  idleLimit2_ = kWaveMin + RandomInt(kWaveSpread);
}

void TBaseLevelManager::Tick(int ms) {
  if (!board_ || state_ != kStateWaiting) return;
  idleTime1_ += ms;
  if (idleTime1_ > idleLimit1_) {
    board_->ShineRemaining();
    idleTime1_ = 0;
    idleLimit1_ = kIdleShineMin + RandomInt(kIdleShineSpread);
  }
  idleTime2_ += ms;
  if (idleTime2_ > idleLimit2_) {
    board_->PlaySound("sound_shine" + std::to_string(RandomInt(3) + 1), true, 100, 0);
    const int effect = RandomInt(6) + 1;
    int pattern = RandomInt(3);
    if (effect >= 3) pattern = effect;
    board_->ShineWave(effect, pattern);
    idleTime2_ = 0;
    idleLimit2_ = kWaveMin + RandomInt(kWaveSpread);
  }
  board_->HoverNearest();
}

void TBaseLevelManager::ShowAutomaticHint() {
  const int player = board_->Model().CurrentPlayer();
  if (!board_->HintsOn() || (player != kPlayerOne && player != kPlayerTwo)) return;
  const TLinkCellInfoCollection& moves = board_->Driver().Moves();
  if (moves.Empty()) return;
  if (!hintScenario_.empty()) board_->KillScenario(hintScenario_);
  hintScenario_.clear();
  const TLinkCellInfo& move = moves[RandomInt(moves.Count())];
  const Ref<TParamCollection> params = MakeParams({{"RefCells", CellsToText({move.first, move.second})},
                                                   {"startdelaytime", kHintStartDelay},
                                                   {"cycledelaytime", kHintCycleDelay}});
  if (const Ref<IWidget> hint = board_->RunScenario(kScenarioHint, params.get(), false))
    hintScenario_ = hint->GetName();
}

bool TBaseLevelManager::TutorialHint(int n, int requiredMoves, TPoint position, bool fade) {
  if (board_->Model().Counter(kCounterMoves) != requiredMoves || !board_->HintsOn()) return false;
  IParamCollection* profile = board_->ProfileParams();
  const std::string key = "hint" + std::to_string(n);
  if (!profile || profile->GetParam(key)) return false;
  profile->SetParamValue(key, 1LL);
  board_->ShowHintPanel(n, position, fade);
  return true;
}

void TBaseLevelManager::TryTutorialHints(unsigned modeMask) {
  const int difficulty = board_->Model().Difficulty();
  const int level = board_->GetLevelNumber();
  for (const THintRule& rule : kHints) {
    if (!(rule.modes & modeMask)) continue;
    if (shownHints_ & (1u << rule.number)) continue;
    if ((rule.difficulty && rule.difficulty != difficulty) || rule.level != level) continue;
    TPoint position = rule.position;
    const bool second = rule.number == 2;
    if (second && board_->Model().RemainingCells() > 0)
      position = board_->CellCentre(board_->Model().RemainingCell(0));
    if (!TutorialHint(rule.number, rule.moves, position, second)) continue;
    if (second) board_->ShineRemaining();
    shownHints_ |= 1u << rule.number;
  }
}

void TBaseLevelManager::OnTurnStart() {
  ShowAutomaticHint();
  TryTutorialHints(HintModeOf(board_->GetPlayMode()));
}

// --- the modes -----------------------------------------------------------------------------

void TRelaxLevelManager::OnTurnStart() {
  TBaseLevelManager::OnTurnStart();
}

void TClassicLevelManager::OnTurnStart() {
  TRelaxLevelManager::OnTurnStart();
}

void TClassicLevelManager::Tick(int ms) {
  TRelaxLevelManager::Tick(ms);
  if (!board_) return;
  if (board_->IsMouseStop() && state_ != kStateLevelStart && state_ != kStateLevelLost &&
      state_ != kStateLevelWon) {
    TBoardModel& model = board_->Model();
    model.SetCounter(kCounterTimeLeft, model.Counter(kCounterTimeLeft) - ms);
    board_->TimeChanged();
  }
  if (state_ == kStateWaiting && board_->Model().Counter(kCounterTimeLeft) < 0)
    TakeStep(board_->Driver().Finish(ELevelStatus::TimeOut));
}

void TDuelComputerLevelManager::Attach(TGameBoardControl* board) {
  strength_ =
      ComputerStrengthFactor(board->GetFittingFactor(), board->Model().Difficulty(), board->IsReplay());
  TDuelLevelManager::Attach(board);
}

void TDuelComputerLevelManager::OnTurnStart() {
  board_->ShowDuelStatus(board_->Model().CurrentPlayer() == kPlayerTwo);
  if (board_->Model().CurrentPlayer() == kPlayerTwo) {
    if (const std::optional<TLinkCellInfo> move = board_->Driver().ComputerMove(strength_))
      ShowComputerMove(*move);
    return;
  }
  TDuelLevelManager::OnTurnStart();
}

bool TDuelComputerLevelManager::WaitingForHuman() const {
  return board_ && board_->Model().CurrentPlayer() == kPlayerOne;
}

void THowToPlayLevelManager::OnTurnStart() {
  waiting_ = true;
}

void THowToPlayLevelManager::Tick(int ms) {
  TBaseLevelManager::Tick(ms);
  if (!board_ || state_ != kStateWaiting || !waiting_) return;
  IWidget* group = board_->ScenariesGroup();
  if (group != board_ && group->GetChildren())
    for (int i = 0; i < group->GetChildren()->GetCount(); ++i)
      if (!group->GetChildren()->GetWidget(i)->IsDead()) return;
  waiting_ = false;
  board_->Notify(kBoardTutorialStep, nullptr);
  const TLinkCellInfoCollection& moves = board_->Driver().Moves();
  if (moves.Empty()) return;
  TLinkCellInfo move = board_->GetLevelNumber() == kWeakestMoveLevel ? moves[moves.Count() - 1] : moves[0];
  if (RandomInt(2) == 1) std::swap(move.first, move.second);
  ShowComputerMove(move);
}

}  // namespace qv
