#include "widgets/MoveWidget.h"

#include <algorithm>
#include <string>

#include "core/Diagnostics.h"
#include "widgets/LevelKeys.h"

namespace qv {

const TPropertyTable<TMoveWidget>& TMoveWidget::Properties() {
  using W = TMoveWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TSurfaceWidget::Properties())
          .Int(
              "start_trans_level", [](const W& w) { return w.startLevel_; },
              LevelSetter<W>(&W::startLevel_, "start_trans_level"), 255)
          .LoadOnly()
          .Int(
              "end_trans_level", [](const W& w) { return w.endLevel_; },
              LevelSetter<W>(&W::endLevel_, "end_trans_level"), 255)
          .LoadOnly()
          .Int("startposx", &W::startX_)
          .LoadOnly()
          .Int("startposy", &W::startY_)
          .LoadOnly()
          .Int("endposx", &W::endX_)
          .LoadOnly()
          .Int("endposy", &W::endY_)
          .LoadOnly();
  return table;
}

void TMoveWidget::LoadFromStorage(const StorageRef& storage) {
  TSurfaceWidget::LoadFromStorage(storage);
  if (timeToLive_ < 0)
    ReportDataError("widget " + GetName() + "@timetolive",
                    "a move widget needs a timetolive of 0 or more, not " + std::to_string(timeToLive_));
  SetAnchorLeft(startX_);
  SetAnchorTop(startY_);
  SetTransparentLevel(startLevel_);
}

void TMoveWidget::AdvanceTime(int dt) {
  TSurfaceWidget::AdvanceTime(dt);
  if (currentTime_ < 0) return;
  if (currentTime_ > timeToLive_) {
    SetDead(true);
    return;
  }
  // A lifetime of 0 stays at the start until its first positive tick.
  const double f = timeToLive_ > 0 ? static_cast<double>(currentTime_) / timeToLive_ : 0.0;
  PlaceAt(f);
  if (startLevel_ != endLevel_ && timeToLive_ > 0)
    SetTransparentLevel(startLevel_ + currentTime_ * (endLevel_ - startLevel_) / timeToLive_);
}

void TMoveWidget::PlaceAt(double f) {
  SetAnchorLeft(RoundEven((endX_ - startX_) * f) + startX_);
  SetAnchorTop(RoundEven((endY_ - startY_) * f) + startY_);
}

}  // namespace qv
