// The turn cycle as a resumable state machine. Each call does the next step
// of the rules on the board (swap, swap back, explosion wave, falls, turn
// start, level end) and returns a plain record of what the step did; the
// caller shows it (an animation in the game, a JSON line in the data tool)
// and then asks for the next step. The rules stay in TBoardModel: the driver
// only decides which of them runs next.
//
//   StartLevel --> [turn start] --over--> [level end] --> (over)
//                       | play on
//                       v
//                 (waits for a move) --Swap--> [swap] --no line--> [swap back] --> (waits for a move)
//                       ^                        | line
//                       |                        v
//                  [turn start] <--still-- [explosion wave] <--> [falls]
//
// A step whose `then` is ETurnWait::Next is followed by a call to Next(); a
// step with ETurnWait::Move waits for Swap() (or Finish() when the timed
// mode's clock runs out); ETurnWait::Nothing ends the level.
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

// How a level ended (the number is the status the level-end scenario shows).
enum class ELevelStatus : int { NoMoves = 0, Won = 1, TimeOut = 2, DuelLost = 3 };
inline int StatusNumber(ELevelStatus status) {
  return static_cast<int>(status);
}

// Player numbers: the first and second player of a duel, and the tutorial's
// own player, who never gets the automatic hint.
inline constexpr int kPlayerOne = 1;
inline constexpr int kPlayerTwo = 2;
inline constexpr int kTutorialPlayer = 3;

// At a turn start with at most kShineMaxRemaining cells left, the remaining
// cells shine when the move counter is a multiple of 3 or ends in 9.
inline constexpr int kShineMaxRemaining = 4;
bool RemainingCellsShine(int remaining, int moves);

// A player without stored values: the classic fitting factor and the board's
// first time factor. The allowance is the level time * (1.0 + 0.1).
inline constexpr double kDefaultFittingFactor = 1.0;
inline constexpr double kInitialTimeFactor = 0.1;

// Cascades longer than this many waves are cut off (a palette that cannot
// fill the board would otherwise never come to rest).
inline constexpr int kMaxCascadeWaves = 1000;

enum class ETurnStepKind {
  None,      // Next() or Swap() called when the driver waits for something else
  Rejected,  // a swap that is not allowed; nothing changed
  TurnStart,
  Swap,
  SwapBack,
  ExplosionWave,
  Falls,
  LevelEnd
};

// What the driver waits for after a step.
enum class ETurnWait {
  Next,    // call Next() when the step has been shown
  Move,    // the player's (or the computer's) swap: Swap(), or Finish()
  Nothing  // the level is over
};

// An explosion wave: its lines with their points, and every cell that
// exploded, in order, with what happened to it (kind change, flower
// removed, points paid, colour completed, artifact collected).
struct TWaveStep {
  int chainLevel = 0;  // counter 1 after the wave's first line; lines were scored at it
  std::vector<TWaveLine> lines;
  std::vector<TCellExplosion> cells;
  int LongestLine() const;
  // "color_cells" and "total_cells" gained in this wave.
  int ColourCells() const;
  int CompletedCells() const;
  int32_t Points() const;
};

struct TTurnStartStep {
  bool closesMove = false;        // the cascade of a productive swap ended ("move" +1)
  bool cascadeCut = false;        // that cascade was cut off at kMaxCascadeWaves
  int remaining = 0;              // cells still to complete
  bool shine = false;             // the remaining cells shine
  TLinkCellInfoCollection moves;  // the possible moves, strongest first
};

// One step as a plain record. Only the part of the step's kind is filled.
struct TTurnStep {
  ETurnStepKind kind = ETurnStepKind::None;
  ETurnWait then = ETurnWait::Nothing;
  // The player whose turn it is: the one who scored in a wave, the one to
  // move after a turn start.
  int player = kPlayerOne;
  std::string reason;  // Rejected: why
  TCellPos first;      // Swap, SwapBack, Rejected: the pair, first cell first
  TCellPos second;
  bool productive = false;             // Swap: it made a line
  TWaveStep wave;                      // ExplosionWave
  TFallsPlan falls;                    // Falls: the moves and the new flowers with their colours
  TTurnStartStep turn;                 // TurnStart
  std::optional<ELevelStatus> status;  // TurnStart that ends the level, LevelEnd
  int32_t timeBonus = 0;               // LevelEnd: points for time left (a won classic level), not yet paid
};

