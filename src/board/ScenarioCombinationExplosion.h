// One line of an explosion wave on screen
// ("scenario_combination_explosion"): each of its cells that has not
// exploded yet in this wave explodes, in list order; the wave waits for the
// bursts and flights it starts.
#pragma once

#include "board/ZintaraScenario.h"

namespace qv {

class TScenarioCombinationExplosion : public TZintaraScenario {
public:
  // "explosion_num": the line's number within the wave (1, 2 ...).
  QV_PROPERTY_TABLE(TScenarioCombinationExplosion)

  int GetLineNumber() const { return lineNumber_; }

protected:
  ~TScenarioCombinationExplosion() override = default;
  void BeginStage(int stage) override;

private:
  int lineNumber_ = 1;
};

}  // namespace qv
