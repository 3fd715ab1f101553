#include "widgets/CircularMotionWidget.h"

#include <cmath>
#include <numbers>

namespace qv {

const TPropertyTable<TCircularMotionWidget>& TCircularMotionWidget::Properties() {
  using W = TCircularMotionWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TMoveWidget::Properties())
                                             .Int("centerx", &W::centerX_)
                                             .LoadOnly()
                                             .Int("centery", &W::centerY_)
                                             .LoadOnly();
  return table;
}

void TCircularMotionWidget::PlaceAt(double f) {
  constexpr double pi = std::numbers::pi;
  const double x0 = startX_ - centerX_, y0 = startY_ - centerY_;
  const double x1 = endX_ - centerX_, y1 = endY_ - centerY_;
  double a0 = std::atan2(y0, x0);
  double a1 = std::atan2(y1, x1);
  const double r0 = std::hypot(x0, y0);
  const double r1 = std::hypot(x1, y1);
  // Angles on both sides of the x axis: a start beyond a right angle takes
  // the arc past the negative x axis.
  if ((a0 > 0 && a1 < 0) || (a0 < 0 && a1 > 0)) {
    if (a0 > pi / 2) a1 += 2 * pi;
    if (a0 < -pi / 2) a0 += 2 * pi;
  }
  const double a = a0 + (a1 - a0) * f;
  const double r = r0 + (r1 - r0) * f;
  SetAnchorLeft(r * std::cos(a) + centerX_);
  SetAnchorTop(r * std::sin(a) + centerY_);
}

}  // namespace qv
