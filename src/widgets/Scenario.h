// The base of the scenarios: a group that animates another widget over its
// own lifetime and then removes itself.
#pragma once

#include "widgets/VisualGroupWidget.h"

namespace qv {

class TScenario : public TVisualGroupWidget {
protected:
  ~TScenario() override = default;
};

}  // namespace qv
