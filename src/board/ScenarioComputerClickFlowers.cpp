#include "board/ScenarioComputerClickFlowers.h"

#include <algorithm>

#include "board/GameBoardControl.h"
#include "board/ScenarioHelpers.h"
#include "core/Diagnostics.h"

namespace qv {

namespace {

// Where each stage starts on the scenario's clock (the stages have fixed
// lengths, so a frame that overshoots one end does not delay the next).
int StageStartTime(int stage) {
  const int lengths[] = {kCursorFadeTime, kCursorWaitTime, kCursorMoveTime};
  int start = 0;
  for (int i = 1; i < stage && i <= 3; ++i) start += lengths[i - 1];
  return start;
}

}  // namespace

void TScenarioComputerClickFlowers::BeginStage(int stage) {
  stageStart_ = StageStartTime(stage);
  if (stage != 1) return;
  cursor_ = RequiredChild(*this, "cursor", "scenario " + GetName());
  TGameBoardControl* board = Board();
  if (board && GetCells().size() >= 2) {
    from_ = BoardToChildSpace(*this, *board, board->CellCentre(GetCells()[0]));
    to_ = BoardToChildSpace(*this, *board, board->CellCentre(GetCells()[1]));
  } else {
    ReportDataError("scenario " + GetName(), "a click needs two cells, not \"" + GetRefCells() + "\"");
  }
  if (cursor_) {
    Place(0.0);
    cursor_->SetTransparentLevel(0);
    ShowRunning(cursor_.get(), true);
  }
}

void TScenarioComputerClickFlowers::StageFrame(int stage, int dt) {
  (void)dt;
  if (!cursor_) return;
  const int t = StageTime();
  if (stage == 1) cursor_->SetTransparentLevel(std::min(t, kCursorFadeTime) * 255 / kCursorFadeTime);
  if (stage == 3) Place(std::min(1.0, static_cast<double>(t) / kCursorMoveTime));
  if (stage == 4) {
    Place(1.0);
    cursor_->SetTransparentLevel(255 - std::min(t, kCursorFadeTime) * 255 / kCursorFadeTime);
  }
}

bool TScenarioComputerClickFlowers::StageReady(int stage) const {
  const int lengths[] = {kCursorFadeTime, kCursorWaitTime, kCursorMoveTime, kCursorFadeTime};
  return StageTime() >= lengths[std::clamp(stage, 1, 4) - 1];
}

void TScenarioComputerClickFlowers::Place(double f) {
  cursor_->SetAnchorLeft(from_.x + (to_.x - from_.x) * f);
  cursor_->SetAnchorTop(from_.y + (to_.y - from_.y) * f);
}

}  // namespace qv
