// A scenario that, once its clock has run, pauses itself and fills the root
// of its screen with 100 widgets of the "Butterfly" factory at random places.
#pragma once

#include "widgets/Scenario.h"

namespace qv {

class TTestScenario : public TScenario {
public:
  QV_PROPERTY_TABLE(TTestScenario)

  // The group step; then, once currentTime > 0, the widgets are made.
  void AdvanceTime(int dt) override;

  static constexpr int kWidgetCount = 100;

protected:
  ~TTestScenario() override = default;

private:
  int made_ = 0;  // the running counter of the names
};

}  // namespace qv
