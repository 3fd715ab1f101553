#include "board/GameBoardControl.h"

#include <cmath>
#include <cstdlib>

#include "board/BoardCursor.h"
#include "board/CombinationTexts.h"
#include "board/IGameBoardHost.h"
#include "board/LevelManager.h"
#include "board/ZintaraScenario.h"
#include "core/Diagnostics.h"
#include "core/Messages.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "core/Trace.h"
#include "game/Fitting.h"
#include "game/ZinLevelCollection.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/IGameScreenOwner.h"
#include "screens/IGameScreenSlave.h"
#include "screens/ScreenSupport.h"
#include "services/ICursorPosition.h"
#include "storage/ClassRegistry.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

namespace {

// A profile value as a number; `fallback` when missing or not a number.
double ProfileNumber(IUserProfile* profile, const std::string& name, double fallback) {
  if (!profile) return fallback;
  const TVariant value = profile->GetParams().GetParamValueDef(name, TVariant());
  if (std::holds_alternative<std::monostate>(value)) return fallback;
  if (std::holds_alternative<long long>(value) || std::holds_alternative<double>(value))
    return VarToFloat(value, fallback);
  const std::string text = Trim(VarToString(value));
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  return !text.empty() && end && *end == 0 && std::isfinite(number) ? number : fallback;
}

}  // namespace

TGameBoardControl::TGameBoardControl() : driver_(model_) {
  driver_.SetDeferNewFlowers(true);
}

TGameBoardControl::~TGameBoardControl() = default;

const TPropertyTable<TGameBoardControl>& TGameBoardControl::Properties() {
  using W = TGameBoardControl;
  static const TPropertyTable<W> table = TPropertyTable<W>(TControlWidget::Properties())
                                             .String("scorewidget1", &W::scoreWidget1_, "window:/score1")
                                             .String("scorewidget2", &W::scoreWidget2_, "window:/score2")
                                             .String("levelwidget", &W::levelWidget_, "window:/level_number")
                                             .String("modewidget", &W::modeWidget_, "window:/play_mode");
  return table;
}

void TGameBoardControl::SetOwner(IWidgetOwner* owner) {
  TControlWidget::SetOwner(owner);
}

void TGameBoardControl::Detach() {
  if (manager_) manager_->Detach();
  manager_ = nullptr;
  pool_.clear();
  cells_.clear();
  TControlWidget::Detach();
}

Ref<IWidget> TGameBoardControl::FindChild(const std::string& name) {
  return GetChild(name);
}

// --- levels ---------------------------------------------------------------------------

int32_t TGameBoardControl::LevelArtifact() const {
  IGameScreenOwner* game = GetScreenOwner();
  if (!game) return 0;
  const Ref<TZinLevelCollection> levels = Query<TZinLevelCollection>(game->GetContextObject("zinlevels"));
  return levels ? levels->GetArtifact(levelNumber_) : 0;
}

void TGameBoardControl::StartLevel(int levelNumber, const std::string& playMode, bool replay) {
  IGameScreenOwner* game = GetScreenOwner();
  IUserProfileCollection* profiles = game ? game->GetUserProfiles() : nullptr;
  const Ref<IUserProfile> profile = profiles ? profiles->GetCurrentProfile() : nullptr;
  if (!profile) {
    ReportDataError("board " + GetFullPath(), "no player profile: the level does not start");
    return;
  }
  const int difficulty = static_cast<int>(ProfileNumber(profile.get(), playMode + "Difficulty", 1));
  const Ref<TZinLevelCollection> levels =
      game ? Query<TZinLevelCollection>(game->GetContextObject("zinlevels")) : nullptr;
  Ref<TZinLevel> level = levels ? levels->LoadLevel(levelNumber) : nullptr;
  if (!level) {
    ReportDataError("board " + GetFullPath(), "level " + std::to_string(levelNumber) + " cannot be loaded");
    ClearBoard();
    levelNumber_ = levelNumber;
    playMode_ = playMode;
    return;
  }
  if (playMode == "classic") fittingFactor_ = ProfileNumber(profile.get(), "classicFittingC", 1.0);
  if (playMode == "duel_computer") {
    fittingFactor_ = ProfileNumber(profile.get(), "duel_computerFittingC", 0.0);
    WriteProfile("duel_computerFittingC", FormatFloat(fittingFactor_));
  }
  StartLoadedLevel(level, levelNumber, playMode, replay, difficulty < 1 ? 1 : difficulty);
}

void TGameBoardControl::StartLoadedLevel(const Ref<TZinLevel>& level, int levelNumber,
                                         const std::string& playMode, bool replay, int difficulty) {
  // The level may be the board's own (a tutorial that starts again), which
  // clearing the board lets go of.
  const Ref<TZinLevel> keep = level;
  const std::string mode = playMode;
  ClearBoard();
  level_ = keep;
  levelNumber_ = levelNumber;
  playMode_ = mode;
  replay_ = replay;
  firstTurnTraced_ = false;
  driver_.StartLevel(*level_, PlayModeFromText(mode), difficulty, replay, fittingFactor_, timeFactor_);
  BuildWidgets();
  shownScores_[0] = shownScores_[1] = -1;
  UpdateDisplays();
  StartTimeDisplay();
  AttachManager(mode);
}

