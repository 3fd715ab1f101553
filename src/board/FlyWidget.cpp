#include "board/FlyWidget.h"

#include <algorithm>

namespace qv {

const TPropertyTable<TFlyWidget>& TFlyWidget::Properties() {
  using W = TFlyWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TVisualGroupWidget::Properties())
                                             .Float("x1", &W::x1_)
                                             .Float("y1", &W::y1_)
                                             .Float("x2", &W::x2_)
                                             .Float("y2", &W::y2_)
                                             .Int("start_trans_level", &W::startLevel_, 255)
                                             .Int("end_trans_level", &W::endLevel_, 255)
                                             .Int("lifetime", &W::lifetime_, 1000)
                                             .Int("delay", &W::delay_, 0);
  return table;
}

void TFlyWidget::PlaceAt(int time) {
  const double f = lifetime_ > 0 ? std::clamp(static_cast<double>(time) / lifetime_, 0.0, 1.0) : 1.0;
  SetAnchorLeft(x1_ + (x2_ - x1_) * f);
  SetAnchorTop(y1_ + (y2_ - y1_) * f);
  SetTransparentLevel(std::clamp(static_cast<int>(startLevel_ + (endLevel_ - startLevel_) * f), 0, 255));
}

void TFlyWidget::AdvanceTime(int dt) {
  // The widget's own clock always; its children's only once the delay has
  // passed, so an animation inside starts with the flight.
  TVisualWidget::AdvanceTime(dt);
  if (!placed_) {
    placed_ = true;
    PlaceAt(0);
    time_ = -delay_;
    SetVisible(delay_ <= 0);
  }
  const int before = time_;
  time_ += dt;
  if (time_ < 0) return;
  AdvanceChildren(before < 0 ? time_ : dt);
  SetVisible(true);
  PlaceAt(time_);
  if (time_ >= lifetime_) SetDead(true);
}

}  // namespace qv
