// One cell's flower at the level start: after its "delay" the flower is
// hidden and a copy of its picture ("move_Flower") fades in over 200 ms at
// its place; then the cell shows its flower and its lock.
#pragma once

#include "board/ZintaraScenario.h"

namespace qv {

class TCellWidget;

inline constexpr int kFlowerFadeTime = 200;

class TScenarioStartLevelFlowerFall : public TZintaraScenario {
public:
  // "delay" (milliseconds, default 0): the clock starts at -delay.
  QV_PROPERTY_TABLE(TScenarioStartLevelFlowerFall)

  int GetDelay() const { return delay_; }
  void SetDelay(int delay);

protected:
  ~TScenarioStartLevelFlowerFall() override = default;

  void BeginStage(int stage) override;
  bool StageReady(int stage) const override;
  void Finished() override;

private:
  TCellWidget* Cell() const;

  int delay_ = 0;
};

}  // namespace qv