void TGameBoardControl::ClearBoard() {
  if (manager_) manager_->Detach();
  manager_ = nullptr;
  for (const Ref<TCellWidget>& cell : cells_)
    if (cell) {
      cell->SetDead(true);
      const int index = widgets_->IndexOf(cell->GetName());
      if (index >= 0) widgets_->DeleteWidget(index);
    }
  cells_.clear();
  pool_.clear();
  pendingShine_.clear();
  shineClock_ = 0;
  const auto clear = [](IWidget* group) {
    if (IWidgetCollection* children = group ? group->GetChildren() : nullptr)
      for (int i = children->GetCount() - 1; i >= 0; --i) children->DeleteWidget(i);
  };
  clear(FindChild("mat_group").get());
  if (IWidget* group = ScenariesGroup(); group != this) clear(group);
  selection_.reset();
  watched_.clear();
  runningScenarios_.clear();
  wave_ = {};
  boardMode_ = kBoardPlay;
  levelEndPending_ = false;
  level_ = nullptr;
}

void TGameBoardControl::BuildWidgets() {
  const Ref<IWidget> mats = FindChild("mat_group");
  auto* matGroup = mats ? dynamic_cast<TGroupWidget*>(mats.get()) : nullptr;
  cells_.assign(static_cast<size_t>(model_.Cols() * model_.Rows()), nullptr);
  for (int c = 0; c < model_.Cols(); ++c)
    for (int r = 0; r < model_.Rows(); ++r) {
      const TCell& cell = model_.Cell(c, r);
      if (cell.kind == kCellNone) continue;
      const TPoint centre = CellCentre(c, r);
      const std::string key = std::to_string(c) + "_" + std::to_string(r);
      if (matGroup) {
        const Ref<TParamCollection> params = MakeParams({{"name", key}});
        if (const Ref<IWidget> mat = CreateWidget("MatCell", params.get())) {
          mat->SetAnchorLeft(mat->GetAnchorLeft() + centre.x);
          mat->SetAnchorTop(mat->GetAnchorTop() + centre.y);
          matGroup->InsertWidget(mat);
        }
      }
      const Ref<TCellWidget> widget = MakeRef<TCellWidget>();
      widget->SetName("Cell" + key);
      widget->SetBoard(this);
      widget->SetPos({c, r});
      widget->SetAnchorLeft(centre.x);
      widget->SetAnchorTop(centre.y);
      widget->SetZ(cellZ_);
      InsertWidget(widget);
      widget->SetCell(cell.colour, cell.kind);
      widget->SetFlower(cell.flower);
      cells_[static_cast<size_t>(c * model_.Rows() + r)] = widget;
    }
}

void TGameBoardControl::AttachManager(const std::string& playMode) {
  const char* type = LevelManagerTypeFor(playMode);
  Ref<TAbstractLevelManager> manager = Query<TAbstractLevelManager>(CreateFromType(type, ""));
  if (!manager) {
    ReportDataError("board " + GetFullPath(), std::string("no level manager of type ") + type);
    return;
  }
  manager_ = manager;
  boardMode_ = kBoardPlay;
  manager_->Attach(this);
}

void TGameBoardControl::LevelScenarioEnded(bool won) {
  boardMode_ = won ? kBoardWon : kBoardLost;
  levelEndPending_ = true;
}

