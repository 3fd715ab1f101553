#include "board/ScenarioStartLevelFlowerFall.h"

#include <string>

#include "board/GameBoardControl.h"
#include "board/ScenarioHelpers.h"
#include "core/Diagnostics.h"

namespace qv {

const TPropertyTable<TScenarioStartLevelFlowerFall>& TScenarioStartLevelFlowerFall::Properties() {
  using W = TScenarioStartLevelFlowerFall;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TZintaraScenario::Properties()).Int("delay", &W::GetDelay, &W::SetDelay, 0);
  return table;
}

void TScenarioStartLevelFlowerFall::SetDelay(int delay) {
  delay_ = delay;
  SetCurrentTime(-delay);
}

TCellWidget* TScenarioStartLevelFlowerFall::Cell() const {
  TGameBoardControl* board = Board();
  if (!board || GetCells().empty()) return nullptr;
  return board->CellWidget(GetCells().front());
}

void TScenarioStartLevelFlowerFall::BeginStage(int stage) {
  (void)stage;
  TGameBoardControl* board = Board();
  TCellWidget* cell = Cell();
  if (!board || !cell) {
    ReportDataError("scenario " + GetName(), "no cell at \"" + GetRefCells() + "\"");
    return;
  }
  const Ref<IWidget> flower = cell->GetFlowerWidget();
  cell->ShowFlower(false);
  if (!flower) return;
  // The copy sits where the flower is drawn: the cell's place plus the
  // flower's rectangle inside the cell.
  const TRect rect = flower->GetRect();
  const TPoint at = BoardToChildSpace(
      *this, *board,
      {RoundEven(cell->GetAnchorLeft()) + rect.left, RoundEven(cell->GetAnchorTop()) + rect.top});
  const Ref<TParamCollection> params = MakeScenarioParams({{"lifetime", std::to_string(kFlowerFadeTime)},
                                                           {"start_trans_level", "0"},
                                                           {"end_trans_level", "255"},
                                                           {"startposx", std::to_string(at.x)},
                                                           {"startposy", std::to_string(at.y)},
                                                           {"endposx", std::to_string(at.x)},
                                                           {"endposy", std::to_string(at.y)}});
  const Ref<IWidget> copy = CreateWidget("move_Flower", params.get());
  if (!copy) return;
  copy->SetObjectProperty("surface", flower->GetImage());
  InsertWidget(copy);
}

bool TScenarioStartLevelFlowerFall::StageReady(int stage) const {
  (void)stage;
  return GetCurrentTime() >= kFlowerFadeTime;
}

void TScenarioStartLevelFlowerFall::Finished() {
  if (TCellWidget* cell = Cell()) {
    cell->ShowFlower(true);
    cell->ShowLock(true);
  }
}

}  // namespace qv
