// A move widget that travels along an arc around a centre, the radius
// changing evenly from the start distance to the end distance.
#pragma once

#include "widgets/MoveWidget.h"

namespace qv {

class TCircularMotionWidget : public TMoveWidget {
public:
  // "centerx", "centery", read like the points and never written.
  QV_PROPERTY_TABLE(TCircularMotionWidget)

protected:
  ~TCircularMotionWidget() override = default;

  // The angle and the radius interpolated; the anchor unrounded.
  void PlaceAt(double f) override;

  int centerX_ = 0;
  int centerY_ = 0;
};

}  // namespace qv
