// A picture or text that flies: after its delay it moves in a straight line
// from ("x1", "y1") to ("x2", "y2") over its "lifetime", its transparency
// going from "start_trans_level" to "end_trans_level", and then removes
// itself. The board's flying points ("move_score") and combination texts
// are made of it.
#pragma once

#include "widgets/VisualGroupWidget.h"

namespace qv {

class TFlyWidget : public TVisualGroupWidget {
public:
  // "x1", "y1", "x2", "y2", "start_trans_level", "end_trans_level",
  // "lifetime" (ms, default 1000) and "delay" (ms before it starts).
  QV_PROPERTY_TABLE(TFlyWidget)

  // Its children wait for the delay too.
  void AdvanceTime(int dt) override;
  // The position and level at a time of its flight (ms after the delay).
  void PlaceAt(int time);

protected:
  ~TFlyWidget() override = default;

private:
  double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  int startLevel_ = 255;
  int endLevel_ = 255;
  int lifetime_ = 1000;
  int delay_ = 0;
  int time_ = 0;
  bool placed_ = false;
};

}  // namespace qv
