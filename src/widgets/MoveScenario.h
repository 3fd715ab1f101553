// A transparent scenario that also moves its target's anchor along a line.
#pragma once

#include "widgets/TransparentScenario.h"

namespace qv {

class TMoveScenario : public TTransparentScenario {
public:
  // "startposx", "startposy", "endposx", "endposy", always written.
  QV_PROPERTY_TABLE(TMoveScenario)

protected:
  ~TMoveScenario() override = default;

  // The fade, then the anchor at start + (end - start) * t / ttl, unrounded.
  void Step() override;
  // The target put at the end point, then the transparent finish.
  void Finish() override;

  int startX_ = 0;
  int startY_ = 0;
  int endX_ = 0;
  int endY_ = 0;
};

}  // namespace qv
