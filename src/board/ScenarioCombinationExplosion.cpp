#include "board/ScenarioCombinationExplosion.h"

#include "board/GameBoardControl.h"

namespace qv {

const TPropertyTable<TScenarioCombinationExplosion>& TScenarioCombinationExplosion::Properties() {
  using W = TScenarioCombinationExplosion;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TZintaraScenario::Properties()).Int("explosion_num", &W::lineNumber_, 1);
  return table;
}

void TScenarioCombinationExplosion::BeginStage(int stage) {
  (void)stage;
  TGameBoardControl* board = Board();
  if (!board) return;
  for (const TCellPos& pos : GetCells())
    if (const TCellExplosion* cell = board->TakeWaveCell(pos))
      board->ShowCellExplosion(*cell, lineNumber_, *this);
}

}  // namespace qv
