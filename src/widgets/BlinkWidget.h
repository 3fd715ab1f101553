// An image whose transparency follows a curve: up from the start level to
// the peak over the first period, down to the end level over the second,
// then a rest at the start level; "loops_count" limits the blinks and kills
// the widget after the last.
#pragma once

#include "widgets/ImageWidget.h"
#include "widgets/TimedState.h"

namespace qv {

class TBlinkWidget : public TImageWidget {
public:
  // "loops_count" (written when not 0), "loop", "firstperiod",
  // "secondperiod" (default firstperiod), "start_transparentlevel",
  // "peak_transparentlevel", "end_transparentlevel" (default the start
  // level), "startdelaytime", "cycledelaytime", "stoponfirst", written
  // always.
  QV_PROPERTY_TABLE(TBlinkWidget)

  void LoadFromStorage(const StorageRef& storage) override;
  void AdvanceTime(int dt) override;
  void Restart() override;

  bool GetLoop() const { return loop_; }
  void SetLoop(bool value);
  int GetLoopsCount() const { return loopsCount_; }
  int GetState() const { return state_; }
  bool IsActive() const { return active_; }
  // The level of the curve at time t of a blink.
  int LevelAt(int t) const;

protected:
  ~TBlinkWidget() override = default;

private:
  void Finish();

  int loopsCount_ = 0;
  bool loop_ = false;
  int firstPeriod_ = 1;
  int secondPeriod_ = 1;
  int startLevel_ = 0;
  int peakLevel_ = 0;
  int endLevel_ = 0;
  int startDelayTime_ = 0;
  int cycleDelayTime_ = 0;
  bool active_ = true;
  int state_ = kStateStartDelay;
  bool stopOnFirst_ = false;
};

}  // namespace qv
