#include "board/ScenarioHintLink.h"

#include <cmath>
#include <numbers>
#include <string>

#include "board/GameBoardControl.h"
#include "board/ScenarioHelpers.h"
#include "core/Diagnostics.h"

namespace qv {

int HintSwingStart(int index, int startDelay, int cycleDelay) {
  return startDelay + index * (2 * kHintSwingTime + cycleDelay);
}

TFlightPoint HintSwingOffset(TFlightPoint cell, TFlightPoint middle, int t) {
  if (t <= 0 || t >= 2 * kHintSwingTime) return {};
  const double share =
      t <= kHintSwingTime ? t / double(kHintSwingTime) : (2 * kHintSwingTime - t) / double(kHintSwingTime);
  const double a = kHintSwingAngle * share * std::numbers::pi / 180.0;
  const double dx = cell.x - middle.x;
  const double dy = cell.y - middle.y;
  return {dx * std::cos(a) - dy * std::sin(a) - dx, dx * std::sin(a) + dy * std::cos(a) - dy};
}

const TPropertyTable<TScenarioHintLink>& TScenarioHintLink::Properties() {
  using W = TScenarioHintLink;
  static const TPropertyTable<W> table = TPropertyTable<W>(TZintaraScenario::Properties())
                                             .Int("startdelaytime", &W::startDelay_, 1000)
                                             .Int("cycledelaytime", &W::cycleDelay_, 500);
  return table;
}

void TScenarioHintLink::Detach() {
  if (swinging_) EndSwing();
  TZintaraScenario::Detach();
}

void TScenarioHintLink::StageFrame(int stage, int dt) {
  (void)stage;
  (void)dt;
  if (nextSwing_ < 0) nextSwing_ = startDelay_;
  const int t = GetCurrentTime();
  if (swinging_) {
    if (t - swingStart_ >= 2 * kHintSwingTime)
      EndSwing();
    else
      Place(t - swingStart_);
  }
  if (swinging_ || t < nextSwing_) return;
  // A swing that the option skips keeps the rhythm of the cycle.
  swingStart_ = nextSwing_;
  nextSwing_ = swingStart_ + 2 * kHintSwingTime + cycleDelay_;
  if (!HintsEnabled(*this) || !HasPair()) return;
  swinging_ = true;
  ++swings_;
  PlayScenarioSound(*this, Board(), "sound_hint_swap");
  Board()->RaiseCell(GetCells()[0], true);
  Board()->RaiseCell(GetCells()[1], true);
  Place(t - swingStart_);
}

bool TScenarioHintLink::HasPair() {
  TGameBoardControl* board = Board();
  const bool ok =
      board && GetCells().size() >= 2 && board->CellWidget(GetCells()[0]) && board->CellWidget(GetCells()[1]);
  if (!ok && !reported_)
    ReportDataError("scenario " + GetName(),
                    "a hint needs two cells of the board, not \"" + GetRefCells() + "\"");
  reported_ = reported_ || !ok;
  return ok;
}

void TScenarioHintLink::Place(int t) {
  TGameBoardControl* board = Board();
  if (!board) return;
  const TPoint a = board->CellCentre(GetCells()[0]);
  const TPoint b = board->CellCentre(GetCells()[1]);
  const TFlightPoint middle{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
  for (size_t i = 0; i < 2; ++i)
    if (TCellWidget* cell = board->CellWidget(GetCells()[i])) {
      const TPoint at = i == 0 ? a : b;
      const TFlightPoint offset = HintSwingOffset({double(at.x), double(at.y)}, middle, t);
      cell->SetFlowerOffset(offset.x, offset.y);
    }
}

void TScenarioHintLink::EndSwing() {
  swinging_ = false;
  TGameBoardControl* board = Board();
  if (!board) return;
  for (size_t i = 0; i < 2 && i < GetCells().size(); ++i) {
    if (TCellWidget* cell = board->CellWidget(GetCells()[i])) cell->SetFlowerOffset(0, 0);
    board->RaiseCell(GetCells()[i], false);
  }
}

}  // namespace qv