void TGameBoardControl::LevelEndStep(bool complete) {
  levelEndPending_ = false;
  const std::optional<ELevelStatus> status = driver_.Status();
  if (TTrace::On())
    TTrace::Emit("level_end", {{"level", TTrace::Number(levelNumber_)},
                               {"mode", TTrace::Text(playMode_)},
                               {"status", StatusJson(status)},
                               {"complete", complete ? "true" : "false"},
                               {"scores", '[' + std::to_string(model_.Score(1)) + ',' +
                                              std::to_string(model_.Score(2)) + ']'},
                               {"counters", CountersJson(model_)},
                               {"statistics", ParamsJson(StatisticsParams(complete).get())}});
  if (playMode_ == "how_to_play") {
    if (level_) StartLoadedLevel(level_, levelNumber_, playMode_, replay_, model_.Difficulty());
    return;
  }
  pool_.clear();
  const bool classic = playMode_ == "classic";
  const int32_t allowance = model_.Counter(kCounterAllowance);
  if (!complete && !replay_ && (classic || playMode_ == "relax")) {
    // A lost timed or relaxed level starts again at once; the timed mode
    // gives more time the next try.
    if (classic && allowance > 0) {
      timeFactor_ += kTimeFactorStep;
      fittingFactor_ = FittingAfterTimedLoss(fittingFactor_);
      WriteProfile("classicFittingC", FormatFloat(fittingFactor_));
      SaveProfiles();
    }
    StartLevel(levelNumber_, playMode_, replay_);
    return;
  }
  if (!replay_ && playMode_ == "duel_computer" && model_.Score(kPlayerOne) > 0)
    fittingFactor_ = FittingAfterDuel(fittingFactor_, model_.Score(kPlayerOne), model_.Score(kPlayerTwo));
  const Ref<TParamCollection> params = StatisticsParams(complete);
  if (complete) levelNumber_ += 1;
  if (complete && !replay_ && classic) {
    timeFactor_ = 0;
    fittingFactor_ = FittingAfterTimedWin(fittingFactor_, allowance, model_.Counter(kCounterTimeLeft));
  }
  if (!replay_) {
    if (classic || playMode_ == "duel_computer")
      WriteProfile(playMode_ + "FittingC", FormatFloat(fittingFactor_));
    if (complete) {
      WriteProfile(playMode_ + "Level", std::to_string(levelNumber_));
      WriteProfile(playMode_ + "Difficulty", std::to_string(model_.Difficulty()));
      IParamCollection* profile = ProfileParams();
      const TVariant best = profile ? profile->GetParamValueDef("LevelMax", TVariant()) : TVariant();
      if (std::holds_alternative<std::monostate>(best) || VarToInt(best, 0) < levelNumber_)
        WriteProfile("LevelMax", std::to_string(levelNumber_));
    }
    // The result is on disk before anything else happens: a run that ends
    // without quitting keeps the levels it won.
    SaveProfiles();
  }
  Notify(kBoardLevelFinished, params.get());
}

void TGameBoardControl::SaveProfiles() {
  IGameScreenOwner* game = Game();
  if (IUserProfileCollection* profiles = game ? game->GetUserProfiles() : nullptr) profiles->SaveProfiles();
}

void TGameBoardControl::WriteProfile(const std::string& name, const std::string& value) {
  IParamCollection* profile = ProfileParams();
  if (!profile) return;
  profile->SetParamValue(name, value);
  if (TTrace::On()) TTrace::Emit("profile", {{"name", TTrace::Text(name)}, {"value", TTrace::Text(value)}});
}

Ref<TParamCollection> TGameBoardControl::StatisticsParams(bool complete) const {
  const TGameStatistics& one = model_.Statistics(1);
  const TGameStatistics& two = model_.Statistics(2);
  const auto cells = [&](const TGameStatistics& stats, const char* name, int counter) {
    return std::to_string(stats.Get(name)) + "/" + std::to_string(model_.Counter(counter));
  };
  const Ref<TParamCollection> params = MakeParams({});
  params->SetParamValue("PlayMode", playMode_);
  params->SetParamValue("Replay", replay_);
  params->SetParamValue("Score", static_cast<long long>(model_.Score(1)));
  params->SetParamValue("time_level", static_cast<long long>(model_.Counter(kCounterPlayTime) / 1000));
  params->SetParamValue("gamemove", static_cast<long long>(model_.Counter(kCounterMoves)));
  params->SetParamValue("color_cells", cells(one, "color_cells", kCounterColourGoal));
  params->SetParamValue("total_cells", cells(one, "total_cells", kCounterCellGoal));
  params->SetParamValue("score_level", static_cast<long long>(one.Get("Score")));
  params->SetParamValue("max_combo", static_cast<long long>(one.Get("max_combo")));
  params->SetParamValue("max_flowers", static_cast<long long>(one.Get("max_flowers")));
  if (playMode_ == "duel_computer" || playMode_ == "duel_player") {
    params->SetParamValue("ScoreComp", static_cast<long long>(model_.Score(2)));
    params->SetParamValue("score_level_comp", static_cast<long long>(two.Get("Score")));
    params->SetParamValue("max_combo_comp", static_cast<long long>(two.Get("max_combo")));
    params->SetParamValue("max_flowers_comp", static_cast<long long>(two.Get("max_flowers")));
    params->SetParamValue("color_cells_comp", cells(two, "color_cells", kCounterColourGoal));
    params->SetParamValue("total_cells_comp", cells(two, "total_cells", kCounterCellGoal));
  }
  params->SetParamValue("level", static_cast<long long>(levelNumber_));
  params->SetParamValue("complete", complete);
  if (complete) params->SetParamValue("animate_level", static_cast<long long>(levelNumber_ + 1));
  return params;
}

// --- frames and input ------------------------------------------------------------------

void TGameBoardControl::AdvanceTime(int dt) {
  TControlWidget::AdvanceTime(dt);
  lastDt_ = dt;
  CreateDueShines(dt, dt);
  if (!watched_.empty() && !ScenarioAlive(watched_)) {
    const std::string name = watched_;
    watched_.clear();
    if (manager_) manager_->ScenarioFinished(name);
  }
  if (boardMode_ == kBoardPlay) {
    if (!manager_) return;
    model_.SetCounter(kCounterPlayTime, model_.Counter(kCounterPlayTime) + dt);
    manager_->Tick(dt);
  } else if (levelEndPending_) {
    LevelEndStep(boardMode_ == kBoardWon);
  }
}