// A whole move: the swap and every step up to the next wait.
struct TMoveOutcome {
  bool accepted = false;
  std::string reason;            // why a move was rejected
  bool productive = false;       // the swap made a line and was kept
  std::vector<TTurnStep> steps;  // the swap first
};

class TTurnDriver {
public:
  explicit TTurnDriver(TBoardModel& board) : board_(board) {}

  // Starts a level as the level managers do for a player without stored
  // values: statistics and counters reset, difficulty, the classic time
  // allowance (nominal time * 1.1, the nominal time for a replay), the board
  // built and filled, the goal counters. The first Next() starts the first
  // turn (after the level-start scenario).
  // The board on screen passes the player's fitting factor and its own time
  // factor: the allowance is then round(level time * 1000) * (fitting +
  // time factor), rounded.
  void StartLevel(const TZinLevel& level, EPlayMode mode, int difficulty, bool replay = false,
                  double fitting = kDefaultFittingFactor, double timeFactor = kInitialTimeFactor);

  // What the driver waits for now.
  ETurnWait Waiting() const;
  // The next step when Waiting() is Next; a None step otherwise.
  TTurnStep Next();
  // Why a swap is not allowed now (empty when it is).
  std::string SwapRefusal(TCellPos a, TCellPos b) const;
  // The swap of two neighbouring movable cells while the driver waits for a
  // move: the flowers are exchanged; Next() then explodes (a line) or swaps
  // back (none). A refused swap is a Rejected step and changes nothing.
  TTurnStep Swap(TCellPos a, TCellPos b);
  // Ends the level while the driver waits for a move (the timed mode's
  // clock ran out): the LevelEnd step. A None step at any other time.
  TTurnStep Finish(ELevelStatus status);

  // Runs Next() until the driver waits for a move or the level is over.
  std::vector<TTurnStep> RunToRest();
  // Swap and every step up to the next wait.
  TMoveOutcome PlayMove(TCellPos a, TCellPos b);

  EPlayMode Mode() const { return mode_; }
  // The possible moves found at the start of the current turn.
  const TLinkCellInfoCollection& Moves() const { return moves_; }
  // The finishing status once a turn start (or Finish) has ended the level.
  std::optional<ELevelStatus> Status() const { return status_; }
  int RemainingAtTurnStart() const { return remainingAtTurnStart_; }
  // Whether this turn's start made the remaining cells shine.
  bool ShineAtTurnStart() const { return shine_; }
  // Cascades cut off at kMaxCascadeWaves so far.
  int CutCascades() const { return cutCascades_; }

  // With deferral on, a Falls step moves the falling flowers but leaves the
  // new flowers' cells empty: the board on screen draws each colour when
  // that flower starts to move (ChooseNewFlower, in any order), and the
  // next Next() draws those still missing, in start order.
  void SetDeferNewFlowers(bool value) { deferNewFlowers_ = value; }
  // The colour of the running falls' new flower `index` (drawn once; the
  // same colour again on a second call); -1 outside the plan.
  int32_t ChooseNewFlower(size_t index);
  // The falls of the last Falls step, with the colours drawn so far.
  const TFallsPlan& Falls() const { return falls_; }

  // The duel computer's choice for this turn (drawing from the generator).
  std::optional<TLinkCellInfo> ComputerMove(double strength) const;

private:
  // Where the cycle stands: what the next Next() does.
  enum class EPhase { Idle, LevelStart, AwaitMove, SwapDone, WaveDone, FallsDone, LevelEnding, Over };

  TTurnStep MakeStep(ETurnStepKind kind) const;
  TTurnStep StartTurn(bool closesMove, bool cut);
  TTurnStep ExplosionWave();
  TTurnStep EndLevel();
  ELevelStatus FinalStatus(ELevelStatus status) const;

  TBoardModel& board_;
  EPlayMode mode_ = EPlayMode::Relax;
  EPhase phase_ = EPhase::Idle;
  int32_t levelTime_ = 0;
  TCellPos swapFirst_;
  TCellPos swapSecond_;
  bool swapProductive_ = false;
  int wavesThisMove_ = 0;
  TLinkCellInfoCollection moves_;
  std::optional<ELevelStatus> status_;
  int remainingAtTurnStart_ = 0;
  bool shine_ = false;
  int cutCascades_ = 0;
  bool deferNewFlowers_ = false;
  TFallsPlan falls_;
  std::vector<bool> chosen_;
};

}  // namespace qv
