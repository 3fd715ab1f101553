// The board of the level being played, on screen. It owns the rules (the
// board model and the turn driver), one cell widget per existing cell, the
// flowers and their pool, the selection light, the score and level
// displays, and the level manager of the play mode, to which it forwards
// mouse presses and frames. The rules run ahead: a step changes the model
// at once and the scenarios then show it, cell by cell, at the moments
// their animations reach.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "board/CellWidget.h"
#include "board/FlowerWidget.h"
#include "controls/ControlWidget.h"
#include "game/BoardModel.h"
#include "game/PlayRecord.h"
#include "game/TurnDriver.h"
#include "game/ZinLevel.h"

namespace qv {

class TAbstractLevelManager;
class IGameScreenOwner;
class TZinLevelCollection;

// Board modes.
inline constexpr int kBoardWon = 0;
inline constexpr int kBoardLost = 1;
inline constexpr int kBoardPlay = 2;

// The timed mode's time display (an oil lamp), on the board's screen.
inline constexpr const char* kTimeDisplayPath = "window:/quest_mode/OilLamp_control";

// The duel panel's status texts on the board's screen: the player's prompt
// (its text is the panel's own) and the computer's "wait".
inline constexpr const char* kDuelPromptPath = "window:/duel_panel/duel_prompt";
inline constexpr const char* kDuelWaitPath = "window:/duel_panel/duel_wait";

// The pointer picks the nearest cell closer than this (pixels).
inline constexpr double kPickDistance = 30.0;
// The flower nearest to the pointer within this distance shines.
inline constexpr double kHoverDistance = 80.0;
// Released flowers kept for reuse.
inline constexpr size_t kMaxPooledFlowers = 256;
// Flying points: they rise this far over their lifetime, starting late.
inline constexpr int kScoreRise = 100;
inline constexpr int kScoreFlightMs = 1200;
inline constexpr int kScoreFlightDelayMs = 200;

// The start delay of a cell's shine in a shine wave of the pattern (0..6),
// in milliseconds; 0 for an unknown pattern.
int ShineDelay(int pattern, int col, int row, int cols, int rows);

class TGameBoardControl : public TControlWidget {
public:
  TGameBoardControl();

  // The control's keys and the names of the displays it updates:
  // "scorewidget1", "scorewidget2", "levelwidget", "modewidget" (paths
  // from the board; the display shows the number in its "value").
  QV_PROPERTY_TABLE(TGameBoardControl)

  void SetOwner(IWidgetOwner* owner) override;
  void Detach() override;
  // The children's time, then the watch on scenarios and, in play, the
  // play time and the level manager's frame; after a level end, the
  // level-end step.
  void AdvanceTime(int dt) override;
  bool OnMouseDown(TPoint point, unsigned flags, int button) override;
  bool OnMouseUp(TPoint point, unsigned flags, int button) override;
  bool OnMouseMove(TPoint point, unsigned flags) override;
  // Keyboard play (BoardCursor.h): the arrows and Q W E A S D move a cursor
  // cell, shown by "cursor_ring" and the flower's hover animation; Space or
  // Return acts on it as a click would (select, swap with the selected
  // neighbour, deselect); Escape takes a selection back. False for every
  // other key, and for Escape with nothing selected (the screen pauses).
  bool KeyDown(unsigned key);
  std::optional<TCellPos> Cursor() const { return cursor_; }

  // --- the rules ------------------------------------------------------------------
  TBoardModel& Model() { return model_; }
  const TBoardModel& Model() const { return model_; }
  TTurnDriver& Driver() { return driver_; }
  const TZinLevel* Level() const { return level_.get(); }
  int GetLevelNumber() const { return levelNumber_; }
  const std::string& GetPlayMode() const { return playMode_; }
  bool IsReplay() const { return replay_; }
  int GetBoardMode() const { return boardMode_; }
  TAbstractLevelManager* GetLevelManager() const { return manager_.get(); }
  // The artifact the level can win (0 none).
  int32_t LevelArtifact() const;

  // Starts the level: clears the board, loads the level from the level
  // list ("zinlevels"), difficulty from the player's profile, and creates
  // and attaches the mode's level manager. An unloadable level leaves the
  // board empty with no manager.
  void StartLevel(int levelNumber, const std::string& playMode, bool replay);
  // Starts a level that is already loaded (tools and tests).
  void StartLoadedLevel(const Ref<TZinLevel>& level, int levelNumber, const std::string& playMode,
                        bool replay, int difficulty);
  // The level-end scenario has ended: the board mode becomes won or lost
  // and the level-end step runs on the next frame.
  void LevelScenarioEnded(bool won);

