// One explosion wave on screen ("scenario_explosion"): one combination
// explosion per line of the wave, the first at once and each further one
// 150 ms after the one before; the explosion sound of the chain level and
// the combination texts. It ends when all it started has ended.
#pragma once

#include "board/ZintaraScenario.h"

namespace qv {

// The stagger between the lines of one wave, milliseconds.
inline constexpr int kLineStaggerMs = 150;

class TScenarioExplosion : public TZintaraScenario {
protected:
  ~TScenarioExplosion() override = default;
  void BeginStage(int stage) override;
};

}  // namespace qv
