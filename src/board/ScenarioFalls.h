// The falls on screen ("scenario_falls"): falling flowers travel in a
// straight line to their new cells at 4 ms per pixel, starting at once;
// new flowers wait their turn, take their colour when they start to move
// and drop in from one row above their group. It ends when the last flower
// has arrived.
#pragma once

#include <vector>

#include "board/ZintaraScenario.h"

namespace qv {

class TScenarioFalls : public TZintaraScenario {
protected:
  ~TScenarioFalls() override = default;
  void BeginStage(int stage) override;
  void StageFrame(int stage, int dt) override;
  bool StageReady(int stage) const override;
  void Finished() override;

private:
  void Place(int time);

  std::vector<bool> started_;
  int duration_ = 0;
};

}  // namespace qv