  // --- geometry and cells ---------------------------------------------------------
  // The centre of a cell in the board's child coordinates.
  TPoint CellCentre(int col, int row) const;
  TPoint CellCentre(TCellPos pos) const { return CellCentre(pos.col, pos.row); }
  // The same point on the screen.
  TPoint CellScreenCentre(TCellPos pos);
  // The cell whose centre is nearest to the point (child coordinates) and
  // closer than `distance`; the first in column-major order on a tie.
  std::optional<TCellPos> NearestCell(TPoint point, double distance) const;
  // Nothing outside the grid or for a hole.
  TCellWidget* CellWidget(int col, int row) const;
  TCellWidget* CellWidget(TCellPos pos) const { return CellWidget(pos.col, pos.row); }
  // Every cell widget shows the model's cell (kind, colour, flower).
  void SyncCellWidgets();
  // True when every cell widget shows what the model holds.
  bool CellWidgetsAgree() const;
  // A flower widget for the code, from the pool or made by "FlowerColor"
  // ("Artifact" for an artifact); empty when no factory makes one.
  Ref<IWidget> TakeFlowerWidget(int32_t code);
  void ReleaseFlowerWidget(const Ref<IWidget>& widget);
  size_t FlowerPoolSize() const { return pool_.size(); }

  // --- selection --------------------------------------------------------------------
  std::optional<TCellPos> Selection() const { return selection_; }
  // Lights the cell ("sound_choice", 50 sparkles) or, with nothing, turns
  // the light off.
  void Select(std::optional<TCellPos> cell);

  // --- scenarios ---------------------------------------------------------------------
  // Creates the scenario by factory name inside "scenaries_group" (the
  // board itself without one). With `watch` the board tells the level
  // manager when no live widget of its name is left there.
  Ref<IWidget> RunScenario(const std::string& factory, IParamCollection* params, bool watch);
  IWidget* ScenariesGroup();
  // A live (not dead) widget of that name in the scenario group.
  bool ScenarioAlive(const std::string& name);
  // Kills (marks dead) the scenario of that name in the group, if any.
  void KillScenario(const std::string& name);
  const std::string& WatchedScenario() const { return watched_; }
  // The running scenario names the level-end scenario waits for, joined by ";".
  std::string& RunningScenarios() { return runningScenarios_; }
  // The wave and the falls the scenarios are showing.
  const TWaveStep& CurrentWave() const { return wave_; }
  void SetCurrentWave(TWaveStep wave);
  // The explosion record of the cell in the running wave that has not been
  // shown yet (each cell is shown once, at the first line that reaches
  // it); null when there is none.
  const TCellExplosion* TakeWaveCell(TCellPos cell);
  // Shows one exploded cell: the burst, the flower removed, the lock
  // opening, the points paid, the colour or artifact flying out. New
  // scenarios the wave must wait for are listed on `waiter`.
  void ShowCellExplosion(const TCellExplosion& cell, int lineNumber, class TZintaraScenario& waiter);
  // "yes" when collecting the artifact is to lead to the trophy room (and
  // the profile then remembers it), else "no".
  std::string TrophyRoomAnswer(int32_t artifact);
  // Cells drawn above their neighbours while their flowers travel.
  void RaiseCell(TCellPos cell, bool raised);
  const TFallsPlan& CurrentFalls() const { return driver_.Falls(); }

  // --- scores, statistics, displays ----------------------------------------------
  // The displayed scores follow the model's.
  void UpdateDisplays();
  // The duel panel reads "wait" while the computer moves, else shows the
  // player's prompt (either text only when the screen has it).
  void ShowDuelStatus(bool computerMoves);
  // Points flown up from a point (child coordinates): "move_score".
  void FlyScore(int32_t points, TPoint from);
  // The combination texts of a wave with lines.
  void ShowWaveTexts(const TWaveStep& wave);
  // Runs the "ShineEffect" wave over every cell (effect 1..6, pattern 0..6).
  // Each cell's effect is created only when its delay comes due, so that a
  // wave costs one cell's loading per frame rather than the whole board's.
  void ShineWave(int effect, int pattern);
  // The remaining cells shine.
  void ShineRemaining();
  // The flower nearest to the pointer (within kHoverDistance), unless
  // selected, gets its hover animation.
  void HoverNearest();