bool TGameBoardControl::OnMouseDown(TPoint point, unsigned flags, int button) {
  (void)flags;
  if (button != 0) return false;
  if (boardMode_ != kBoardPlay) {
    if (levelEndPending_) LevelEndStep(boardMode_ == kBoardWon);
    return true;
  }
  const TPoint child{point.x - RoundEven(anchorLeft_), point.y - RoundEven(anchorTop_)};
  return manager_ ? manager_->MouseDown(child) : false;
}

bool TGameBoardControl::OnMouseUp(TPoint point, unsigned flags, int button) {
  (void)flags;
  if (button != 0 || boardMode_ != kBoardPlay || !manager_) return false;
  const TPoint child{point.x - RoundEven(anchorLeft_), point.y - RoundEven(anchorTop_)};
  return manager_->MouseUp(child);
}

bool TGameBoardControl::OnMouseMove(TPoint point, unsigned flags) {
  (void)point;
  (void)flags;
  return false;
}

bool TGameBoardControl::KeyDown(unsigned key) {
  if (boardMode_ != kBoardPlay || !manager_ || model_.Cols() <= 0 || model_.Rows() <= 0) return false;
  const auto exists = [this](TCellPos p) { return CellWidget(p.col, p.row) != nullptr; };
  const std::optional<ECursorStep> step = CursorStepOfKey(key);
  const bool act = key == VK_SPACE || key == VK_RETURN;
  if (key == VK_ESCAPE) {
    if (!selection_) return false;
    Click(*selection_);  // a second click on the selected cell takes it back
    return true;
  }
  if (!step && !act) return false;
  if (!cursor_ || !exists(*cursor_)) {
    // The cursor starts where the pointer points, else on the selection,
    // else on the cell nearest to the board's middle.
    std::optional<TCellPos> start = hovered_ ? hovered_ : selection_;
    if (!start || !exists(*start)) {
      start.reset();
      const TPoint middle = CellCentre((model_.Cols() - 1) / 2, (model_.Rows() - 1) / 2);
      long long best = 0;
      for (int c = 0; c < model_.Cols(); ++c)
        for (int r = 0; r < model_.Rows(); ++r) {
          if (!exists({c, r})) continue;
          const TPoint at = CellCentre(c, r);
          const long long d =
              1LL * (at.x - middle.x) * (at.x - middle.x) + 1LL * (at.y - middle.y) * (at.y - middle.y);
          if (!start || d < best) start = TCellPos{c, r}, best = d;
        }
    }
    if (!start) return false;
    cursor_ = start;
  } else if (step) {
    cursor_ = StepCursor(*cursor_, *step, model_.Cols(), model_.Rows(), exists);
  }
  TPoint pointer;
  if (PointerPosition(pointer)) pointerAtKey_ = pointer;
  ShowCursor();
  if (act && cursor_) Click(*cursor_);
  return true;
}

void TGameBoardControl::Click(TCellPos cell) {
  const TPoint at = CellCentre(cell);
  manager_->MouseDown(at);
  manager_->MouseUp(at);
}

void TGameBoardControl::ShowCursor() {
  if (const Ref<IWidget> ring = FindChild("cursor_ring")) {
    ring->Show(cursor_.has_value());
    if (cursor_) {
      ring->SetAnchorLeft(CellCentre(*cursor_).x);
      ring->SetAnchorTop(CellCentre(*cursor_).y);
    }
  }
  if (!cursor_ || cursor_ == hovered_) return;
  hovered_ = cursor_;
  if (cursor_ == selection_) return;
  if (TCellWidget* widget = CellWidget(*cursor_))
    if (const Ref<IWidget> flower = widget->GetFlowerWidget())
      if (auto* f = dynamic_cast<TFlowerWidget*>(flower.get())) f->Hover();
}

bool TGameBoardControl::PointerPosition(TPoint& point) {
  auto* cursor = QueryPtr<ICursorPosition>(GetEngineObject());
  if (!cursor) return false;
  point = ScreenToChildLocal(cursor->GetCursorPos());
  return true;
}

// --- geometry and cells ---------------------------------------------------------------------

TPoint TGameBoardControl::CellCentre(int col, int row) const {
  const int shiftX = level_ ? level_->GetShiftX() : 0;
  const int shiftY = level_ ? level_->GetShiftY() : 0;
  return {col * kCellWidth + shiftX, row * kCellHeight + shiftY + (col % 2 == 0 ? kCellHeight / 2 : 0)};
}

TPoint TGameBoardControl::CellScreenCentre(TCellPos pos) {
  const TPoint centre = CellCentre(pos);
  const TPoint origin = ScreenToChildLocal({0, 0});
  return {centre.x - origin.x, centre.y - origin.y};
}

