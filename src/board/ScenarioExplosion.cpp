#include "board/ScenarioExplosion.h"

#include "board/GameBoardControl.h"
#include "game/Scoring.h"
#include "screens/ScreenSupport.h"

namespace qv {

void TScenarioExplosion::BeginStage(int stage) {
  (void)stage;
  TGameBoardControl* board = Board();
  if (!board) return;
  const TWaveStep& wave = board->CurrentWave();
  for (size_t i = 0; i < wave.lines.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    const Ref<TParamCollection> params =
        MakeParams({{"RefCells", CellsToText(wave.lines[i].cells)},
                    {"explosion_num", std::to_string(number)},
                    {"name", std::to_string(wave.chainLevel) + "_" + std::to_string(number)}});
    if (const Ref<IWidget> line = StartChild("scenario_combination_explosion", params.get())) {
      line->SetPropertyValue("explosion_num", number);
      line->SetPropertyValue("currenttime", -kLineStaggerMs * static_cast<int>(i));
    }
  }
  if (wave.lines.empty()) return;
  const TExplosionSound sound = ChooseExplosionSound(wave.chainLevel, static_cast<int>(wave.lines.size()));
  if (!sound.name.empty()) board->PlaySound(sound.name, true, sound.volume, 0);
  board->ShowWaveTexts(wave);
}

}  // namespace qv