  // --- notifications and the trace ----------------------------------------------------
  // To the screen (IGameBoardHost); nothing without one.
  void Notify(int code, IParamCollection* params);
  // The trace's "level_start" and "move" events.
  void TraceLevelStart();
  TMoveRecorder& MoveRecorder() { return recorder_; }
  void TraceMove();
  // The pointer, in child coordinates; false without the engine's cursor.
  bool PointerPosition(TPoint& point);
  // The game; null outside one.
  IGameScreenOwner* Game() const { return GetScreenOwner(); }
  // The game option "ShowHints" is not "no" (hints are on without a game).
  bool HintsOn() const;
  // The current player profile's parameters; null without a profile.
  IParamCollection* ProfileParams() const;
  // Shows the "hint" panel at the position with its "text_hint" + n child
  // (the others hidden); with `fade` the "button_go" fades in.
  void ShowHintPanel(int n, TPoint position, bool fade);
  void HideHintPanel();
  // Counter 2 changed: the time display ("OilLampCurrentTime" of the
  // screen's "quest_mode/OilLamp_control", when there is one) follows.
  void TimeChanged();
  // A level started: a timed level shows the time display with its
  // allowance ("OilLampLevelTime") and time left; an untimed one hides it.
  void StartTimeDisplay();
  // From the level-end step until the next level starts (the result is
  // shown, the statistics follow).
  bool InLevelEnd() const;

protected:
  ~TGameBoardControl() override;

private:
  // Removes every cell widget, flower and scenario; the grid is emptied.
  void ClearBoard();
  // One cell widget per existing cell of the model, and the mats.
  void BuildWidgets();
  void AttachManager(const std::string& playMode);
  void LevelEndStep(bool complete);
  // What the statistics screen is shown with after the level.
  Ref<TParamCollection> StatisticsParams(bool complete) const;
  // A value of the current profile, traced as "profile"; nothing without one.
  void WriteProfile(const std::string& name, const std::string& value);
  // Writes the players' file now (after a level's result).
  void SaveProfiles();
  IWidget* Display(const std::string& path);
  Ref<IWidget> FindChild(const std::string& name);

  TBoardModel model_;
  TTurnDriver driver_;
  Ref<TZinLevel> level_;
  int levelNumber_ = 0;
  std::string playMode_ = "relax";
  bool replay_ = false;
  int boardMode_ = kBoardPlay;
  bool levelEndPending_ = false;
  Ref<TAbstractLevelManager> manager_;
  std::vector<Ref<TCellWidget>> cells_;  // cols * rows, column-major; empty for holes
  std::vector<Ref<IWidget>> pool_;
  std::optional<TCellPos> selection_;
  std::string watched_;
  std::string runningScenarios_;
  TWaveStep wave_;
  std::vector<bool> waveShown_;
  TMoveRecorder recorder_;
  int32_t shownScores_[2] = {-1, -1};
  std::string scoreWidget1_ = "window:/score1";
  std::string scoreWidget2_ = "window:/score2";
  std::string levelWidget_ = "window:/level_number";
  std::string modeWidget_ = "window:/play_mode";
  int scenarioCounter_ = 0;
  int cellZ_ = 10;
  bool firstTurnTraced_ = false;
  std::optional<TCellPos> hovered_;
  // The keyboard's cursor, and the pointer where it was when the keyboard
  // took over (the pointer's hover waits until it moves).
  std::optional<TCellPos> cursor_;
  std::optional<TPoint> pointerAtKey_;
  void ShowCursor();
  void Click(TCellPos cell);
  Ref<IWidget> displayHold_;
  // The cells of a shine wave whose effects are not created yet.
  struct TPendingShine {
    TCellPos cell;
    int effect = 0;
    int dueMs = 0;
  };
  std::vector<TPendingShine> pendingShine_;
  int shineClock_ = 0;
  int lastDt_ = 0;
  // Advances the wave's clock by dt and creates the effects due before the
  // frame after next, taken to be `lookahead` long.
  void CreateDueShines(int dt, int lookahead);
  // The two adaptive factors of the timed mode.
  double fittingFactor_ = kDefaultFittingFactor;
  double timeFactor_ = kInitialTimeFactor;

public:
  double GetFittingFactor() const { return fittingFactor_; }
  void SetFittingFactor(double value) { fittingFactor_ = value; }
  double GetTimeFactor() const { return timeFactor_; }
  void SetTimeFactor(double value) { timeFactor_ = value; }
  // The first turn start of a level is traced as "level_start" once.
  bool TakeFirstTurn() { return !std::exchange(firstTurnTraced_, true); }
};

}  // namespace qv
