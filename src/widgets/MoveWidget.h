// A surface that travels from a start point to an end point over its
// "timetolive" while its transparency goes from one level to another, then
// dies.
#pragma once

#include "widgets/SurfaceWidget.h"

namespace qv {

class TMoveWidget : public TSurfaceWidget {
public:
  // "start_trans_level", "end_trans_level" (0..255, default 255),
  // "startposx", "startposy", "endposx", "endposy": read, never written.
  QV_PROPERTY_TABLE(TMoveWidget)

  // The anchor at the start point, the transparency at the start level.
  void LoadFromStorage(const StorageRef& storage) override;
  // The base step, then: nothing before the clock starts, death after
  // "timetolive", else the position and the level of the current time.
  void AdvanceTime(int dt) override;

protected:
  ~TMoveWidget() override = default;

  // The anchor at `f` (0..1) of the way.
  virtual void PlaceAt(double f);

  int startLevel_ = 255;
  int endLevel_ = 255;
  int startX_ = 0;
  int startY_ = 0;
  int endX_ = 0;
  int endY_ = 0;
};

}  // namespace qv