std::optional<TCellPos> TGameBoardControl::NearestCell(TPoint point, double distance) const {
  std::optional<TCellPos> best;
  double bestDistance = distance;
  for (int c = 0; c < model_.Cols(); ++c)
    for (int r = 0; r < model_.Rows(); ++r) {
      if (!CellWidget(c, r)) continue;
      const TPoint centre = CellCentre(c, r);
      const double d =
          std::hypot(static_cast<double>(point.x - centre.x), static_cast<double>(point.y - centre.y));
      if (d < bestDistance) {
        bestDistance = d;
        best = TCellPos{c, r};
      }
    }
  return best;
}

TCellWidget* TGameBoardControl::CellWidget(int col, int row) const {
  if (col < 0 || row < 0 || col >= model_.Cols() || row >= model_.Rows()) return nullptr;
  const size_t index = static_cast<size_t>(col * model_.Rows() + row);
  return index < cells_.size() ? cells_[index].get() : nullptr;
}

void TGameBoardControl::SyncCellWidgets() {
  for (int c = 0; c < model_.Cols(); ++c)
    for (int r = 0; r < model_.Rows(); ++r) {
      TCellWidget* widget = CellWidget(c, r);
      if (!widget) continue;
      const TCell& cell = model_.Cell(c, r);
      if (widget->GetKind() != cell.kind || widget->GetCellColour() != cell.colour)
        widget->SetCell(cell.colour, cell.kind);
      if (widget->GetFlower() != cell.flower) widget->SetFlower(cell.flower);
    }
}

bool TGameBoardControl::CellWidgetsAgree() const {
  for (int c = 0; c < model_.Cols(); ++c)
    for (int r = 0; r < model_.Rows(); ++r) {
      const TCellWidget* widget = CellWidget(c, r);
      const TCell& cell = model_.Cell(c, r);
      if (!widget) {
        if (cell.kind != kCellNone) return false;
        continue;
      }
      if (widget->GetKind() != cell.kind || widget->GetCellColour() != cell.colour ||
          widget->GetFlower() != cell.flower)
        return false;
    }
  return true;
}

Ref<IWidget> TGameBoardControl::TakeFlowerWidget(int32_t code) {
  for (auto it = pool_.begin(); it != pool_.end(); ++it) {
    auto* flower = dynamic_cast<TFlowerWidget*>(it->get());
    if (flower && flower->GetFlowerCode() == code) {
      Ref<IWidget> widget = *it;
      pool_.erase(it);
      widget->Restart();
      return widget;
    }
  }
  Ref<TParamCollection> params;
  Ref<IWidget> widget;
  if (code == kArtifact) {
    params =
        MakeParams({{"Flowercolor", std::to_string(code)}, {"artifact", std::to_string(LevelArtifact())}});
    widget = CreateWidget("Artifact", params.get());
  } else {
    params = MakeParams({{"Flowercolor", std::to_string(code)}, {"FlowerType", std::to_string(code % 10)}});
    widget = CreateWidget("FlowerColor", params.get());
  }
  if (auto* flower = widget ? dynamic_cast<TFlowerWidget*>(widget.get()) : nullptr)
    flower->SetFlowerCode(code);
  return widget;
}

void TGameBoardControl::ReleaseFlowerWidget(const Ref<IWidget>& widget) {
  if (!widget || pool_.size() >= kMaxPooledFlowers) return;
  if (!dynamic_cast<TFlowerWidget*>(widget.get())) return;
  widget->Show(true);
  pool_.push_back(widget);
}

// --- selection and scenarios --------------------------------------------------------------------

void TGameBoardControl::Select(std::optional<TCellPos> cell) {
  selection_ = cell;
  // A ring picture, when the data has one, marks the cell with the sparkle.
  if (const Ref<IWidget> ring = FindChild("selection_ring")) {
    ring->Show(cell.has_value());
    if (cell) {
      ring->SetAnchorLeft(CellCentre(*cell).x);
      ring->SetAnchorTop(CellCentre(*cell).y);
    }
  }
  const Ref<IWidget> light = FindChild("image_selectedCell");
  if (cell) {
    PlaySound("sound_choice", true, 100, 0);
    if (light) {
      const TPoint centre = CellCentre(*cell);
      light->SetAnchorLeft(centre.x);
      light->SetAnchorTop(centre.y);
      light->SetPropertyValue("emission_count", 50);
    }
  } else if (light) {
    light->SetPropertyValue("emission_count", 0);
  }
}

IWidget* TGameBoardControl::ScenariesGroup() {
  if (const Ref<IWidget> group = FindChild("scenaries_group"); group && group->GetChildren())
    return group.get();
  return this;
}

Ref<IWidget> TGameBoardControl::RunScenario(const std::string& factory, IParamCollection* params,
                                            bool watch) {
  Ref<IWidget> scenario = CreateWidget(factory, params);
  if (!scenario) return nullptr;  // the factory lookup has reported it
  if (scenario->GetName().empty()) scenario->SetName(factory + "_" + std::to_string(++scenarioCounter_));
  IWidget* group = ScenariesGroup();
  if (group == this)
    InsertWidget(scenario);
  else if (auto* owner = dynamic_cast<TGroupWidget*>(group))
    owner->InsertWidget(scenario);
  else
    InsertWidget(scenario);
  if (watch) watched_ = scenario->GetName();
  return scenario;
}

