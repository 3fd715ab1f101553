#include "board/ScenarioExchangeFlowers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "board/GameBoardControl.h"
#include "board/ScenarioHelpers.h"
#include "core/Random.h"

namespace qv {

const TPropertyTable<TScenarioExchangeFlowers>& TScenarioExchangeFlowers::Properties() {
  using W = TScenarioExchangeFlowers;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TZintaraScenario::Properties()).Int("duration", &W::duration_, 300);
  return table;
}

void TScenarioExchangeFlowers::BeginStage(int stage) {
  (void)stage;
  TGameBoardControl* board = Board();
  if (!board || GetCells().size() < 2) return;
  board->RaiseCell(GetCells()[0], true);
  board->RaiseCell(GetCells()[1], true);
  PlayScenarioSound(*this, board, "sound_swap" + std::to_string(RandomInt(3) + 1));
  Place(0);
}

void TScenarioExchangeFlowers::Place(double f) {
  TGameBoardControl* board = Board();
  if (!board || GetCells().size() < 2) return;
  const TPoint a = board->CellCentre(GetCells()[0]);
  const TPoint b = board->CellCentre(GetCells()[1]);
  const double mx = (a.x + b.x) / 2.0;
  const double my = (a.y + b.y) / 2.0;
  const double radius = std::hypot(a.x - mx, a.y - my);
  const double start = std::atan2(a.y - my, a.x - mx);
  // Both flowers turn the same way round the centre, half a turn each.
  const double angle = start + std::numbers::pi * f;
  const double ax = mx + radius * std::cos(angle);
  const double ay = my + radius * std::sin(angle);
  const double bx = mx - radius * std::cos(angle);
  const double by = my - radius * std::sin(angle);
  if (TCellWidget* cell = board->CellWidget(GetCells()[0])) cell->SetFlowerOffset(ax - a.x, ay - a.y);
  if (TCellWidget* cell = board->CellWidget(GetCells()[1])) cell->SetFlowerOffset(bx - b.x, by - b.y);
}

void TScenarioExchangeFlowers::StageFrame(int stage, int dt) {
  (void)stage;
  (void)dt;
  Place(duration_ > 0 ? std::min(1.0, static_cast<double>(GetCurrentTime()) / duration_) : 1.0);
}

bool TScenarioExchangeFlowers::StageReady(int stage) const {
  (void)stage;
  return GetCurrentTime() >= duration_;
}

void TScenarioExchangeFlowers::Finished() {
  TGameBoardControl* board = Board();
  if (!board) return;
  for (const TCellPos& pos : GetCells()) {
    if (TCellWidget* cell = board->CellWidget(pos)) cell->SetFlowerOffset(0, 0);
    board->RaiseCell(pos, false);
  }
}

}  // namespace qv
