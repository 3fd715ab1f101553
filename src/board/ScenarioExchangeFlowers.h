// The swap of two flowers on screen ("scenario_exchange_Flowers"): both
// flowers travel along the two halves of a circle through their cells'
// centres and land in each other's cell; the rules exchange them when it
// ends. Run again on the same pair it swaps them back.
#pragma once

#include "board/ZintaraScenario.h"

namespace qv {

class TScenarioExchangeFlowers : public TZintaraScenario {
public:
  // "duration" (milliseconds, default 300).
  QV_PROPERTY_TABLE(TScenarioExchangeFlowers)

  int GetDuration() const { return duration_; }

protected:
  ~TScenarioExchangeFlowers() override = default;
  void BeginStage(int stage) override;
  void StageFrame(int stage, int dt) override;
  bool StageReady(int stage) const override;
  void Finished() override;

private:
  // Places both flowers at the fraction f (0..1) of their path.
  void Place(double f);

  int duration_ = 300;
};

}  // namespace qv