bool TGameBoardControl::ScenarioAlive(const std::string& name) {
  IWidgetCollection* children = ScenariesGroup()->GetChildren();
  if (!children) return false;
  for (int i = 0; i < children->GetCount(); ++i) {
    const Ref<IWidget> child = children->GetWidget(i);
    if (child && !child->IsDead() && SameText(child->GetName(), name)) return true;
  }
  return false;
}

void TGameBoardControl::KillScenario(const std::string& name) {
  if (name.empty()) return;
  IWidgetCollection* children = ScenariesGroup()->GetChildren();
  if (!children) return;
  for (int i = 0; i < children->GetCount(); ++i) {
    const Ref<IWidget> child = children->GetWidget(i);
    if (child && SameText(child->GetName(), name)) child->SetDead(true);
  }
}

void TGameBoardControl::SetCurrentWave(TWaveStep wave) {
  wave_ = std::move(wave);
  waveShown_.assign(wave_.cells.size(), false);
}

const TCellExplosion* TGameBoardControl::TakeWaveCell(TCellPos cell) {
  for (size_t i = 0; i < wave_.cells.size(); ++i)
    if (!waveShown_[i] && wave_.cells[i].cell == cell) {
      waveShown_[i] = true;
      return &wave_.cells[i];
    }
  return nullptr;
}

void TGameBoardControl::ShowCellExplosion(const TCellExplosion& e, int lineNumber, TZintaraScenario& waiter) {
  TCellWidget* cell = CellWidget(e.cell);
  if (!cell) return;
  const TPoint centre = CellCentre(e.cell);
  const Ref<TParamCollection> at = MakeParams({{"x", std::to_string(centre.x)},
                                               {"y", std::to_string(centre.y)},
                                               {"Flowercolor", std::to_string(e.flower)},
                                               {"FlowerType", std::to_string(e.flower % 10)},
                                               {"delay", "0"}});
  if (e.flowerRemoved) {
    waiter.StartChild("ExplosionFlower", at.get());
    cell->SetFlower(kNoColour);
  }
  if (e.newKind != e.oldKind) {
    cell->SetCell(cell->GetCellColour(), e.newKind);
    if (e.oldKind == kCellDouble || e.oldKind == kCellTriple)
      waiter.StartChild("ExplosionAnchor" + std::to_string(e.newKind + 1), at.get());
  }
  if (e.paid > 0) {
    FlyScore(e.paid, centre);
    UpdateDisplays();
  }
  const int player = model_.CurrentPlayer() == kPlayerTwo ? kPlayerTwo : kPlayerOne;
  if (e.colourCompleted) {
    static constexpr uint32_t kStartColours[] = {0,          0xBFFF0A00, 0xBFE3429B, 0xBFE56C17, 0xBFFFF06A,
                                                 0xBF1BBBCC, 0xBF2624C8, 0xBF80079B, 0xBFDDDBD5};
    const int digit = e.flower / 10;
    const uint32_t colour = digit >= 1 && digit <= 8 ? kStartColours[digit] : 0;
    const Ref<TParamCollection> params =
        MakeParams({{"x0", std::to_string(centre.x)},
                    {"y0", std::to_string(centre.y)},
                    {"Cellcolor", std::to_string(digit)},
                    {"color_start", std::to_string(static_cast<int32_t>(colour))},
                    {"name", "color_cell_" + cell->GetName() + "_" + std::to_string(lineNumber)}});
    waiter.StartChild("scenario_fly_color_cell" + std::to_string(player - 1), params.get());
    const Ref<TParamCollection> dummy = MakeParams({{"timetolive", "650"}});
    waiter.StartChild("scenario_explosion_dummy", dummy.get());
  }
  if (e.artifactCollected) {
    const int32_t artifact = LevelArtifact();
    const Ref<TParamCollection> params = MakeParams({{"x1", std::to_string(centre.x)},
                                                     {"y1", std::to_string(centre.y)},
                                                     {"artifact", std::to_string(artifact)},
                                                     {"show_trothies_room", TrophyRoomAnswer(artifact)}});
    if (const Ref<IWidget> flight = RunScenario("scenario_fly_artifact", params.get(), false))
      runningScenarios_ += ";" + flight->GetName();
  }
}

