#include "board/ScenarioFalls.h"

#include <algorithm>

#include "board/GameBoardControl.h"
#include "board/ScenarioHelpers.h"

namespace qv {

void TScenarioFalls::BeginStage(int stage) {
  (void)stage;
  TGameBoardControl* board = Board();
  if (!board) return;
  const TFallsPlan& plan = board->CurrentFalls();
  duration_ = plan.durationMs;
  // Every falling flower leaves its cell first, so a cell that a flower
  // leaves and another enters keeps the one that arrives.
  std::vector<Ref<IWidget>> moving;
  for (const TFallMove& move : plan.moves) {
    TCellWidget* from = board->CellWidget(move.from);
    moving.push_back(from ? from->TakeFlower() : nullptr);
  }
  for (size_t i = 0; i < plan.moves.size(); ++i) {
    const TFallMove& move = plan.moves[i];
    if (TCellWidget* to = board->CellWidget(move.to)) {
      to->PutFlower(moving[i], move.flower);
      board->RaiseCell(move.to, true);
    }
  }
  started_.assign(plan.newFlowers.size(), false);
  Place(GetCurrentTime());
}

void TScenarioFalls::Place(int time) {
  TGameBoardControl* board = Board();
  if (!board) return;
  const TFallsPlan& plan = board->CurrentFalls();
  for (const TFallMove& move : plan.moves) {
    TCellWidget* to = board->CellWidget(move.to);
    if (!to) continue;
    const TPoint a = board->CellCentre(move.from);
    const TPoint b = board->CellCentre(move.to);
    const double left =
        move.durationMs > 0 ? std::max(0.0, 1.0 - static_cast<double>(time) / move.durationMs) : 0;
    to->SetFlowerOffset((a.x - b.x) * left, (a.y - b.y) * left);
  }
  for (size_t i = 0; i < plan.newFlowers.size(); ++i) {
    const TNewFlower& flower = plan.newFlowers[i];
    TCellWidget* cell = board->CellWidget(flower.cell);
    if (!cell || time < flower.delayMs) continue;
    if (!started_[i]) {
      started_[i] = true;
      cell->SetFlower(board->Driver().ChooseNewFlower(i));
      board->RaiseCell(flower.cell, true);
      PlayScenarioSound(*this, board, "sound_appearance");
    }
    const double travelled = time - flower.delayMs;
    const double left =
        flower.durationMs > 0 ? std::max(0.0, 1.0 - travelled / static_cast<double>(flower.durationMs)) : 0;
    const double rise = static_cast<double>(flower.cell.row - flower.startRow) * kCellHeight;
    cell->SetFlowerOffset(0, -rise * left);
  }
}

void TScenarioFalls::StageFrame(int stage, int dt) {
  (void)stage;
  (void)dt;
  Place(GetCurrentTime());
}

bool TScenarioFalls::StageReady(int stage) const {
  (void)stage;
  return GetCurrentTime() >= duration_ &&
         std::all_of(started_.begin(), started_.end(), [](bool s) { return s; });
}

void TScenarioFalls::Finished() {
  TGameBoardControl* board = Board();
  if (!board) return;
  const TFallsPlan& plan = board->CurrentFalls();
  for (const TFallMove& move : plan.moves) {
    if (TCellWidget* cell = board->CellWidget(move.to)) cell->SetFlowerOffset(0, 0);
    board->RaiseCell(move.to, false);
  }
  for (const TNewFlower& flower : plan.newFlowers) {
    if (TCellWidget* cell = board->CellWidget(flower.cell)) cell->SetFlowerOffset(0, 0);
    board->RaiseCell(flower.cell, false);
  }
}

}  // namespace qv
