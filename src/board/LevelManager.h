// The level managers: the turn cycle of every play mode, driven by the ends
// of the board's scenarios, and what each mode adds (its clock, the
// computer's and the tutorial's moves, its tutorial hints). The rules are
// the turn driver's; a manager decides which scenario shows each step.
#pragma once

#include <optional>
#include <string>

#include "game/BoardTypes.h"
#include "game/TurnDriver.h"
#include "graphics/Rect.h"
#include "storage/PersistObject.h"

namespace qv {

class TGameBoardControl;

// Turn states.
enum ETurnState : int {
  kStateLevelStart = 0,
  kStateWaiting = 1,
  kStateSwap = 2,
  kStateSwapBack = 3,
  kStateExplosion = 4,
  kStateFalls = 6,
  kStateLevelLost = 8,
  kStateLevelWon = 9,
  kStateComputerMove = 10
};

// Scenario factory names the turn cycle starts.
inline constexpr const char* kScenarioStartLevel = "scenario_start_level";
inline constexpr const char* kScenarioExchange = "scenario_exchange_Flowers";
inline constexpr const char* kScenarioExplosion = "scenario_explosion";
inline constexpr const char* kScenarioFalls = "scenario_falls";
inline constexpr const char* kScenarioLevelEnd = "scenario_level_failed";
inline constexpr const char* kScenarioHint = "scenario_hint_link";
inline constexpr const char* kScenarioComputerClick = "scenario_computer_click_Flowers";

class TAbstractLevelManager : public TNamedObject {
public:
  int GetState() const { return state_; }
  virtual void SetState(int state) { state_ = state; }
  virtual void Attach(TGameBoardControl* board) { board_ = board; }
  virtual void Detach() { board_ = nullptr; }
  // Points in the board's child coordinates; true when handled.
  virtual bool MouseDown(TPoint point) {
    (void)point;
    return false;
  }
  virtual bool MouseUp(TPoint point) {
    (void)point;
    return false;
  }
  virtual void Tick(int ms) { (void)ms; }
  virtual void ScenarioFinished(const std::string& name) { (void)name; }
  TGameBoardControl* Board() const { return board_; }

protected:
  ~TAbstractLevelManager() override = default;

  TGameBoardControl* board_ = nullptr;
  int state_ = kStateWaiting;
};

class TBaseLevelManager : public TAbstractLevelManager {
public:
  // Leaving the waiting state removes the hint.
  void SetState(int state) override;
  // Runs the level-start scenario (state 0), or starts the first turn at
  // once when it cannot be made.
  void Attach(TGameBoardControl* board) override;
  void Detach() override;
  bool MouseDown(TPoint point) override;
  bool MouseUp(TPoint point) override;
  // In the waiting state: the idle timers and the hover.
  void Tick(int ms) override;
  void ScenarioFinished(const std::string& name) override;

  // Ends the level with the status: "scenario_level_failed" with
  // "level_complete_status", state 9 when won, else 8.
  virtual void FinishLevel(ELevelStatus status);
  // Swaps the pair as the player's swap does (state 2).
  void StartSwap(TCellPos first, TCellPos second);
  // The pair the player or the computer is swapping.
  TCellPos SwapFirst() const { return swapFirst_; }
  TCellPos SwapSecond() const { return swapSecond_; }
  // The time bonus the level-end step pays (a won timed level).
  int32_t TimeBonus() const { return timeBonus_; }
  // The move the computer chose (state 10), as shown.
  std::optional<TLinkCellInfo> ComputerChoice() const { return computerChoice_; }
  // Whether the manager waits for the human player's swap.
  bool WaitingForPlayer() const;
  // Tutorial hint n: shown once per profile when the move counter equals
  // `requiredMoves`; false when not shown now.
  bool TutorialHint(int n, int requiredMoves, TPoint position, bool fade = false);
  // A turn step from the driver, shown.
  void TakeStep(const TTurnStep& step);

protected:
  ~TBaseLevelManager() override = default;

  // Play goes on after a turn start: the mode's own additions (hints, the
  // computer's move). The base shows the automatic hint.
  virtual void OnTurnStart();
  // The level-end step's status after the mode's end rule.
  virtual ELevelStatus EndStatus(ELevelStatus status) { return status; }
  // Shows a pair picked by the computer (state 10).
  void ShowComputerMove(const TLinkCellInfo& move);
  void ShowAutomaticHint();
  // The tutorial hints of the modes in the mask that this level still may
  // show (each at most once per level).
  void TryTutorialHints(unsigned modeMask);
  // Whether a person moves now (the tutorial's player moves by itself).
  virtual bool WaitingForHuman() const { return true; }

private:
  void TurnStarted(const TTurnStep& step);
  void ResetIdleTimers();
  void StartWave(const TTurnStep& step);
  void Press(TPoint point, bool down);

  std::optional<TCellPos> selection_;
  bool justSelected_ = false;
  TCellPos swapFirst_;
  TCellPos swapSecond_;
  bool firstTurn_ = true;
  std::string hintScenario_;
  int32_t timeBonus_ = 0;
  unsigned shownHints_ = 0;
  std::optional<TLinkCellInfo> computerChoice_;
  // Idle timers: the remaining cells shine, and the shine wave.
  int idleTime1_ = 0;
  int idleLimit1_ = 0;
  int idleTime2_ = 0;
  int idleLimit2_ = 0;
};

// Relax: the turn cycle with tutorial hints 1, 2 and 5.
class TRelaxLevelManager : public TBaseLevelManager {
protected:
  ~TRelaxLevelManager() override = default;
  void OnTurnStart() override;
};

// Classic: relax with a clock (counter 2) and hint 3.
class TClassicLevelManager : public TRelaxLevelManager {
public:
  void Tick(int ms) override;

protected:
  ~TClassicLevelManager() override = default;
  void OnTurnStart() override;
};

// Two players on one board, alternating after every productive swap.
class TDuelLevelManager : public TBaseLevelManager {
protected:
  ~TDuelLevelManager() override = default;
};

// The duel against the computer: player 2's moves are the computer's.
class TDuelComputerLevelManager : public TDuelLevelManager {
public:
  bool WaitingForHuman() const override;
  void Attach(TGameBoardControl* board) override;
  double Strength() const { return strength_; }

protected:
  ~TDuelComputerLevelManager() override = default;
  void OnTurnStart() override;

private:
  double strength_ = 0.0;
};

// The tutorial: the manager plays every move itself.
class THowToPlayLevelManager : public TBaseLevelManager {
public:
  // On this level the tutorial shows the weakest move.
  static constexpr int kWeakestMoveLevel = 91;
  void Tick(int ms) override;

protected:
  ~THowToPlayLevelManager() override = default;
  void OnTurnStart() override;
  bool WaitingForHuman() const override { return false; }

private:
  bool waiting_ = false;
};

// The manager's type name for a play mode text.
const char* LevelManagerTypeFor(const std::string& playMode);

}  // namespace qv