std::string TGameBoardControl::TrophyRoomAnswer(int32_t artifact) {
  IParamCollection* profile = ProfileParams();
  if (!profile) return "no";
  if (playMode_ == "classic" || playMode_ == "relax") {
    const std::string key = playMode_ + "artifact";
    const TVariant won = profile->GetParamValueDef(key, TVariant());
    if (std::holds_alternative<std::monostate>(won) || VarToInt(won, 0) < artifact) {
      profile->SetParamValue(key, static_cast<long long>(artifact));
      return "yes";
    }
    return "no";
  }
  if (playMode_ == "duel_computer" && model_.CurrentPlayer() == kPlayerOne) {
    const std::string key = "duel_computerartifact" + std::to_string(artifact);
    const TVariant won = profile->GetParamValueDef(key, TVariant());
    if (std::holds_alternative<std::monostate>(won) || SameText(VarToString(won), "no")) {
      profile->SetParamValue(key, std::string("yes"));
      return "yes";
    }
  }
  return "no";
}

void TGameBoardControl::RaiseCell(TCellPos pos, bool raised) {
  if (TCellWidget* cell = CellWidget(pos)) cell->SetZ(raised ? cellZ_ + 1 : cellZ_);
}

// --- displays and effects ------------------------------------------------------------------------

IWidget* TGameBoardControl::Display(const std::string& path) {
  if (path.empty()) return nullptr;
  displayHold_ = FindWidget(path);
  return displayHold_.get();
}

void TGameBoardControl::ShowDuelStatus(bool computerMoves) {
  if (IWidget* wait = Display(kDuelWaitPath)) wait->Show(computerMoves);
  if (IWidget* prompt = Display(kDuelPromptPath)) prompt->Show(!computerMoves);
}

void TGameBoardControl::UpdateDisplays() {
  for (int player = 1; player <= 2; ++player) {
    const int32_t score = model_.Score(player);
    if (shownScores_[player - 1] == score) continue;
    shownScores_[player - 1] = score;
    if (IWidget* display = Display(player == 1 ? scoreWidget1_ : scoreWidget2_))
      display->SetPropertyValue("value", static_cast<long long>(score));
  }
  if (IWidget* display = Display(levelWidget_))
    display->SetPropertyValue("value", static_cast<long long>(levelNumber_));
  if (IWidget* display = Display(modeWidget_)) display->SetPropertyValue("value", playMode_);
  displayHold_ = nullptr;
}

void TGameBoardControl::FlyScore(int32_t points, TPoint from) {
  const Ref<TParamCollection> params = MakeParams({{"text_utf8", std::to_string(points)},
                                                   {"x1", std::to_string(from.x)},
                                                   {"y1", std::to_string(from.y)},
                                                   {"x2", std::to_string(from.x)},
                                                   {"y2", std::to_string(from.y - kScoreRise)},
                                                   {"start_trans_level", "255"},
                                                   {"end_trans_level", "100"},
                                                   {"lifetime", std::to_string(kScoreFlightMs)},
                                                   {"delay", std::to_string(kScoreFlightDelayMs)}});
  RunScenario("move_score", params.get(), false);
}

void TGameBoardControl::ShowWaveTexts(const TWaveStep& wave) {
  ShowCombinationTexts(*this, wave);
}

void TGameBoardControl::ShineWave(int effect, int pattern) {
  for (int c = 0; c < model_.Cols(); ++c)
    for (int r = 0; r < model_.Rows(); ++r)
      if (CellWidget(c, r))
        pendingShine_.push_back(
            {TCellPos{c, r}, effect, shineClock_ + ShineDelay(pattern, c, r, model_.Cols(), model_.Rows())});
  CreateDueShines(0, lastDt_);
}

void TGameBoardControl::CreateDueShines(int dt, int lookahead) {
  if (pendingShine_.empty()) return;
  shineClock_ += dt;
  // An effect created now is first advanced on the next frame: the ones due
  // within a frame's time go in with what is left of their delay, so they
  // begin on the same frame as if they had waited from the wave's start.
  const int horizon = shineClock_ + std::max(lookahead, 0);
  std::erase_if(pendingShine_, [&](const TPendingShine& shine) {
    if (shine.dueMs > horizon) return false;
    if (TCellWidget* cell = CellWidget(shine.cell)) {
      const Ref<TParamCollection> params =
          MakeParams({{"Effect", std::to_string(shine.effect)},
                      {"delay", std::to_string(std::max(0, shine.dueMs - shineClock_))}});
      if (const Ref<IWidget> widget = cell->CreateWidget("ShineEffect", params.get()))
        cell->InsertWidget(widget);
    }
    return true;
  });
  if (pendingShine_.empty()) shineClock_ = 0;
}

void TGameBoardControl::ShineRemaining() {
  const int remaining = model_.RemainingCells();
  for (int i = 0; i < remaining; ++i)
    if (TCellWidget* cell = CellWidget(model_.RemainingCell(i))) cell->Shine();
}

void TGameBoardControl::HoverNearest() {
  TPoint pointer;
  if (!PointerPosition(pointer)) return;
  // The keyboard's cursor holds the hover until the pointer moves; then the
  // cursor goes.
  if (pointerAtKey_) {
    if (*pointerAtKey_ == pointer) return;
    pointerAtKey_.reset();
    cursor_.reset();
    ShowCursor();
  }
  const std::optional<TCellPos> cell = NearestCell(pointer, kHoverDistance);
  if (cell == hovered_) return;
  hovered_ = cell;
  if (!cell || cell == selection_) return;
  if (TCellWidget* widget = CellWidget(*cell))
    if (const Ref<IWidget> flower = widget->GetFlowerWidget())
      if (auto* f = dynamic_cast<TFlowerWidget*>(flower.get())) f->Hover();
}

