#include "board/ScenarioStartLevel.h"

#include <cstdlib>
#include <string>

#include "board/GameBoardControl.h"
#include "board/ScenarioHelpers.h"
#include "core/Diagnostics.h"
#include "services/ISoundChannels.h"

namespace qv {

namespace {

constexpr const char* kFlowerFallFactory = "scenario_start_level_Flower_fall";
// The flowers' stage lasts at least this long.
constexpr int kFlowerStageTime = 800;

}  // namespace

TStartLevelPlan PlanCellAppearance(int cols, int rows, const std::function<bool(TCellPos)>& exists) {
  TStartLevelPlan plan;
  const int base = cols - 30;
  int t = base;
  int step = base;
  for (int r = rows - 1; r >= 0; --r) {
    step -= 2;
    for (int k = 0; k < cols; ++k) {
      const int c = r % 2 == 1 ? k : cols - 1 - k;
      if (!exists({c, r})) continue;
      plan.cells.push_back({{c, r}, t});
      t += step;
    }
  }
  plan.clockStart = t - 30;
  return plan;
}

int FlowerFallDelay(TCellPos cell, int cols, int rows) {
  if (cols <= 0 || rows <= 0) return 0;
  return std::abs(cell.row - (rows - 1) / 2) * 1050 / rows +
         std::abs(cell.col - (cols - 1) / 2) * 1050 / cols;
}

void TScenarioStartLevel::AdvanceTime(int dt) {
  TZintaraScenario::AdvanceTime(dt);
  // The base runs a stage's frames only once the clock is not negative;
  // the cells appear while it counts up to 0.
  if (!IsDead() && GetStage() == 1 && GetCurrentTime() < 0) {
    PlayLoopSound();
    ShowDueCells(false);
  }
}

void TScenarioStartLevel::BeginStage(int stage) {
  TGameBoardControl* board = Board();
  if (!board) {
    ReportDataError("scenario " + GetName(), "the level start runs outside a board");
    return;
  }
  if (stage == 1) {
    PrepareCells(*board);
    SetCurrentTime(plan_.clockStart);
    return;
  }
  ShowDueCells(true);
  PlayScenarioSound(*this, Board(), "sound_startgame2");
  if (Ref<IWidget> mats = board->FindWidget("mat_group"))
    ShowRunning(mats.get(), true);
  else
    ReportDataError("scenario " + GetName(), "the board has no \"mat_group\"");
  SetCurrentTime(-kFlowerStageTime);
  StartFlowers(*board);
}

void TScenarioStartLevel::StageFrame(int stage, int dt) {
  (void)dt;
  if (stage != 1) return;
  PlayLoopSound();
  ShowDueCells(false);
}

bool TScenarioStartLevel::StageReady(int stage) const {
  (void)stage;
  // Both stages end when the clock reaches 0: the cells' times have all
  // come, and the flowers' stage has had its own 800 ms.
  return GetCurrentTime() >= 0;
}

void TScenarioStartLevel::PrepareCells(TGameBoardControl& board) {
  const TBoardModel& model = board.Model();
  plan_ = PlanCellAppearance(model.Cols(), model.Rows(), [&](TCellPos cell) {
    return model.Cell(cell.col, cell.row).kind != kCellNone && board.CellWidget(cell) != nullptr;
  });
  shown_.assign(plan_.cells.size(), false);
  shownCount_ = 0;
  for (const TCellAppearance& item : plan_.cells) board.CellWidget(item.cell)->HidePictures();
  if (Ref<IWidget> mats = board.FindWidget("mat_group")) ShowRunning(mats.get(), false);
}

void TScenarioStartLevel::ShowDueCells(bool all) {
  TGameBoardControl* board = Board();
  if (!board) return;
  for (size_t i = 0; i < plan_.cells.size(); ++i) {
    if (shown_[i] || (!all && plan_.cells[i].time > GetCurrentTime())) continue;
    shown_[i] = true;
    ++shownCount_;
    if (TCellWidget* cell = board->CellWidget(plan_.cells[i].cell)) {
      ShowRunning(cell, true);
      cell->ShowBase();
    }
  }
}

void TScenarioStartLevel::StartFlowers(TGameBoardControl& board) {
  const TBoardModel& model = board.Model();
  for (int c = 0; c < model.Cols(); ++c)
    for (int r = 0; r < model.Rows(); ++r) {
      TCellWidget* cell = board.CellWidget(c, r);
      if (!cell || model.Cell(c, r).kind == kCellNone) continue;
      const std::string name = std::to_string(c) + "_" + std::to_string(r);
      const Ref<TParamCollection> params = MakeScenarioParams(
          {{"RefCells", std::to_string(c) + "," + std::to_string(r)},
           {"name", name},
           {"delay", std::to_string(FlowerFallDelay({c, r}, model.Cols(), model.Rows()))}});
      if (StartChild(kFlowerFallFactory, params.get())) continue;
      // Without the fall (its factory is reported missing) the flower is
      // there at once.
      cell->ShowFlower(true);
      cell->ShowLock(true);
    }
}

void TScenarioStartLevel::PlayLoopSound() {
  // A sound that cannot play (reported once) is not asked for again.
  if (soundFailed_) return;
  if (soundChannel_ != 0) {
    auto* channels = GetService<ISoundChannels>();
    // Without the channel states the sound is taken to go on playing.
    if (!channels || channels->GetChannelState(soundChannel_) == ISoundChannels::kChannelPlaying) return;
  }
  soundChannel_ = PlayScenarioSound(*this, Board(), "sound_startgame1");
  soundFailed_ = soundChannel_ == 0;
}

}  // namespace qv
