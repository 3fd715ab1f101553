// Shows its children one at a time, like slides: each for
// "step_duration_time" ticks (or until a click), then the next; past the
// last one it reports code 10 every frame until the screen reacts.
#pragma once

#include "controls/ControlWidget.h"

namespace qv {

class TSequenceControl : public TControlWidget {
public:
  enum : int { ccSequenceEnded = 10 };

  // "step_duration_time", always written.
  QV_PROPERTY_TABLE(TSequenceControl)

  // Every child hidden and paused.
  void LoadFromStorage(const StorageRef& storage) override;
  void AdvanceTime(int dt) override;
  // The base's press, then the next step (any button).
  bool OnMouseDown(TPoint point, unsigned flags, int button) override;

  // Code 10 past the last child; otherwise the child shown and restarted,
  // the clock back at 0.
  void ShowStep(int step);
  int GetCurrentStep() const { return currentStep_; }

protected:
  ~TSequenceControl() override = default;

private:
  int stepDurationTime_ = 0;
  int currentStep_ = -1;
};

}  // namespace qv