int ShineDelay(int pattern, int col, int row, int cols, int rows) {
  switch (pattern) {
    case 0:
      return ((cols - 1 - col) / 2 + row) * 120;
    case 1:
      return col * 105;
    case 2:
      return (col / 2 + row) * 120;
    case 3:
      return ((col % 2 == 0 ? 2 : 0) + row) * 125;
    case 4:
      return (rows + 2 * (col % 2) - 1 - row) * 125;
    case 5:
      return (col / 2 + row) * 100;
    case 6:
      return (rows + (col + 1) / 2 - 1 - row) * 100;
    default:
      return 0;
  }
}

bool TGameBoardControl::HintsOn() const {
  IGameScreenOwner* game = Game();
  if (!game) return true;
  const TVariant value = game->GetOptionValue("ShowHints");
  return !SameText(VarToString(value), "no");
}

IParamCollection* TGameBoardControl::ProfileParams() const {
  IGameScreenOwner* game = Game();
  IUserProfileCollection* profiles = game ? game->GetUserProfiles() : nullptr;
  const Ref<IUserProfile> profile = profiles ? profiles->GetCurrentProfile() : nullptr;
  return profile ? &profile->GetParams() : nullptr;
}

void TGameBoardControl::ShowHintPanel(int n, TPoint position, bool fade) {
  const Ref<IWidget> panel = FindChild("hint");
  if (!panel) {
    ReportDataError("board " + GetFullPath(), "no \"hint\" panel for tutorial hint " + std::to_string(n));
    return;
  }
  panel->SetAnchorLeft(position.x);
  panel->SetAnchorTop(position.y);
  if (IWidgetCollection* children = panel->GetChildren())
    for (int i = 0; i < children->GetCount(); ++i) {
      const Ref<IWidget> child = children->GetWidget(i);
      if (child && LowerCase(child->GetName()).rfind("text_hint", 0) == 0)
        child->Show(SameText(child->GetName(), "text_hint" + std::to_string(n)));
    }
  panel->Show(true);
  if (fade)
    if (const Ref<IWidget> go = panel->FindWidget("button_go")) {
      const Ref<TParamCollection> params = MakeParams({{"start_trans_level", "0"},
                                                       {"end_trans_level", "5"},
                                                       {"timetolive", "2000"},
                                                       {"makeinvisible", "yes"}});
      if (const Ref<IWidget> scenario = RunScenario("transparent_widget", params.get(), false))
        scenario->SetObjectProperty("widget", go);
    }
}

void TGameBoardControl::TimeChanged() {
  if (IWidget* lamp = Display(kTimeDisplayPath))
    lamp->SetPropertyValue("OilLampCurrentTime", static_cast<long long>(model_.Counter(kCounterTimeLeft)));
  displayHold_ = nullptr;
}

void TGameBoardControl::StartTimeDisplay() {
  IWidget* lamp = Display(kTimeDisplayPath);
  if (!lamp) return;
  const int32_t allowance = model_.Counter(kCounterAllowance);
  lamp->Show(allowance > 0);
  if (allowance > 0) {
    lamp->SetPropertyValue("OilLampLevelTime", static_cast<long long>(allowance));
    TimeChanged();
  }
  displayHold_ = nullptr;
}

bool TGameBoardControl::InLevelEnd() const {
  if (boardMode_ != kBoardPlay || levelEndPending_) return true;
  const int state = manager_ ? manager_->GetState() : kStateWaiting;
  return state == kStateLevelLost || state == kStateLevelWon;
}

void TGameBoardControl::HideHintPanel() {
  if (const Ref<IWidget> panel = FindChild("hint")) panel->Show(false);
}

// --- notifications and trace ---------------------------------------------------------------------

void TGameBoardControl::Notify(int code, IParamCollection* params) {
  IGameScreenSlave* screen = GetScreen();
  if (auto* host = dynamic_cast<IGameBoardHost*>(screen)) host->BoardNotification(code, params);
}

void TGameBoardControl::TraceLevelStart() {
  if (!TTrace::On()) return;
  TJsonFields fields{{"level", std::to_string(levelNumber_)}, {"mode", TTrace::Text(playMode_)}};
  for (auto& field : LevelStartFields(model_, driver_)) fields.push_back(std::move(field));
  TTrace::Emit("level_start", std::move(fields));
}

void TGameBoardControl::TraceMove() {
  if (!recorder_.Active()) return;
  TJsonFields fields = recorder_.Finish(model_, driver_);
  if (TTrace::On()) TTrace::Emit("move", std::move(fields));
}

}  // namespace qv
